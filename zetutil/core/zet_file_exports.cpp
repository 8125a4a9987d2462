// zetutil's buffered bit file exports.
#include <cstring>

#include "bit_file.h"
#include "zetutil.h"

namespace {

std::uint64_t joinHalves(uint32_t low, uint32_t high) { return (std::uint64_t{high} << 32) | low; }

// Callers of the exports hold names in the record's 128-byte field (and read
// them back into buffers of that size), so a longer name is refused here.
bool fitsExportedRecord(const char* name) {
  return name && strnlen(name, zet::kExportedFileNameCapacity + 1) <= zet::kExportedFileNameCapacity;
}

}  // namespace

extern "C" {

ZET_EXPORT ZetFile ZET_CALL ZetFileOpen(int32_t bufferSize, const char* name, uint32_t mode) {
  return fitsExportedRecord(name) ? zet::fileOpen(bufferSize, name, mode) : nullptr;
}

ZET_EXPORT ZetFile ZET_CALL ZetFileCreate(int32_t bufferSize, const char* name) {
  return fitsExportedRecord(name) ? zet::fileCreate(bufferSize, name, false) : nullptr;
}

ZET_EXPORT ZetFile ZET_CALL ZetFileCreateWithRead(int32_t bufferSize, const char* name) {
  return fitsExportedRecord(name) ? zet::fileCreate(bufferSize, name, true) : nullptr;
}

ZET_EXPORT void ZET_CALL ZetFileClose(ZetFile file) { zet::fileClose(file); }

ZET_EXPORT void ZET_CALL ZetFileFlush(ZetFile file, int32_t hard) { zet::fileFlush(file, hard != 0); }

ZET_EXPORT char* ZET_CALL ZetFileGetName(ZetFile file, char* out) { return zet::fileGetName(file, out); }

ZET_EXPORT uint32_t ZET_CALL ZetFileGetNB(ZetFile file, void* destination, uint32_t count) {
  return zet::fileGetWholeBytes(file, destination, count);
}

ZET_EXPORT uint32_t ZET_CALL ZetFileGet(ZetFile file, void* destination, uint32_t count) {
  return zet::fileGet(file, destination, count);
}

ZET_EXPORT uint8_t ZET_CALL ZetFileGet8(ZetFile file) { return zet::fileGet8(file); }

ZET_EXPORT uint16_t ZET_CALL ZetFileGet16(ZetFile file) { return zet::fileGet16(file); }

ZET_EXPORT uint32_t ZET_CALL ZetFileGet32(ZetFile file) { return zet::fileGet32(file); }

ZET_EXPORT uint32_t ZET_CALL ZetFileGetBits(ZetFile file, uint32_t bitCount) {
  return zet::fileGetBits(file, bitCount);
}

ZET_EXPORT char* ZET_CALL ZetFileGetLine(ZetFile file, char* buffer, uint32_t size) {
  return zet::fileGetLine(file, buffer, size);
}

ZET_EXPORT uint32_t ZET_CALL ZetFilePutNB(ZetFile file, const void* source, uint32_t count) {
  return zet::filePutWholeBytes(file, source, count);
}

ZET_EXPORT uint32_t ZET_CALL ZetFilePut(ZetFile file, const void* source, uint32_t count) {
  return zet::filePut(file, source, count);
}

ZET_EXPORT uint8_t ZET_CALL ZetFilePut8(ZetFile file, uint8_t value) { return zet::filePut8(file, value); }

ZET_EXPORT uint16_t ZET_CALL ZetFilePut16(ZetFile file, uint16_t value) { return zet::filePut16(file, value); }

ZET_EXPORT uint32_t ZET_CALL ZetFilePut32(ZetFile file, uint32_t value) { return zet::filePut32(file, value); }

ZET_EXPORT uint32_t ZET_CALL ZetFilePutBits(ZetFile file, uint32_t value, uint32_t bitCount) {
  return zet::filePutBits(file, value, bitCount);
}

ZET_EXPORT uint64_t ZET_CALL ZetFileGetPos(ZetFile file) { return zet::fileGetPos(file); }

ZET_EXPORT uint64_t ZET_CALL ZetFileSetPos(ZetFile file, uint32_t positionLow, uint32_t positionHigh) {
  return zet::fileSetPos(file, joinHalves(positionLow, positionHigh));
}

ZET_EXPORT uint32_t ZET_CALL ZetFileBitPos(ZetFile file) { return zet::fileBitPos(file); }

ZET_EXPORT void ZET_CALL ZetFileByteAlign(ZetFile file) { zet::fileByteAlign(file); }

ZET_EXPORT void ZET_CALL ZetFileAlign(ZetFile file, uint32_t alignment) { zet::fileAlign(file, alignment); }

ZET_EXPORT uint64_t ZET_CALL ZetFileSize(ZetFile file) { return zet::fileSize(file); }

ZET_EXPORT int32_t ZET_CALL ZetFileAtEnd(ZetFile file) { return zet::fileAtEnd(file) ? 1 : 0; }

ZET_EXPORT int32_t ZET_CALL ZetFileIsInBuffer(ZetFile file, uint32_t positionLow, uint32_t positionHigh) {
  return zet::fileIsInBuffer(file, joinHalves(positionLow, positionHigh)) ? 1 : 0;
}

ZET_EXPORT uint32_t ZET_CALL ZetFileGetTime(ZetFile file) { return zet::fileGetTime(file); }

ZET_EXPORT void ZET_CALL ZetFileSetTime(ZetFile file, uint32_t stamp) { zet::fileSetTime(file, stamp); }

ZET_EXPORT int32_t ZET_CALL ZetFileErase(const char* name) { return static_cast<int32_t>(zet::fileErase(name)); }

ZET_EXPORT int32_t ZET_CALL ZetFileRename(const char* newName, const char* existingName) {
  return static_cast<int32_t>(zet::fileRename(newName, existingName));
}
}
