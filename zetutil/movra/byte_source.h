// Where the reader's bytes come from: a file (opened by name, or a handle
// positioned at the movie's first byte), read through a ring of 8192-byte
// chunks that is topped up ahead of the packets the reader asks for.
//
// Offsets are relative to the movie's first byte. The ring always holds the
// file bytes [read position, file position): the reader asks for packets in
// order, so a packet is usually served from the ring and the rest of it read
// straight from the file, never reading a byte twice and seeking only when
// the reader jumps.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

#include "platform/file.h"

namespace zet {

class MovraSource {
 public:
  static constexpr std::uint32_t kChunkBytes = 8192;
  // `readHeader` offset that continues after the previous header read.
  static constexpr std::uint32_t kContinue = 0xFFFFFFFF;

  MovraSource() = default;
  MovraSource(const MovraSource&) = delete;
  MovraSource& operator=(const MovraSource&) = delete;
  // Takes over an opened file before any buffer is set (open reads the
  // header before the reader that keeps the source exists).
  MovraSource& operator=(MovraSource&& other) noexcept;
  ~MovraSource() { close(); }

  bool openByName(const char* name);
  // The handle stays the caller's: close never closes it.
  void openByHandle(platform::FileHandle handle, std::uint64_t baseOffset);

  // Bytes of the file from the movie's first byte to its end.
  std::optional<std::uint64_t> movieBytes() const;

  // Both return the bytes delivered; fewer than `size` means a short read.
  std::uint64_t readHeader(std::uint32_t offset, void* destination, std::uint64_t size);
  std::uint32_t readFrame(std::uint32_t offset, void* destination, std::uint32_t size);

  // The read-ahead size used for `wanted` bytes: whole chunks.
  static std::uint64_t bufferSize(std::uint64_t wanted);

  // Hands over the ring (`size` is cut to whole chunks; 0 reads everything
  // straight from the file) and the end of the movie data.
  void setBuffer(std::uint8_t* buffer, std::uint64_t size, std::uint32_t fileEnd);

  // Reads one chunk ahead when the ring has room and a whole chunk of movie
  // data is left; returns the bytes read.
  std::uint32_t topUp();

  // True while the ring holds less than three quarters of what it aims for.
  bool wantsTopUp() const;

  void close();

  std::uint32_t buffered() const { return buffered_.load(); }
  std::uint32_t wanted() const { return wanted_; }
  std::uint32_t capacity() const { return capacity_; }
  bool isOpen() const { return file_ != platform::kInvalidFile; }

 private:
  void restart(std::uint32_t offset);
  void dropBuffered(std::uint32_t bytes);
  void copyBuffered(std::uint8_t* destination, std::uint32_t bytes);
  void updateWanted();

  platform::FileHandle file_ = platform::kInvalidFile;
  bool own_handle_ = false;
  std::uint64_t base_offset_ = 0;
  std::uint64_t header_pos_ = 0;
  // Movie offset of the next byte a top-up reads; the file's own position
  // is always base_offset_ + file_pos_.
  std::uint64_t file_pos_ = 0;
  std::uint64_t read_pos_ = 0;  // movie offset of the first byte in the ring
  std::uint32_t file_end_ = 0;

  std::uint8_t* ring_ = nullptr;
  std::uint32_t capacity_ = 0;
  std::uint32_t read_index_ = 0;
  std::uint32_t write_index_ = 0;
  // Changed with atomic adds so that a reading thread could share them.
  std::atomic<std::uint32_t> buffered_{0};
  std::atomic<std::uint32_t> free_{0};
  std::uint32_t wanted_ = 0;
  bool at_end_ = false;  // a top-up came back short: the file ends early
  bool position_known_ = false;  // false after a failed seek: read nothing
};

}  // namespace zet
