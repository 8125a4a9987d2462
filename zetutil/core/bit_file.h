// The buffered bit file: one handle reads and writes a file byte-wise, in
// little-endian 16- and 32-bit words, or as a stream of bit fields of 1 to 32
// bits packed least significant bit first, and switches between reading and
// writing at any time. Positions are 64-bit byte offsets.
//
// Both shared libraries link this code; the record and its buffer come from
// zet::allocateBlock, so each library uses its own allocator.
//
// A null handle reads and writes nothing, has position and size 0 and is at
// its end. None of these functions throws.
#pragma once

#include <cstdint>

// Global scope, so that the exported interface's opaque `ZetFile` names it.
struct ZetFileRecord;

namespace zet {

inline constexpr std::uint32_t kFileOpenRead = 250;
inline constexpr std::uint32_t kFileOpenReadWrite = 251;

// What fileGetPos reports after the system refused a move: the handle no
// longer knows where it is, so it reads and writes nothing until a later
// fileSetPos succeeds.
inline constexpr std::uint64_t kUnknownFilePosition = ~std::uint64_t{0};

// The stored name holds at most this many bytes, the length of the system's
// 256-byte path buffers; a longer name is refused. Handles opened through the
// exports keep the exported record's 128-byte name (kExportedFileNameCapacity).
inline constexpr std::uint32_t kFileNameCapacity = 255;
inline constexpr std::uint32_t kExportedFileNameCapacity = 127;

// A negative buffer size means its absolute value; 0 gives an unbuffered
// handle. Null on any failure.
ZetFileRecord* fileOpen(std::int32_t bufferSize, const char* name, std::uint32_t mode) noexcept;
// Creates or truncates the file for reading and writing. Other openers may
// read it meanwhile only when `othersMayRead`.
ZetFileRecord* fileCreate(std::int32_t bufferSize, const char* name, bool othersMayRead) noexcept;

void fileClose(ZetFileRecord* file) noexcept;
// As fileClose; true when every byte handed to the handle, including the
// final flush, reached the file.
bool fileCloseChecked(ZetFileRecord* file) noexcept;
// Writing: pads a partial byte with zero bits and writes the buffer out;
// `hard` also commits the system's buffers to disk. Reading: byte-aligns.
void fileFlush(ZetFileRecord* file, bool hard) noexcept;
// True once the system accepted fewer bytes than asked, or refused to
// commit them to disk. Stays set. True for a null handle.
bool fileWriteFailed(const ZetFileRecord* file) noexcept;

// Copies the stored name into `out` (kFileNameCapacity + 1 bytes) when it is
// not null.
char* fileGetName(ZetFileRecord* file, char* out) noexcept;

// Moves whole bytes and leaves the bit cursor as it is.
std::uint32_t fileGetWholeBytes(ZetFileRecord* file, void* destination, std::uint32_t count) noexcept;
// Continues the bit stream: with a partly read byte, each byte delivered is
// the next 8 bits of the stream.
std::uint32_t fileGet(ZetFileRecord* file, void* destination, std::uint32_t count) noexcept;
// The fixed-size readers give 0 for bytes past the end.
std::uint8_t fileGet8(ZetFileRecord* file) noexcept;
std::uint16_t fileGet16(ZetFileRecord* file) noexcept;
std::uint32_t fileGet32(ZetFileRecord* file) noexcept;
// 1 to 32 bits; above 32 counts modulo 32 (a multiple of 32 counts as 32);
// 0 reads nothing and returns 0.
std::uint32_t fileGetBits(ZetFileRecord* file, std::uint32_t bitCount) noexcept;
// One text line without its line end, in pieces of at most size - 1 bytes.
char* fileGetLine(ZetFileRecord* file, char* buffer, std::uint32_t size) noexcept;

// Both return the bytes the handle accepted.
std::uint32_t filePutWholeBytes(ZetFileRecord* file, const void* source, std::uint32_t count) noexcept;
std::uint32_t filePut(ZetFileRecord* file, const void* source, std::uint32_t count) noexcept;
// The fixed-size writers return the value, or 0 when the handle took nothing.
std::uint8_t filePut8(ZetFileRecord* file, std::uint8_t value) noexcept;
std::uint16_t filePut16(ZetFileRecord* file, std::uint16_t value) noexcept;
std::uint32_t filePut32(ZetFileRecord* file, std::uint32_t value) noexcept;
// Appends the low `bitCount` bits of the value; counts as for fileGetBits.
std::uint32_t filePutBits(ZetFileRecord* file, std::uint32_t value, std::uint32_t bitCount) noexcept;

std::uint64_t fileGetPos(const ZetFileRecord* file) noexcept;
// Returns the position before the move.
std::uint64_t fileSetPos(ZetFileRecord* file, std::uint64_t position) noexcept;
std::uint32_t fileBitPos(const ZetFileRecord* file) noexcept;
void fileByteAlign(ZetFileRecord* file) noexcept;
// Byte-aligns, then moves forward to the next multiple of `alignment`,
// growing the file with zero bytes when that lies past its end. Alignments
// 0 and 1 only byte-align.
void fileAlign(ZetFileRecord* file, std::uint32_t alignment) noexcept;
// The larger of the file's size and the position, so buffered bytes count.
std::uint64_t fileSize(ZetFileRecord* file) noexcept;
bool fileAtEnd(ZetFileRecord* file) noexcept;
// True while reading when the byte at `position` is in the filled part of
// a buffer that is not used up.
bool fileIsInBuffer(const ZetFileRecord* file, std::uint64_t position) noexcept;

// The upper 32 bits of the last-write time in units of 100 ns since 1601.
std::uint32_t fileGetTime(ZetFileRecord* file) noexcept;
// Writes out what is pending, then sets the file's times to the stamp in the
// upper half of a time in units of 100 ns since 1601.
void fileSetTime(ZetFileRecord* file, std::uint32_t stamp) noexcept;

enum class FileNameResult : std::int32_t { Done = 0, NotFound = 1, Failed = 2 };

FileNameResult fileErase(const char* name) noexcept;
// Note the order: destination first.
FileNameResult fileRename(const char* newName, const char* existingName) noexcept;

}  // namespace zet
