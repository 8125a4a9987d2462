// The buffered bit file.
//
// `systemPosition` is always where the system's own file pointer stands.
// Reading, the buffer holds the `bufferFill` bytes just before that position
// and `bufferCursor` is the next one to hand out; a cursor equal to the fill
// means the buffer is used up, which is also how a buffer with stale
// contents is marked. Writing, the first `bufferCursor` bytes of the buffer
// wait to be written at `systemPosition`.
//
// The bit stream: while reading, `pendingByte` is the byte being taken apart
// and `bitCount` of its low bits are consumed; while writing, it holds the
// `bitCount` low bits not yet written.
#include "bit_file.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "block_allocator.h"
#include "platform/file.h"

namespace {

constexpr std::uint64_t kSizeNotMeasured = ~std::uint64_t{0};

}  // namespace

struct ZetFileRecord {
  platform::FileHandle system = platform::kInvalidFile;
  bool writeFailed = false;
  char name[zet::kFileNameCapacity + 1] = {};
  std::uint8_t* buffer = nullptr;  // allocated at the first read or write
  std::uint32_t bufferSize = 0;
  std::uint32_t bufferFill = 0;
  std::uint32_t bufferCursor = 0;
  std::uint64_t systemPosition = 0;
  std::uint64_t cachedSize = kSizeNotMeasured;
  std::uint32_t bitCount = 0;
  std::uint32_t pendingByte = 0;
  bool writing = false;
};

namespace zet {
namespace {

std::uint32_t lowBitMask(std::uint32_t count) { return (1u << count) - 1; }

// 1..32, or 0 for 0; counts above 32 wrap, and a multiple of 32 means 32.
std::uint32_t fieldWidth(std::uint32_t bitCount) { return bitCount == 0 ? 0 : ((bitCount - 1) & 31) + 1; }

std::uint32_t loadLittleEndian(const std::uint8_t* bytes, std::uint32_t count) {
  std::uint32_t value = 0;
  for (std::uint32_t i = 0; i < count; ++i) value |= std::uint32_t{bytes[i]} << (8 * i);
  return value;
}

void storeLittleEndian(std::uint8_t* bytes, std::uint32_t value, std::uint32_t count) {
  for (std::uint32_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

bool positionKnown(const ZetFileRecord& file) { return file.systemPosition != kUnknownFilePosition; }

std::uint64_t logicalPosition(const ZetFileRecord& file) {
  if (!positionKnown(file)) return kUnknownFilePosition;
  if (file.writing) return file.systemPosition + file.bufferCursor;
  // A partly read byte has been fetched but is not finished: it still counts
  // as the current byte.
  return file.systemPosition - (file.bufferFill - file.bufferCursor) - (file.bitCount != 0 ? 1 : 0);
}

void markBufferUsedUp(ZetFileRecord& file) { file.bufferFill = file.bufferCursor = 0; }

void dropBitCursor(ZetFileRecord& file) { file.bitCount = file.pendingByte = 0; }

// A buffer that cannot be had makes the handle unbuffered from then on.
void ensureBuffer(ZetFileRecord& file) {
  if (file.buffer || file.bufferSize == 0) return;
  file.buffer = static_cast<std::uint8_t*>(allocateBlock(file.bufferSize));
  if (!file.buffer) file.bufferSize = file.bufferFill = file.bufferCursor = 0;
}

// The file is at least as long as every byte that moved through the handle.
void noteFileEnd(ZetFileRecord& file) {
  if (file.cachedSize != kSizeNotMeasured) file.cachedSize = std::max(file.cachedSize, file.systemPosition);
}

std::optional<std::uint64_t> measuredSize(ZetFileRecord& file) {
  if (file.cachedSize == kSizeNotMeasured) {
    if (auto size = platform::fileSize(file.system)) file.cachedSize = *size;
  }
  if (file.cachedSize == kSizeNotMeasured) return std::nullopt;
  return file.cachedSize;
}

// When the system refuses a move, the handle no longer knows where its file
// pointer is: rather than read or write at a guessed place, it moves nothing
// until the next move succeeds.
bool moveSystemPointer(ZetFileRecord& file, std::uint64_t position) {
  if (platform::seekFile(file.system, position)) {
    file.systemPosition = position;
    return true;
  }
  file.systemPosition = kUnknownFilePosition;
  return false;
}

std::uint32_t systemRead(ZetFileRecord& file, void* destination, std::uint32_t count) {
  std::int64_t got = platform::readFile(file.system, destination, count);
  if (got <= 0) return 0;
  file.systemPosition += static_cast<std::uint64_t>(got);
  noteFileEnd(file);
  return static_cast<std::uint32_t>(got);
}

std::uint32_t systemWrite(ZetFileRecord& file, const void* source, std::uint32_t count) {
  std::int64_t put = platform::writeFile(file.system, source, count);
  std::uint32_t written = put > 0 ? static_cast<std::uint32_t>(put) : 0;
  if (written < count) file.writeFailed = true;
  file.systemPosition += written;
  noteFileEnd(file);
  return written;
}

// Returns how many of the waiting bytes the system did not take; they are
// gone, and the write-failed flag says so.
std::uint32_t writeOutBuffer(ZetFileRecord& file) {
  std::uint32_t waiting = file.bufferCursor;
  file.bufferCursor = 0;
  if (waiting == 0) return 0;
  return waiting - systemWrite(file, file.buffer, waiting);
}

// Whole bytes of a handle that is reading; requests as large as the buffer
// bypass it.
std::uint32_t readBytes(ZetFileRecord& file, std::uint8_t* destination, std::uint32_t count) {
  std::uint32_t done = 0;
  while (done < count) {
    std::uint32_t available = file.bufferFill - file.bufferCursor;
    if (available > 0) {
      std::uint32_t taken = std::min(available, count - done);
      std::memcpy(destination + done, file.buffer + file.bufferCursor, taken);
      file.bufferCursor += taken;
      done += taken;
      continue;
    }
    std::uint32_t rest = count - done;
    if (rest >= file.bufferSize) {
      done += systemRead(file, destination + done, rest);
      break;
    }
    file.bufferFill = systemRead(file, file.buffer, file.bufferSize);
    file.bufferCursor = 0;
    if (file.bufferFill == 0) break;
  }
  return done;
}

// Whole bytes of a handle that is writing; returns the bytes of this call
// that were not lost to a short system write.
std::uint32_t writeBytes(ZetFileRecord& file, const std::uint8_t* source, std::uint32_t count) {
  std::uint32_t done = 0;
  std::uint32_t lost = 0;
  std::uint32_t ownBytesWaiting = 0;
  while (done < count) {
    std::uint32_t rest = count - done;
    if (file.bufferCursor == 0 && rest >= file.bufferSize) {
      lost += rest - systemWrite(file, source + done, rest);
      break;
    }
    std::uint32_t room = file.bufferSize - file.bufferCursor;
    if (room == 0) {
      // A short write loses the tail of the buffer, where this call's bytes are.
      lost += std::min(writeOutBuffer(file), ownBytesWaiting);
      ownBytesWaiting = 0;
      continue;
    }
    std::uint32_t copied = std::min(room, rest);
    std::memcpy(file.buffer + file.bufferCursor, source + done, copied);
    file.bufferCursor += copied;
    ownBytesWaiting += copied;
    done += copied;
  }
  return count - lost;
}

bool emitPartialByte(ZetFileRecord& file) {
  if (file.bitCount == 0) return true;
  auto partial = static_cast<std::uint8_t>(file.pendingByte);
  dropBitCursor(file);
  return writeBytes(file, &partial, 1) == 1;
}

void writeOutPending(ZetFileRecord& file) {
  if (!file.writing) return;
  emitPartialByte(file);
  writeOutBuffer(file);
}

bool prepareRead(ZetFileRecord& file) {
  if (!positionKnown(file)) return false;
  ensureBuffer(file);
  if (file.writing) {
    // Everything written so far is out, so the system pointer already stands
    // at the logical position.
    writeOutPending(file);
    file.writing = false;
    markBufferUsedUp(file);
  }
  return true;
}

bool prepareWrite(ZetFileRecord& file) {
  if (!positionKnown(file)) return false;
  ensureBuffer(file);
  if (!file.writing) {
    // Writing starts at the byte a reader would get next; a partly read byte
    // is overwritten whole.
    std::uint64_t position = logicalPosition(file);
    file.writing = true;
    markBufferUsedUp(file);
    dropBitCursor(file);
    if (position != file.systemPosition) return moveSystemPointer(file, position);
  }
  return true;
}

// With a partly read byte, each delivered byte is the next 8 bits of the stream.
std::uint32_t readStreamBytes(ZetFileRecord& file, std::uint8_t* destination, std::uint32_t count) {
  std::uint32_t got = readBytes(file, destination, count);
  if (file.bitCount == 0 || got == 0) return got;
  const std::uint32_t shift = file.bitCount;
  std::uint32_t previous = file.pendingByte;
  for (std::uint32_t i = 0; i < got; ++i) {
    std::uint32_t next = destination[i];
    destination[i] = static_cast<std::uint8_t>((previous >> shift) | (next << (8 - shift)));
    previous = next;
  }
  file.pendingByte = previous;
  return got;
}

std::uint32_t writeStreamBytes(ZetFileRecord& file, const std::uint8_t* source, std::uint32_t count) {
  if (file.bitCount == 0) return writeBytes(file, source, count);
  const std::uint32_t shift = file.bitCount;
  std::uint8_t shifted[256];
  std::uint32_t accepted = 0;
  for (std::uint32_t done = 0; done < count;) {
    std::uint32_t piece = std::min<std::uint32_t>(count - done, sizeof shifted);
    for (std::uint32_t i = 0; i < piece; ++i) {
      std::uint32_t byte = source[done + i];
      shifted[i] = static_cast<std::uint8_t>((byte << shift) | file.pendingByte);
      file.pendingByte = byte >> (8 - shift);
    }
    accepted += writeBytes(file, shifted, piece);
    done += piece;
  }
  return accepted;
}

// 1 to 7 bits: first the unconsumed top of the pending byte, then from bit 0
// of a newly fetched byte. Bits past the end of the file read as 0.
std::uint32_t takeBits(ZetFileRecord& file, std::uint32_t count) {
  const std::uint32_t consumed = file.bitCount;
  if (consumed != 0 && count <= 8 - consumed) {
    file.bitCount = (consumed + count) & 7;
    return (file.pendingByte >> consumed) & lowBitMask(count);
  }
  const std::uint32_t oldBits = consumed != 0 ? file.pendingByte >> consumed : 0;
  const std::uint32_t oldCount = consumed != 0 ? 8 - consumed : 0;
  std::uint8_t next = 0;
  if (readBytes(file, &next, 1) == 0) {
    dropBitCursor(file);
    return oldBits;
  }
  const std::uint32_t newCount = count - oldCount;
  file.pendingByte = next;
  file.bitCount = newCount;
  return oldBits | ((next & lowBitMask(newCount)) << oldCount);
}

// 1 to 7 bits join the pending byte; a full byte is written out.
bool placeBits(ZetFileRecord& file, std::uint32_t bits, std::uint32_t count) {
  file.pendingByte |= bits << file.bitCount;
  file.bitCount += count;
  if (file.bitCount < 8) return true;
  auto full = static_cast<std::uint8_t>(file.pendingByte);
  file.pendingByte >>= 8;
  file.bitCount -= 8;
  return writeBytes(file, &full, 1) == 1;
}

// The fast paths: whole bytes straight from or into the buffer when the
// handle is byte-aligned, in the right mode, and the buffer has them or room.
bool bufferHolds(const ZetFileRecord* file, std::uint32_t bytes) {
  return file && !file->writing && file->bitCount == 0 && file->bufferFill - file->bufferCursor >= bytes;
}

bool bufferTakes(const ZetFileRecord* file, std::uint32_t bytes) {
  return file && file->writing && file->bitCount == 0 && file->buffer && positionKnown(*file) &&
         file->bufferSize - file->bufferCursor >= bytes;
}

std::uint32_t getWord(ZetFileRecord* file, std::uint32_t bytes) {
  if (bufferHolds(file, bytes)) {
    std::uint32_t value = loadLittleEndian(file->buffer + file->bufferCursor, bytes);
    file->bufferCursor += bytes;
    return value;
  }
  std::uint8_t word[4] = {};
  fileGet(file, word, bytes);
  return loadLittleEndian(word, bytes);
}

bool putWord(ZetFileRecord* file, std::uint32_t value, std::uint32_t bytes) {
  if (bufferTakes(file, bytes)) {
    storeLittleEndian(file->buffer + file->bufferCursor, value, bytes);
    file->bufferCursor += bytes;
    return true;
  }
  std::uint8_t word[4];
  storeLittleEndian(word, value, bytes);
  return filePut(file, word, bytes) == bytes;
}

void writeZeros(ZetFileRecord* file, std::uint64_t count) {
  static constexpr std::uint8_t kZeros[4096] = {};
  while (count > 0) {
    auto piece = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, sizeof kZeros));
    if (filePutWholeBytes(file, kZeros, piece) != piece) return;
    count -= piece;
  }
}

std::uint32_t bufferCapacity(std::int32_t requested) {
  std::int64_t size = requested;
  return static_cast<std::uint32_t>(size < 0 ? -size : size);
}

ZetFileRecord* openRecord(std::int32_t bufferSize, const char* name, const platform::FileOpenOptions& options) {
  if (!name) return nullptr;
  const std::size_t length = strnlen(name, kFileNameCapacity + 1);
  if (length > kFileNameCapacity) return nullptr;
  // The record comes first, so that a create that cannot get one leaves an
  // existing file untouched.
  void* memory = allocateBlock(sizeof(ZetFileRecord));
  if (!memory) return nullptr;
  auto* file = new (memory) ZetFileRecord{};
  file->system = platform::openFile(name, options);
  if (file->system == platform::kInvalidFile) {
    releaseBlock(memory);
    return nullptr;
  }
  std::memcpy(file->name, name, length + 1);
  file->bufferSize = bufferCapacity(bufferSize);
  file->writing = options.disposition == platform::FileDisposition::CreateAlways;
  return file;
}

FileNameResult fromFsResult(platform::FsResult result) {
  switch (result) {
    case platform::FsResult::Ok:
      return FileNameResult::Done;
    case platform::FsResult::NotFound:
      return FileNameResult::NotFound;
    case platform::FsResult::Failed:
      break;
  }
  return FileNameResult::Failed;
}

}  // namespace

ZetFileRecord* fileOpen(std::int32_t bufferSize, const char* name, std::uint32_t mode) noexcept {
  if (mode != kFileOpenRead && mode != kFileOpenReadWrite) return nullptr;
  platform::FileOpenOptions options;
  options.access = mode == kFileOpenRead ? platform::FileAccess::Read : platform::FileAccess::ReadWrite;
  options.share = platform::FileShare::Read;
  options.disposition = platform::FileDisposition::OpenExisting;
  options.sequentialHint = true;
  return openRecord(bufferSize, name, options);
}

ZetFileRecord* fileCreate(std::int32_t bufferSize, const char* name, bool othersMayRead) noexcept {
  platform::FileOpenOptions options;
  options.access = platform::FileAccess::ReadWrite;
  options.share = othersMayRead ? platform::FileShare::Read : platform::FileShare::None;
  options.disposition = platform::FileDisposition::CreateAlways;
  return openRecord(bufferSize, name, options);
}

void fileClose(ZetFileRecord* file) noexcept { fileCloseChecked(file); }

bool fileCloseChecked(ZetFileRecord* file) noexcept {
  if (!file) return false;
  writeOutPending(*file);
  bool complete = !file->writeFailed;
  if (!platform::closeFile(file->system)) complete = false;
  releaseBlock(file->buffer);
  releaseBlock(file);
  return complete;
}

void fileFlush(ZetFileRecord* file, bool hard) noexcept {
  if (!file) return;
  if (!file->writing) {
    dropBitCursor(*file);
    return;
  }
  writeOutPending(*file);
  if (hard && !platform::flushFileToDisk(file->system)) file->writeFailed = true;
}

bool fileWriteFailed(const ZetFileRecord* file) noexcept { return !file || file->writeFailed; }

char* fileGetName(ZetFileRecord* file, char* out) noexcept {
  if (!file) return nullptr;
  if (out) std::memcpy(out, file->name, std::strlen(file->name) + 1);
  return file->name;
}

std::uint32_t fileGetWholeBytes(ZetFileRecord* file, void* destination, std::uint32_t count) noexcept {
  if (!file || !destination || count == 0 || !prepareRead(*file)) return 0;
  return readBytes(*file, static_cast<std::uint8_t*>(destination), count);
}

std::uint32_t fileGet(ZetFileRecord* file, void* destination, std::uint32_t count) noexcept {
  if (!file || !destination || count == 0 || !prepareRead(*file)) return 0;
  return readStreamBytes(*file, static_cast<std::uint8_t*>(destination), count);
}

std::uint8_t fileGet8(ZetFileRecord* file) noexcept { return static_cast<std::uint8_t>(getWord(file, 1)); }

std::uint16_t fileGet16(ZetFileRecord* file) noexcept { return static_cast<std::uint16_t>(getWord(file, 2)); }

std::uint32_t fileGet32(ZetFileRecord* file) noexcept { return getWord(file, 4); }

std::uint32_t fileGetBits(ZetFileRecord* file, std::uint32_t bitCount) noexcept {
  const std::uint32_t width = fieldWidth(bitCount);
  if (!file || width == 0) return 0;
  const std::uint32_t wholeBytes = width / 8;
  const std::uint32_t restBits = width % 8;
  if (restBits == 0) return getWord(file, wholeBytes);
  if (!prepareRead(*file)) return 0;
  std::uint8_t word[4] = {};
  readStreamBytes(*file, word, wholeBytes);
  return loadLittleEndian(word, wholeBytes) | (takeBits(*file, restBits) << (8 * wholeBytes));
}

char* fileGetLine(ZetFileRecord* file, char* buffer, std::uint32_t size) noexcept {
  if (!buffer || size == 0) return buffer;
  std::uint32_t stored = 0;
  if (size >= 2 && file && prepareRead(*file)) {
    const std::optional<std::uint64_t> end = measuredSize(*file);
    while (stored < size - 1 && !(end && logicalPosition(*file) >= *end)) {
      std::uint8_t byte = 0;
      if (bufferHolds(file, 1)) {
        byte = file->buffer[file->bufferCursor++];
      } else if (readStreamBytes(*file, &byte, 1) == 0) {
        break;  // the file is shorter than it was measured
      }
      buffer[stored++] = static_cast<char>(byte);
      if (byte == '\n') break;
    }
  }
  while (stored > 0 && (buffer[stored - 1] == '\n' || buffer[stored - 1] == '\r')) --stored;
  buffer[stored] = '\0';
  return buffer;
}

std::uint32_t filePutWholeBytes(ZetFileRecord* file, const void* source, std::uint32_t count) noexcept {
  if (!file || !source || count == 0 || !prepareWrite(*file)) return 0;
  return writeBytes(*file, static_cast<const std::uint8_t*>(source), count);
}

std::uint32_t filePut(ZetFileRecord* file, const void* source, std::uint32_t count) noexcept {
  if (!file || !source || count == 0 || !prepareWrite(*file)) return 0;
  return writeStreamBytes(*file, static_cast<const std::uint8_t*>(source), count);
}

std::uint8_t filePut8(ZetFileRecord* file, std::uint8_t value) noexcept { return putWord(file, value, 1) ? value : 0; }

std::uint16_t filePut16(ZetFileRecord* file, std::uint16_t value) noexcept {
  return putWord(file, value, 2) ? value : 0;
}

std::uint32_t filePut32(ZetFileRecord* file, std::uint32_t value) noexcept {
  return putWord(file, value, 4) ? value : 0;
}

std::uint32_t filePutBits(ZetFileRecord* file, std::uint32_t value, std::uint32_t bitCount) noexcept {
  const std::uint32_t width = fieldWidth(bitCount);
  if (!file) return 0;
  if (width == 0) return value;
  const std::uint32_t wholeBytes = width / 8;
  const std::uint32_t restBits = width % 8;
  if (restBits == 0) return putWord(file, value, wholeBytes) ? value : 0;
  if (!prepareWrite(*file)) return 0;
  std::uint8_t word[4];
  storeLittleEndian(word, value, wholeBytes);
  bool accepted = writeStreamBytes(*file, word, wholeBytes) == wholeBytes;
  accepted = placeBits(*file, (value >> (8 * wholeBytes)) & lowBitMask(restBits), restBits) && accepted;
  return accepted ? value : 0;
}

std::uint64_t fileGetPos(const ZetFileRecord* file) noexcept { return file ? logicalPosition(*file) : 0; }

std::uint64_t fileSetPos(ZetFileRecord* file, std::uint64_t position) noexcept {
  if (!file) return 0;
  const std::uint64_t current = logicalPosition(*file);
  if (current == position) return current;
  if (file->writing) {
    writeOutPending(*file);
  } else if (fileIsInBuffer(file, position)) {
    file->bufferCursor = static_cast<std::uint32_t>(position - (file->systemPosition - file->bufferFill));
    dropBitCursor(*file);
    return current;
  } else {
    markBufferUsedUp(*file);
  }
  dropBitCursor(*file);
  moveSystemPointer(*file, position);
  return current;
}

std::uint32_t fileBitPos(const ZetFileRecord* file) noexcept { return file ? file->bitCount : 0; }

void fileByteAlign(ZetFileRecord* file) noexcept {
  if (!file) return;
  if (file->writing) {
    emitPartialByte(*file);
  } else {
    dropBitCursor(*file);
  }
}

void fileAlign(ZetFileRecord* file, std::uint32_t alignment) noexcept {
  if (!file) return;
  fileByteAlign(file);
  const std::uint64_t position = logicalPosition(*file);
  if (alignment <= 1 || position == kUnknownFilePosition) return;
  const std::uint64_t remainder = position % alignment;
  if (remainder == 0) return;
  const std::uint64_t target = position + (alignment - remainder);
  const std::uint64_t end = fileSize(file);
  if (target <= end) {
    fileSetPos(file, target);
    return;
  }
  fileSetPos(file, end);
  writeZeros(file, target - end);
}

std::uint64_t fileSize(ZetFileRecord* file) noexcept {
  if (!file) return 0;
  const std::uint64_t measured = measuredSize(*file).value_or(0);
  const std::uint64_t position = logicalPosition(*file);
  return position == kUnknownFilePosition ? measured : std::max(measured, position);
}

bool fileAtEnd(ZetFileRecord* file) noexcept {
  if (!file) return true;
  const std::optional<std::uint64_t> size = measuredSize(*file);
  const std::uint64_t position = logicalPosition(*file);
  return !size || position == kUnknownFilePosition || position >= *size;
}

bool fileIsInBuffer(const ZetFileRecord* file, std::uint64_t position) noexcept {
  return file && !file->writing && file->bufferCursor < file->bufferFill && position < file->systemPosition &&
         position >= file->systemPosition - file->bufferFill;
}

std::uint32_t fileGetTime(ZetFileRecord* file) noexcept {
  if (!file) return 0;
  std::optional<std::uint64_t> written = platform::fileLastWriteTime(file->system);
  return written ? static_cast<std::uint32_t>(*written >> 32) : 0;
}

void fileSetTime(ZetFileRecord* file, std::uint32_t stamp) noexcept {
  if (!file) return;
  // Pending bytes go out first, so that no later write moves the time again.
  writeOutPending(*file);
  platform::setFileTimes(file->system, std::uint64_t{stamp} << 32);
}

FileNameResult fileErase(const char* name) noexcept {
  if (!name) return FileNameResult::Failed;
  return fromFsResult(platform::deleteFile(name));
}

FileNameResult fileRename(const char* newName, const char* existingName) noexcept {
  if (!newName || !existingName) return FileNameResult::Failed;
  return fromFsResult(platform::renameFile(existingName, newName));
}

}  // namespace zet
