/*
 * zetutil: the toolkit's utility library.
 *
 * Plain C interface. Strings are NUL-terminated byte strings owned by the
 * caller; functions that change a string rewrite the caller's buffer in
 * place. Path buffers are 256 bytes (255 characters and the NUL). Handles
 * are pointers to records that the library allocates and frees; no C++
 * exception crosses this interface.
 *
 * On 64-bit systems pointers are 8 bytes, so records that hold pointers are
 * larger than on 32-bit Windows; 32-bit values keep their fixed width.
 */
#ifndef ZETUTIL_H
#define ZETUTIL_H

#include <stddef.h>
#include <stdint.h>

#include "zet_call.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Strings -------------------------------------------------------- */

/* A blank is a control character or a space (bytes 0..32); every other byte,
 * including 128..255 (UTF-8 text), is text. */
ZET_EXPORT char* ZET_CALL Trim(char* text);
ZET_EXPORT char* ZET_CALL TrimL(char* text);
ZET_EXPORT char* ZET_CALL TrimAscii(char* text);
ZET_EXPORT int32_t ZET_CALL RemoveQuotes(char* text);
/* `out` must hold at least as many bytes as `line`. An item ends at a blank;
 * the blanks behind it and one comma after them are a separator, part of
 * neither the item nor the rest. */
ZET_EXPORT char* ZET_CALL GetAndRemoveFirst(char* out, char* line);
ZET_EXPORT char* ZET_CALL GetAndRemoveFirstQuoted(char* out, char* line);
ZET_EXPORT char* ZET_CALL findchar(const char* text, uint8_t byte);
ZET_EXPORT char* ZET_CALL U32toa(char* buffer, uint32_t value);
ZET_EXPORT uint32_t ZET_CALL atoU32(const char* text);
/* `buffer` holds at least 27 bytes. */
ZET_EXPORT char* ZET_CALL CommaNum(char* buffer, uint64_t value);
/* `buffer` holds at least 64 bytes. */
ZET_EXPORT char* ZET_CALL GetElapsedTime(char* buffer, uint32_t milliseconds);
ZET_EXPORT void ZET_CALL GCDNums(int32_t* numerator, int32_t* denominator);
ZET_EXPORT const char* ZET_CALL atofr(const char* text, int32_t* numerator, int32_t* denominator);
ZET_EXPORT int32_t ZET_CALL MakeFrameRate(int32_t value);

/* ---- Command-line switches ------------------------------------------ */

/* The switch character is compared without regard to ASCII case. */
ZET_EXPORT int32_t ZET_CALL GetSwitch(char* commandLine, uint8_t character);
ZET_EXPORT int32_t ZET_CALL GetSwitchNum(char* commandLine, uint8_t character, int32_t defaultValue);
ZET_EXPORT void ZET_CALL GetSwitchFractional(char* commandLine, uint8_t character, int32_t* numerator,
                                             int32_t* denominator, int32_t defaultNumerator,
                                             int32_t defaultDenominator);
/* `out` is a 256-byte buffer. A value of 256 bytes or more is refused: the
 * switch counts as absent (default copied, 0 returned, line unchanged). */
ZET_EXPORT int32_t ZET_CALL GetSwitchStr(char* commandLine, uint8_t character, char* out,
                                         const char* defaultValue);
ZET_EXPORT char* ZET_CALL RemoveMinusSwitches(char* commandLine);

/* ---- File names ------------------------------------------------------ */

/* Both '/' and '\' separate folders; a separator that is added is '/'.
 * `path` is a 256-byte buffer; a full one gets nothing appended. */
ZET_EXPORT char* ZET_CALL AddBackslash(char* path);
ZET_EXPORT char* ZET_CALL HasExtension(const char* name);
/* `name` is a 256-byte buffer; it is left unchanged when the full path does not fit. */
ZET_EXPORT void ZET_CALL ExpandFileName(char* name);
ZET_EXPORT uint8_t ZET_CALL GetDrive(char* name);
/* `name` is a 256-byte buffer, rewritten as the full path without a trailing
 * separator; when that does not fit it stays as it was and the answer is 0. */
ZET_EXPORT int32_t ZET_CALL IsDirectory(char* name, int32_t stay);
/* `path` is a 256-byte buffer; it stays trimmed when the result does not fit. */
ZET_EXPORT void ZET_CALL GetFilePieces(char* path, uint8_t drive, uint8_t directory, uint8_t name,
                                       uint8_t extension);
/* `out` is a 256-byte buffer; it is left empty when the directory and the
 * 12-byte name do not fit 255 bytes. A prefix longer than 8 bytes is cut to 8. */
ZET_EXPORT char* ZET_CALL GetTempName(char* out, const char* directory, const char* prefix, uint32_t number);
/* Names are the same when their full paths are equal byte for byte, or when
 * both lead to one existing file (hard or symbolic links). */
ZET_EXPORT int32_t ZET_CALL CheckForDup(const char* inputName, const char* outputName);
/* Asks whenever a directory entry of that name exists, readable or not. */
ZET_EXPORT int32_t ZET_CALL overwrite(const char* name, int32_t useDialog);
ZET_EXPORT uint64_t ZET_CALL zetfilesize(const char* name);

/* ---- Memory, messages and time --------------------------------------- */

ZET_EXPORT void* ZET_CALL zetmalloc(uint32_t bytes);
ZET_EXPORT void ZET_CALL zetfree(void* block);
ZET_EXPORT intptr_t ZET_CALL CopyData(void* window, uintptr_t sender, uintptr_t dataValue, uint32_t byteCount,
                                      const void* data);
ZET_EXPORT uint32_t ZET_CALL ZetTimerRead(void);

/* ---- Buffered bit file ------------------------------------------------ */

/* Bit fields are packed least significant bit first; words are little-endian.
 * A null handle reads and writes nothing, its position and size are 0 and it
 * is at its end. Names longer than 127 bytes are refused (open and create
 * return null); ZetFileGetName's `out` holds 128 bytes. After a move the
 * system refuses, ZetFileGetPos returns all ones and the handle reads and
 * writes nothing until a later ZetFileSetPos succeeds. */
typedef struct ZetFileRecord* ZetFile;

#define ZET_FILE_READ 250
#define ZET_FILE_READ_WRITE 251

ZET_EXPORT ZetFile ZET_CALL ZetFileOpen(int32_t bufferSize, const char* name, uint32_t mode);
ZET_EXPORT ZetFile ZET_CALL ZetFileCreate(int32_t bufferSize, const char* name);
ZET_EXPORT ZetFile ZET_CALL ZetFileCreateWithRead(int32_t bufferSize, const char* name);
ZET_EXPORT void ZET_CALL ZetFileClose(ZetFile file);
ZET_EXPORT void ZET_CALL ZetFileFlush(ZetFile file, int32_t hard);
ZET_EXPORT char* ZET_CALL ZetFileGetName(ZetFile file, char* out);

ZET_EXPORT uint32_t ZET_CALL ZetFileGetNB(ZetFile file, void* destination, uint32_t count);
ZET_EXPORT uint32_t ZET_CALL ZetFileGet(ZetFile file, void* destination, uint32_t count);
ZET_EXPORT uint8_t ZET_CALL ZetFileGet8(ZetFile file);
ZET_EXPORT uint16_t ZET_CALL ZetFileGet16(ZetFile file);
ZET_EXPORT uint32_t ZET_CALL ZetFileGet32(ZetFile file);
ZET_EXPORT uint32_t ZET_CALL ZetFileGetBits(ZetFile file, uint32_t bitCount);
ZET_EXPORT char* ZET_CALL ZetFileGetLine(ZetFile file, char* buffer, uint32_t size);

ZET_EXPORT uint32_t ZET_CALL ZetFilePutNB(ZetFile file, const void* source, uint32_t count);
ZET_EXPORT uint32_t ZET_CALL ZetFilePut(ZetFile file, const void* source, uint32_t count);
ZET_EXPORT uint8_t ZET_CALL ZetFilePut8(ZetFile file, uint8_t value);
ZET_EXPORT uint16_t ZET_CALL ZetFilePut16(ZetFile file, uint16_t value);
ZET_EXPORT uint32_t ZET_CALL ZetFilePut32(ZetFile file, uint32_t value);
ZET_EXPORT uint32_t ZET_CALL ZetFilePutBits(ZetFile file, uint32_t value, uint32_t bitCount);

ZET_EXPORT uint64_t ZET_CALL ZetFileGetPos(ZetFile file);
ZET_EXPORT uint64_t ZET_CALL ZetFileSetPos(ZetFile file, uint32_t positionLow, uint32_t positionHigh);
ZET_EXPORT uint32_t ZET_CALL ZetFileBitPos(ZetFile file);
ZET_EXPORT void ZET_CALL ZetFileByteAlign(ZetFile file);
ZET_EXPORT void ZET_CALL ZetFileAlign(ZetFile file, uint32_t alignment);
ZET_EXPORT uint64_t ZET_CALL ZetFileSize(ZetFile file);
ZET_EXPORT int32_t ZET_CALL ZetFileAtEnd(ZetFile file);
ZET_EXPORT int32_t ZET_CALL ZetFileIsInBuffer(ZetFile file, uint32_t positionLow, uint32_t positionHigh);

ZET_EXPORT uint32_t ZET_CALL ZetFileGetTime(ZetFile file);
ZET_EXPORT void ZET_CALL ZetFileSetTime(ZetFile file, uint32_t stamp);
ZET_EXPORT int32_t ZET_CALL ZetFileErase(const char* name);
ZET_EXPORT int32_t ZET_CALL ZetFileRename(const char* newName, const char* existingName);

/* ---- Log ---------------------------------------------------------------- */

ZET_EXPORT void ZET_CALL LogString(const char* fileName, const char* text);

/* ---- Colour conversion ------------------------------------------------ */

/* A 4:2:0 picture in memory: the Y plane of `pitch` x `rows` bytes, then the
 * Cr plane and the Cb plane, each (`pitch` / 2) x (`rows` / 2) bytes. The
 * blits copy the rectangle (src_x, src_y, src_w, src_h) of it, cut to the
 * picture, to the 32-bit bitmap whose pixel (x, y) is at
 * dest + y * dest_pitch + x * 4 (a negative pitch is a bottom-up bitmap).
 * Pixels are the bytes B, G, R, 0, or B, G, R, A with A from `alpha` (a
 * plane like Y). Flags: 0x00010000 older colour layout (red and blue
 * exchanged), 0x00020000 grey picture (chroma ignored), 0x00040000 only the
 * plain converter, bits 28..30 the scale mode 0..6. The tables are shared
 * and never change, so blits may run on several threads at once. */
ZET_EXPORT void ZET_CALL YUV_init(int32_t format);
ZET_EXPORT void ZET_CALL YUV_blit_32bpp(void* dest, int32_t x, int32_t y, int32_t dest_pitch, const void* planes,
                                        int32_t src_x, int32_t src_y, int32_t src_w, int32_t src_h, int32_t pitch,
                                        int32_t rows, uint32_t flags);
ZET_EXPORT void ZET_CALL YUV_blit_32abpp(void* dest, int32_t x, int32_t y, int32_t dest_pitch, const void* planes,
                                         int32_t src_x, int32_t src_y, int32_t src_w, int32_t src_h, int32_t pitch,
                                         int32_t rows, const void* alpha, uint32_t flags);

#ifdef __cplusplus
}
#endif

#endif
