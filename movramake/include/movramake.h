/*
 * movramake: compresses 32-bit pictures and PCM sound into house video files.
 *
 * Plain C interface; no C++ exception crosses it. This library has its own
 * allocator, which supports caller hooks, and its own millisecond clock: a
 * block from this library's zetmalloc is only ever freed by its zetfree.
 *
 * On 64-bit systems pointers are 8 bytes, so records that hold pointers
 * (MovraMakeTrack) are larger than on 32-bit Windows; 32-bit values keep
 * their fixed width.
 */
#ifndef MOVRAMAKE_H
#define MOVRAMAKE_H

#include <stdint.h>

#include "zet_call.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Encoder ------------------------------------------------------------ */

/* The head of an encoder handle. A status callback may read these fields
 * through its subject argument; the rest of the record is private. */
typedef struct MovraMakeHandleHead {
  uint32_t failed;         /* 1 once a frame failed or the output was short-written */
  uint32_t frame_count;    /* frames announced to MovraMake */
  uint32_t frames_written; /* frames already in the file */
  uint32_t bytes_written;  /* current size of the output, updated after each frame */
  int32_t status_frame;    /* frame of the current "Compressing" report, or -1 */
} MovraMakeHandleHead;

typedef MovraMakeHandleHead* MovraMakeHandle;

/* Status callback. kind 1: progress; `subject` is the handle (or, for
 * MovraMix, its progress record) and a non-zero result asks the encoder to
 * stop after the frame in progress. kind 2: an error text; the result is
 * ignored. */
typedef int32_t(ZET_CALL* MovraMakeStatus)(uint32_t kind, void* subject, const char* text);

/* Sound callback: stores up to `bytes` bytes of 16-bit little-endian PCM,
 * interleaved by channel, and returns the count stored. Fewer bytes than
 * asked end the track's sound. */
typedef uint32_t(ZET_CALL* MovraMakeSoundCallback)(void* subject, uint32_t user_value, void* buffer,
                                                    uint32_t bytes);

/* One sound track (28 bytes on 32-bit systems). */
typedef struct MovraMakeTrack {
  uint32_t track_id;
  uint32_t sample_rate;   /* Hz */
  uint32_t bits;          /* 8 or 16: the format the file announces */
  uint32_t channels;      /* 1 or 2 */
  uint32_t codec_quality; /* below 100: DCT-based coding, else FFT-based; modulo 100: quality */
  uint32_t user_value;    /* passed back to the callback */
  MovraMakeSoundCallback callback;
} MovraMakeTrack;

/* Creates `name` (written as `name`.tmp and renamed at a successful close).
 * picture_code: modulo 100 the scale mode; a hundreds digit selects grey
 * video, code / 1000 an alpha plane. window: frames of look-ahead, clamped
 * to 2..64. Null on failure, after a kind-2 report. */
ZET_EXPORT MovraMakeHandle ZET_CALL MovraMake(const char* name, int32_t pitch, uint32_t width,
                                              uint32_t height, uint32_t frame_count,
                                              uint32_t key_interval, uint32_t picture_code,
                                              uint32_t rate_dividend, uint32_t rate_divider,
                                              uint32_t track_count, MovraMakeTrack* tracks,
                                              uint32_t window, MovraMakeStatus status);

/* Hands over the next picture (width x height pixels B, G, R, A, rows
 * `pitch` bytes apart) with its target and maximum bytes and a key-frame
 * request. */
ZET_EXPORT void ZET_CALL MovraMakePutVideo(MovraMakeHandle handle, uint32_t target_bytes,
                                           uint32_t maximum_bytes, uint32_t key_request,
                                           const void* pixels);

/* Makes the file written so far playable and forces it to disk; may be
 * called from another thread. 1 done, 0 when the file was busy. */
ZET_EXPORT int32_t ZET_CALL MovraMakeFlush(MovraMakeHandle handle);

/* Finishes the file (or discards it when `abort` is non-zero or the encode
 * failed) and frees the handle. The size of the file kept, or 0. */
ZET_EXPORT uint64_t ZET_CALL MovraMakeClose(MovraMakeHandle handle, uint32_t abort);

/* Process-wide processor count for the analysis threads: 1..32 sets it,
 * anything else only reads it. Returns the previous count. A C call also on
 * 32-bit Windows. */
ZET_EXPORT uint32_t MovraMakeSetMaxCPUs(uint32_t count);

/* ---- Mixing sound into existing files ---------------------------------- */

/* The subject of MovraMix's status reports and the first argument of its
 * sound callbacks. */
typedef struct MovraMixProgress {
  uint32_t frame;           /* frame being copied */
  uint32_t output_bytes;    /* output written so far (low 32 bits) */
  uint32_t input_size;      /* size of the input file (low 32 bits) */
  uint32_t width;
  uint32_t height;
  void* coded_tracks;       /* the tracks coded anew (private records), or null */
  uint32_t frames;
  uint32_t rate_dividend;
  uint32_t rate_divider;
} MovraMixProgress;

/* Rewrites `input` (the movie starting `offset` bytes into it) as `output`
 * (which may be the same name): each descriptor whose track_id matches an
 * input track replaces it (or removes it, with a null callback), the others
 * become new tracks; video and untouched tracks are copied. The frame rate
 * pair replaces the input's when both are non-zero. delay: 0 none, negative
 * -delay milliseconds, positive delay - 1 frames of silence before the new
 * sound. The sample_rate of every matched descriptor is set to 0. Returns
 * the size of the file written, or 0 when nothing was written or it was
 * discarded (stop request, failure). */
ZET_EXPORT uint32_t ZET_CALL MovraMix(const char* input, const char* output, uint32_t offset,
                                      uint32_t rate_dividend, uint32_t rate_divider, int32_t delay,
                                      uint32_t track_count, MovraMakeTrack* tracks, MovraMakeStatus status);

/* ---- Memory and clock ----------------------------------------------------- */

/* Allocation hook: returns a block of `bytes`, null to fall back to the
 * built-in heap, or ZET_MEMORY_FAIL to make the allocation fail. */
typedef void*(ZET_CALL* ZetAllocateHook)(uint32_t bytes);
typedef void(ZET_CALL* ZetReleaseHook)(void* block);

#define ZET_MEMORY_FAIL ((void*)~(uintptr_t)0)

/* A null allocation hook restores the built-in heap. Whenever an allocation
 * hook is set the release hook must be set too: every hook block remembers
 * the release hook that was installed when it was made. */
ZET_EXPORT void ZET_CALL ZetSetMemory(ZetAllocateHook allocate, ZetReleaseHook release);
ZET_EXPORT uint32_t ZET_CALL ZetTimerRead(void);
ZET_EXPORT void* ZET_CALL zetmalloc(uint32_t bytes);
ZET_EXPORT void ZET_CALL zetfree(void* block);

#ifdef __cplusplus
}
#endif

#endif
