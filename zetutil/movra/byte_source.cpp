#include "byte_source.h"

#include <algorithm>
#include <cstring>

namespace zet {
namespace {

std::uint64_t readAll(platform::FileHandle file, void* destination, std::uint64_t size) {
  const std::int64_t got = platform::readFile(file, destination, static_cast<std::size_t>(size));
  return got > 0 ? static_cast<std::uint64_t>(got) : 0;
}

}  // namespace

MovraSource& MovraSource::operator=(MovraSource&& other) noexcept {
  if (this == &other) return *this;
  close();
  file_ = other.file_;
  own_handle_ = other.own_handle_;
  base_offset_ = other.base_offset_;
  header_pos_ = other.header_pos_;
  file_pos_ = other.file_pos_;
  read_pos_ = other.read_pos_;
  position_known_ = other.position_known_;
  other.file_ = platform::kInvalidFile;
  return *this;
}

bool MovraSource::openByName(const char* name) {
  platform::FileOpenOptions options;
  options.access = platform::FileAccess::Read;
  options.share = platform::FileShare::Read;
  options.sequentialHint = true;
  file_ = platform::openFile(name, options);
  own_handle_ = true;
  base_offset_ = 0;
  return file_ != platform::kInvalidFile;
}

void MovraSource::openByHandle(platform::FileHandle handle, std::uint64_t baseOffset) {
  file_ = handle;
  own_handle_ = false;
  base_offset_ = baseOffset;
}

std::optional<std::uint64_t> MovraSource::movieBytes() const {
  const std::optional<std::uint64_t> size = platform::fileSize(file_);
  if (!size || *size < base_offset_) return std::nullopt;
  return *size - base_offset_;
}

std::uint64_t MovraSource::readHeader(std::uint32_t offset, void* destination, std::uint64_t size) {
  if (offset != kContinue) header_pos_ = offset;
  position_known_ = platform::seekFile(file_, base_offset_ + header_pos_);
  const std::uint64_t got = position_known_ ? readAll(file_, destination, size) : 0;
  header_pos_ += got;
  file_pos_ = read_pos_ = header_pos_;
  return got;
}

std::uint32_t MovraSource::readFrame(std::uint32_t offset, void* destination, std::uint32_t size) {
  if (offset < read_pos_ || offset > file_pos_) {
    restart(offset);
  } else {
    dropBuffered(static_cast<std::uint32_t>(offset - read_pos_));
  }
  auto* bytes = static_cast<std::uint8_t*>(destination);
  const std::uint32_t fromRing = std::min(size, buffered_.load());
  copyBuffered(bytes, fromRing);
  std::uint32_t delivered = fromRing;
  if (fromRing < size && position_known_) {
    const std::uint32_t rest = size - fromRing;
    const auto got = static_cast<std::uint32_t>(readAll(file_, bytes + fromRing, rest));
    file_pos_ += got;
    read_pos_ += got;
    delivered += got;
    if (got < rest) at_end_ = true;
  }
  updateWanted();
  return delivered;
}

std::uint64_t MovraSource::bufferSize(std::uint64_t wanted) {
  return (wanted + kChunkBytes - 1) / kChunkBytes * kChunkBytes;
}

void MovraSource::setBuffer(std::uint8_t* buffer, std::uint64_t size, std::uint32_t fileEnd) {
  ring_ = buffer;
  capacity_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, 0xFFFFFFFF) / kChunkBytes * kChunkBytes);
  file_end_ = fileEnd;
  read_index_ = write_index_ = 0;
  buffered_ = 0;
  free_ = capacity_;
  updateWanted();
}

std::uint32_t MovraSource::topUp() {
  if (at_end_ || !position_known_) return 0;
  const bool chunkLeft = file_pos_ + kChunkBytes <= file_end_;
  if (free_.load() < kChunkBytes || !chunkLeft) {
    wanted_ = buffered_.load();
    return 0;
  }
  if (readAll(file_, ring_ + write_index_, kChunkBytes) != kChunkBytes) {
    // The file shrank under us. Keep the file position where the ring ends
    // so that direct reads still continue from the right byte.
    at_end_ = true;
    position_known_ = platform::seekFile(file_, base_offset_ + file_pos_);
    return 0;
  }
  file_pos_ += kChunkBytes;
  write_index_ += kChunkBytes;
  if (write_index_ == capacity_) write_index_ = 0;
  free_.fetch_sub(kChunkBytes);
  buffered_.fetch_add(kChunkBytes);
  return kChunkBytes;
}

bool MovraSource::wantsTopUp() const {
  return (std::uint64_t{buffered_.load()} + 1) * 100 / (std::uint64_t{wanted_} + 1) < 75;
}

void MovraSource::close() {
  if (file_ != platform::kInvalidFile && own_handle_) platform::closeFile(file_);
  file_ = platform::kInvalidFile;
}

void MovraSource::restart(std::uint32_t offset) {
  read_index_ = write_index_ = 0;
  buffered_ = 0;
  free_ = capacity_;
  file_pos_ = read_pos_ = offset;
  at_end_ = false;
  position_known_ = platform::seekFile(file_, base_offset_ + offset);
}

void MovraSource::dropBuffered(std::uint32_t bytes) {
  read_index_ = static_cast<std::uint32_t>((std::uint64_t{read_index_} + bytes) % std::max(capacity_, 1u));
  buffered_.fetch_sub(bytes);
  free_.fetch_add(bytes);
  read_pos_ += bytes;
}

void MovraSource::copyBuffered(std::uint8_t* destination, std::uint32_t bytes) {
  const std::uint32_t first = std::min(bytes, capacity_ - read_index_);
  if (first > 0) std::memcpy(destination, ring_ + read_index_, first);
  if (bytes > first) std::memcpy(destination + first, ring_, bytes - first);
  dropBuffered(bytes);
}

void MovraSource::updateWanted() {
  const std::uint64_t left = file_end_ > read_pos_ ? file_end_ - read_pos_ : 0;
  wanted_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, capacity_));
  if (std::uint64_t{buffered_.load()} + kChunkBytes > wanted_) wanted_ = buffered_.load();
}

}  // namespace zet
