/* Calling convention and visibility of the toolkit's exported C interface. */
#ifndef ZET_CALL_H
#define ZET_CALL_H

#if defined(_WIN32) && !defined(_WIN64)
#define ZET_CALL __stdcall
#else
#define ZET_CALL
#endif

#if defined(_WIN32)
#define ZET_EXPORT __declspec(dllexport)
#else
#define ZET_EXPORT __attribute__((visibility("default")))
#endif

#endif
