// The house video reader: opens a movie, pulls its frame packets through the
// byte source, decodes their video into frame sets and copies the decoded
// picture into callers' bitmaps. Media input and sound input are its callers;
// it is not exported.
//
// Everything read from the file is checked at open: a reader that opened has
// a header, track tables and frame index that describe bytes the file holds,
// and every later step trusts only those checked values.
#pragma once

#include <cstdint>

#include "byte_source.h"
#include "movra_format.h"
#include "movra_header.h"
#include "plane_decoder.h"
#include "platform/file.h"

namespace zet {

inline constexpr std::uint32_t kMaxSelectedTracks = 8;

struct MovraReader {
  std::uint32_t display_width = 0;
  std::uint32_t display_height = 0;
  std::uint32_t frames = 0;
  std::uint32_t current_frame = 0;  // 1-based: the frame whose packet is loaded
  std::uint32_t decoded_frame = 0;  // the frame last decoded; 0 for none
  std::uint32_t rate_num = 0;
  std::uint32_t rate_div = 0;
  std::uint32_t failed = 0;  // a packet read came back short: decoding has stopped
  std::uint32_t flags = 0;
  std::uint32_t video_flags = 0;
  std::uint32_t file_size = 0;
  std::uint32_t tracks = 0;
  std::uint32_t* track_buffer_size = nullptr;
  std::uint32_t* track_format = nullptr;
  std::uint32_t* track_id = nullptr;
  std::uint32_t* frame_offsets = nullptr;  // frames + 1 checked entries are used
  std::uint32_t largest_frame_size = 0;    // as the header states it
  std::uint32_t peak_second_bytes = 0;
  std::uint32_t coded_width = 0;
  std::uint32_t coded_height = 0;
  std::uint32_t luma_pitch = 0;
  std::uint32_t luma_rows = 0;
  std::uint32_t chroma_pitch = 0;
  std::uint32_t chroma_rows = 0;

  std::uint8_t* frame_buffer = nullptr;  // the packet of current_frame
  std::uint32_t frame_bytes = 0;         // its size
  std::uint32_t largest_packet = 0;      // from the index: the frame buffer's size
  std::uint8_t* preloaded = nullptr;     // the whole frame area, when read at open
  std::uint8_t* planes[2] = {};          // two frame sets: Y, then Cr, then Cb
  std::uint8_t* alpha_planes[2] = {};    // only when alpha is decoded
  std::uint32_t current_set = 0;         // the set holding the last decoded picture
  std::uint32_t video_enabled = 1;

  MovraSource source;
  PlaneValueBuffers bundle_buffers;
  MovraHeader header;

  std::uint32_t selected_tracks = 0;
  std::uint32_t selected_track_ids[kMaxSelectedTracks] = {};

  // The reader record is carved from the first of these blocks.
  void* record_block = nullptr;
  void* frame_set_block = nullptr;
  void* data_block = nullptr;  // read-ahead ring and frame buffer, or the preload image
};

// Remembers up to kMaxSelectedTracks track identifiers (more are ignored)
// for the next open on this thread that takes them (kOpenTakeTrackSelection).
void MovraReaderSelectTracks(std::uint32_t count, const std::uint32_t* ids);

// Null on failure, with the reason in MovraReaderLastError().
MovraReader* MovraReaderOpen(const char* name, std::uint32_t flags);
// The movie starts `baseOffset` bytes into the open file `handle` (a movie
// inside another file). The handle stays the caller's.
MovraReader* MovraReaderOpenHandle(platform::FileHandle handle, std::uint64_t baseOffset, std::uint32_t flags);

// 0, or 1 when the frame cannot be decoded: the reader failed for good after
// a short read, or this frame's data is damaged (the previous picture stays).
std::uint32_t MovraReaderDecode(MovraReader* reader);
void MovraReaderNext(MovraReader* reader);
void MovraReaderSeek(MovraReader* reader, std::uint32_t frame, std::uint32_t flags);

// Copies the decoded picture to a 32-bit bitmap of `destRows` rows, `pitch`
// bytes apart (negative: bottom-up). A picture that does not fit the bitmap
// at (x, y) copies nothing.
void MovraReaderBlit(MovraReader* reader, void* dest, std::int32_t pitch, std::uint32_t destRows, std::uint32_t x,
                     std::uint32_t y, std::uint32_t flags);
void MovraReaderBlitRect(MovraReader* reader, void* dest, std::int32_t pitch, std::uint32_t destRows, std::uint32_t x,
                         std::uint32_t y, std::uint32_t srcX, std::uint32_t srcY, std::uint32_t srcW,
                         std::uint32_t srcH, std::uint32_t flags);

// Entry i of the track tables; 0 for a null reader or i >= tracks.
std::uint32_t MovraReaderTrackFormat(const MovraReader* reader, std::uint32_t i);
std::uint32_t MovraReaderTrackId(const MovraReader* reader, std::uint32_t i);

void MovraReaderSetVideo(MovraReader* reader, std::uint32_t on);
void MovraReaderClose(MovraReader* reader);

}  // namespace zet
