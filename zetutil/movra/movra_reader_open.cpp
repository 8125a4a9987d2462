// Opening and closing a house video reader.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "allocation_planner.h"
#include "frame_index.h"
#include "frame_packet_loader.h"
#include "little_endian.h"
#include "movra_reader.h"
#include "picture_geometry.h"
#include "reader_last_error.h"

namespace zet {
namespace {

// The selection belongs to the thread that made it, like the last error.
thread_local std::uint32_t selectedCount = 0;
thread_local std::uint32_t selectedIds[kMaxSelectedTracks] = {};

struct ReaderDeleter {
  void operator()(MovraReader* reader) const { MovraReaderClose(reader); }
};
using ReaderHolder = std::unique_ptr<MovraReader, ReaderDeleter>;

MovraReader* refuse(const char* reason) {
  setReaderLastError(reason);
  return nullptr;
}

// What the header says must be possible before anything is sized from it.
bool headerIsSound(const MovraHeader& header, std::uint64_t movieBytes) {
  const bool sideOk = header.width >= 1 && header.width <= kMovraLargestSide && header.height >= 1 &&
                      header.height <= kMovraLargestSide;
  return sideOk && header.frames <= header.index_frames && header.rate_num != 0 && header.rate_div != 0 &&
         movraIndexEnd(header) <= movieBytes;
}

std::uint32_t mergedFlags(std::uint32_t openFlags, const MovraHeader& header, std::uint32_t versionFlags) {
  std::uint32_t scaleMode = (openFlags & kScaleModeMask) >> kScaleModeShift;
  if (scaleMode == 0) scaleMode = (header.video_flags & kScaleModeMask) >> kScaleModeShift;
  if (scaleMode == kScaleModeNone) scaleMode = 0;
  std::uint32_t flags = (openFlags & ~kScaleModeMask) | (header.video_flags & kVideoGrey) |
                        scaleMode << kScaleModeShift | versionFlags;
  if (!(header.video_flags & kVideoAlpha)) flags &= ~kOpenDecodeAlpha;
  return flags;
}

void takeTrackSelection(MovraReader& reader, std::uint32_t flags) {
  if (!(flags & kOpenTakeTrackSelection)) {
    selectedCount = 1;
    selectedIds[0] = 0;
  }
  reader.selected_tracks = selectedCount;
  std::memcpy(reader.selected_track_ids, selectedIds, sizeof selectedIds);
}

void fixByteOrder(std::uint32_t* values, std::uint64_t count) {
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint8_t bytes[4];
    std::memcpy(bytes, &values[i], 4);
    values[i] = readLittleEndian32(bytes);
  }
}

bool readTable(MovraSource& source, std::uint32_t* table, std::uint64_t entries) {
  if (source.readHeader(MovraSource::kContinue, table, entries * 4) != entries * 4) return false;
  fixByteOrder(table, entries);
  return true;
}

// Block (a): the record, the plane decoder's value buffers, the track tables
// and the index. The record is built in place; the source moves into it.
MovraReader* allocateRecord(const MovraHeader& header, std::uint32_t lumaPitch) {
  AllocationPlan plan;
  const std::uint64_t record = plan.reserve(sizeof(MovraReader));
  const std::uint64_t valueBuffers = plan.reserve(planeValueBuffersBytes(lumaPitch));
  const std::uint64_t tableBytes = std::uint64_t{header.tracks} * 4;
  const std::uint64_t bufferSizes = plan.reserve(tableBytes);
  const std::uint64_t formats = plan.reserve(tableBytes);
  const std::uint64_t ids = plan.reserve(tableBytes);
  const std::uint64_t index = plan.reserve((std::uint64_t{header.index_frames} + 1) * 4);
  auto* block = static_cast<std::uint8_t*>(plan.allocate());
  if (!block) return nullptr;
  auto* reader = new (block + record) MovraReader;
  reader->record_block = block;
  reader->bundle_buffers = {block + valueBuffers, lumaPitch};
  reader->track_buffer_size = reinterpret_cast<std::uint32_t*>(block + bufferSizes);
  reader->track_format = reinterpret_cast<std::uint32_t*>(block + formats);
  reader->track_id = reinterpret_cast<std::uint32_t*>(block + ids);
  reader->frame_offsets = reinterpret_cast<std::uint32_t*>(block + index);
  return reader;
}

// Block (b): two frame sets, so that a frame that fails half-way never
// touches the picture on show, and two alpha planes when alpha is decoded.
bool allocateFrameSets(MovraReader& reader, const PictureGeometry& geometry) {
  const bool alpha = (reader.flags & kOpenDecodeAlpha) != 0;
  AllocationPlan plan;
  std::uint64_t sets[2];
  std::uint64_t alphaPlanes[2] = {};
  for (std::uint64_t& set : sets) set = plan.reserve(geometry.frameSetBytes());
  if (alpha) {
    for (std::uint64_t& plane : alphaPlanes) plane = plan.reserve(geometry.lumaBytes());
  }
  auto* block = static_cast<std::uint8_t*>(plan.allocate());
  if (!block) return false;
  reader.frame_set_block = block;
  for (int i = 0; i < 2; ++i) {
    reader.planes[i] = block + sets[i];
    if (alpha) reader.alpha_planes[i] = block + alphaPlanes[i];
  }
  return true;
}

// Block (c): the read-ahead ring with the frame buffer behind it. Without
// room for the ring the reader still works, reading every packet straight
// from the file.
bool allocateReadAhead(MovraReader& reader, std::uint64_t ringBytes, std::uint32_t movieEnd) {
  for (std::uint64_t ring : {ringBytes, std::uint64_t{0}}) {
    AllocationPlan plan;
    const std::uint64_t ringOffset = plan.reserve(ring);
    const std::uint64_t frameOffset = plan.reserve(reader.largest_packet);
    auto* block = static_cast<std::uint8_t*>(plan.allocate());
    if (!block) continue;
    reader.data_block = block;
    reader.frame_buffer = block + frameOffset;
    reader.source.setBuffer(ring > 0 ? block + ringOffset : nullptr, ring, movieEnd);
    return true;
  }
  return false;
}

// Reads every packet into memory at once; the source is not needed after.
const char* preload(MovraReader& reader, std::uint32_t movieStart, std::uint32_t movieEnd) {
  AllocationPlan plan;
  const std::uint64_t imageOffset = plan.reserve(movieEnd - movieStart);
  auto* block = static_cast<std::uint8_t*>(plan.allocate());
  if (!block) return kOutOfMemory;
  reader.data_block = block;
  reader.preloaded = block + imageOffset;
  reader.flags |= kReaderPreloaded;
  reader.source.setBuffer(nullptr, 0, movieEnd);
  const std::uint32_t bytes = movieEnd - movieStart;
  const bool complete = reader.source.readFrame(movieStart, reader.preloaded, bytes) == bytes;
  reader.source.close();
  return complete ? nullptr : kErrorOpeningFile;
}

MovraReader* openMovie(MovraSource& source, std::uint32_t flags) {
  std::uint8_t headerBytes[kMovraHeaderBytes];
  if (source.readHeader(0, headerBytes, kMovraHeaderBytes) != kMovraHeaderBytes) return refuse(kNotAMovraFile);
  const MovraHeader header = parseMovraHeader(headerBytes);
  const std::optional<std::uint32_t> versionFlags = movraVersionFlags(header.magic);
  if (!versionFlags) return refuse(kNotAMovraFile);
  if (header.frames == 0) return refuse(kNoFramesYet);
  const std::optional<std::uint64_t> movieBytes = source.movieBytes();
  if (!movieBytes) return refuse(kErrorOpeningFile);
  if (!headerIsSound(header, *movieBytes)) return refuse(kNotAMovraFile);

  const std::uint32_t merged = mergedFlags(flags, header, *versionFlags);
  const PictureGeometry geometry =
      pictureGeometry(header.width, header.height, (merged & kScaleModeMask) >> kScaleModeShift);

  ReaderHolder reader(allocateRecord(header, geometry.luma_pitch));
  if (!reader) return refuse(kOutOfMemory);
  reader->source = std::move(source);
  reader->header = header;
  reader->flags = merged;
  reader->video_flags = header.video_flags;
  reader->file_size = header.file_size;
  reader->frames = header.frames;
  reader->rate_num = header.rate_num;
  reader->rate_div = header.rate_div;
  reader->tracks = header.tracks;
  reader->largest_frame_size = header.largest_frame_size;
  reader->coded_width = geometry.coded_width;
  reader->coded_height = geometry.coded_height;
  reader->luma_pitch = geometry.luma_pitch;
  reader->luma_rows = geometry.luma_rows;
  reader->chroma_pitch = geometry.chroma_pitch;
  reader->chroma_rows = geometry.chroma_rows;
  reader->display_width = geometry.display_width;
  reader->display_height = geometry.display_height;
  takeTrackSelection(*reader, flags);

  MovraSource& file = reader->source;
  const bool tablesRead = readTable(file, reader->track_buffer_size, header.tracks) &&
                          readTable(file, reader->track_format, header.tracks) &&
                          readTable(file, reader->track_id, header.tracks) &&
                          readTable(file, reader->frame_offsets, std::uint64_t{header.index_frames} + 1);
  if (!tablesRead) return refuse(kErrorOpeningFile);
  const std::uint32_t* index = reader->frame_offsets;
  if (!frameIndexFitsFile(index, header.frames, movraIndexEnd(header), *movieBytes)) return refuse(kNotAMovraFile);

  reader->largest_packet = largestPacketBytes(index, header.frames);
  const std::uint32_t window = framesPerSecondWindow(header.rate_num, header.rate_div);
  reader->peak_second_bytes = peakSecondBytes(index, header.frames, window);

  if (!allocateFrameSets(*reader, geometry)) return refuse(kOutOfMemory);

  // The packets occupy [movieStart, movieEnd): everything the reader reads
  // from here on lies there, and the index check put it inside the file.
  const std::uint32_t movieStart = packetOffset(index[0]);
  const std::uint32_t movieEnd = packetOffset(index[header.frames]);
  const std::uint64_t wanted = MovraSource::bufferSize(reader->peak_second_bytes);
  if (wanted >= std::uint64_t{header.file_size} * 9 / 10) {
    if (const char* failure = preload(*reader, movieStart, movieEnd)) return refuse(failure);
  } else if (!allocateReadAhead(*reader, std::min(wanted, MovraSource::bufferSize(movieEnd - movieStart)),
                                movieEnd)) {
    // The busiest second can be estimated far beyond the file (a damaged
    // frame rate or file size); the ring never needs more than the packets.
    return refuse(kOutOfMemory);
  }

  reader->current_frame = 0;
  reader->video_enabled = 1;
  loadFramePacket(*reader, 1);
  if (!reader->preloaded && !(flags & kOpenNoInitialFill)) {
    while (reader->source.topUp() != 0) {
    }
  }
  return reader.release();
}

}  // namespace

void MovraReaderSelectTracks(std::uint32_t count, const std::uint32_t* ids) {
  selectedCount = ids ? std::min(count, kMaxSelectedTracks) : 0;
  for (std::uint32_t i = 0; i < selectedCount; ++i) selectedIds[i] = ids[i];
}

MovraReader* MovraReaderOpen(const char* name, std::uint32_t flags) {
  setReaderLastError("");
  MovraSource source;
  if (!name || !source.openByName(name)) return refuse(kErrorOpeningFile);
  return openMovie(source, flags & ~kOpenFromHandle);
}

MovraReader* MovraReaderOpenHandle(platform::FileHandle handle, std::uint64_t baseOffset, std::uint32_t flags) {
  setReaderLastError("");
  if (handle == platform::kInvalidFile) return refuse(kErrorOpeningFile);
  MovraSource source;
  source.openByHandle(handle, baseOffset);
  return openMovie(source, flags | kOpenFromHandle);
}

void MovraReaderClose(MovraReader* reader) {
  if (!reader) return;
  void* blocks[] = {reader->record_block, reader->frame_set_block, reader->data_block};
  reader->~MovraReader();
  std::memset(static_cast<void*>(reader), 0, sizeof(MovraReader));
  for (void* block : blocks) releasePlannedBlock(block);
}

}  // namespace zet
