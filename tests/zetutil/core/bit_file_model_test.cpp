// The buffered bit file against simple models of what a file holds, on
// random sequences of calls, with buffers from none to larger than the data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "temp_dir.h"
#include "zetutil.h"

namespace {

using zet::testing::readFile;
using zet::testing::TempDir;
using zet::testing::writeFile;

constexpr std::int32_t kBufferSizes[] = {0, 1, 3, 7, 64, 4096, 65536};

// The stream as one long little-endian number, appended bit by bit.
class BitStreamModel {
 public:
  void putBits(std::uint32_t value, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i, ++bitLength_) {
      if (bitLength_ % 8 == 0) bytes_.push_back(0);
      if ((value >> i) & 1) bytes_.back() = static_cast<char>(bytes_.back() | (1 << (bitLength_ % 8)));
    }
  }
  void byteAlign() { bitLength_ = (bitLength_ + 7) / 8 * 8; }
  std::uint64_t bitLength() const { return bitLength_; }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
  std::uint64_t bitLength_ = 0;
};

enum class Kind { Bits, Byte, Word16, Word32, StreamBytes, WholeBytes, Align };

struct Step {
  Kind kind;
  std::uint32_t width = 0;  // as passed to the bit calls
  std::uint32_t value = 0;
  std::string data;
};

std::uint32_t effectiveWidth(std::uint32_t width) { return width == 0 ? 0 : (width - 1) % 32 + 1; }

std::uint32_t lowBits(std::uint32_t value, std::uint32_t count) {
  return count == 32 ? value : value & ((1u << count) - 1);
}

// A number from 0 to limit - 1.
std::uint32_t below(std::mt19937& random, std::uint32_t limit) { return static_cast<std::uint32_t>(random() % limit); }

std::string randomBytes(std::mt19937& random, std::size_t count) {
  std::string data(count, '\0');
  for (char& byte : data) byte = static_cast<char>(random() & 0xFF);
  return data;
}

// Whole bytes ignore the bit cursor, so a writer and a reader agree on them
// only at byte boundaries: the generator uses them there alone.
std::vector<Step> randomSteps(std::mt19937& random, std::size_t count) {
  std::vector<Step> steps;
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < count; ++i) {
    Step step{static_cast<Kind>(below(random, 7)), 0, static_cast<std::uint32_t>(random()), {}};
    switch (step.kind) {
      case Kind::Bits:
        step.width = below(random, 10) == 0 ? below(random, 100) : 1 + below(random, 32);
        bits += effectiveWidth(step.width);
        break;
      case Kind::Byte:
        bits += 8;
        break;
      case Kind::Word16:
        bits += 16;
        break;
      case Kind::Word32:
        bits += 32;
        break;
      case Kind::StreamBytes:
        step.data = randomBytes(random, 1 + below(random, 300));
        bits += 8 * step.data.size();
        break;
      case Kind::WholeBytes:
        if (bits % 8 != 0) step.kind = Kind::Align;
        bits = (bits + 7) / 8 * 8;
        if (step.kind == Kind::WholeBytes) {
          step.data = randomBytes(random, below(random, 8) == 0 ? 1 + below(random, 9000) : 1 + below(random, 100));
          bits += 8 * step.data.size();
        }
        break;
      case Kind::Align:
        bits = (bits + 7) / 8 * 8;
        break;
    }
    steps.push_back(step);
  }
  return steps;
}

void putStep(ZetFile f, const Step& step, BitStreamModel& model) {
  switch (step.kind) {
    case Kind::Bits:
      ZetFilePutBits(f, step.value, step.width);
      model.putBits(step.value, effectiveWidth(step.width));
      break;
    case Kind::Byte:
      ZetFilePut8(f, static_cast<std::uint8_t>(step.value));
      model.putBits(step.value, 8);
      break;
    case Kind::Word16:
      ZetFilePut16(f, static_cast<std::uint16_t>(step.value));
      model.putBits(step.value, 16);
      break;
    case Kind::Word32:
      ZetFilePut32(f, step.value);
      model.putBits(step.value, 32);
      break;
    case Kind::StreamBytes:
    case Kind::WholeBytes: {
      const auto size = static_cast<std::uint32_t>(step.data.size());
      const std::uint32_t put = step.kind == Kind::StreamBytes ? ZetFilePut(f, step.data.data(), size)
                                                                 : ZetFilePutNB(f, step.data.data(), size);
      EXPECT_EQ(put, size);
      for (char byte : step.data) model.putBits(static_cast<std::uint8_t>(byte), 8);
      break;
    }
    case Kind::Align:
      ZetFileByteAlign(f);
      model.byteAlign();
      break;
  }
}

void getStep(ZetFile f, const Step& step, std::uint64_t& bits) {
  switch (step.kind) {
    case Kind::Bits: {
      const std::uint32_t width = effectiveWidth(step.width);
      ASSERT_EQ(ZetFileGetBits(f, step.width), lowBits(step.value, width));
      bits += width;
      break;
    }
    case Kind::Byte:
      ASSERT_EQ(ZetFileGet8(f), static_cast<std::uint8_t>(step.value));
      bits += 8;
      break;
    case Kind::Word16:
      ASSERT_EQ(ZetFileGet16(f), static_cast<std::uint16_t>(step.value));
      bits += 16;
      break;
    case Kind::Word32:
      ASSERT_EQ(ZetFileGet32(f), step.value);
      bits += 32;
      break;
    case Kind::StreamBytes:
    case Kind::WholeBytes: {
      std::string got(step.data.size(), '\0');
      const auto size = static_cast<std::uint32_t>(got.size());
      const std::uint32_t read =
          step.kind == Kind::StreamBytes ? ZetFileGet(f, got.data(), size) : ZetFileGetNB(f, got.data(), size);
      ASSERT_EQ(read, size);
      ASSERT_EQ(got, step.data);
      bits += 8 * got.size();
      break;
    }
    case Kind::Align:
      ZetFileByteAlign(f);
      bits = (bits + 7) / 8 * 8;
      break;
  }
}

TEST(BitFileModel, MixedFieldsRoundTripWithEveryBufferSize) {
  TempDir dir;
  const std::string name = dir.file("stream.bin");
  for (unsigned seed : {1u, 2u, 3u}) {
    std::mt19937 random(seed);
    const std::vector<Step> steps = randomSteps(random, 2000);
    for (std::size_t i = 0; i < std::size(kBufferSizes); ++i) {
      const std::int32_t writeBuffer = kBufferSizes[i];
      const std::int32_t readBuffer = kBufferSizes[std::size(kBufferSizes) - 1 - i];
      SCOPED_TRACE(testing::Message() << "seed " << seed << ", write buffer " << writeBuffer << ", read buffer "
                                      << readBuffer);
      BitStreamModel model;
      ZetFile f = ZetFileCreate(writeBuffer, name.c_str());
      ASSERT_NE(f, nullptr);
      for (const Step& step : steps) {
        putStep(f, step, model);
        ASSERT_EQ(ZetFileGetPos(f), model.bitLength() / 8);
        ASSERT_EQ(ZetFileBitPos(f), model.bitLength() % 8);
      }
      ZetFileClose(f);
      ASSERT_EQ(readFile(name), model.bytes());

      f = ZetFileOpen(readBuffer, name.c_str(), ZET_FILE_READ);
      ASSERT_NE(f, nullptr);
      std::uint64_t bits = 0;
      for (const Step& step : steps) {
        getStep(f, step, bits);
        if (HasFatalFailure()) break;
        ASSERT_EQ(ZetFileGetPos(f), bits / 8);
        ASSERT_EQ(ZetFileBitPos(f), bits % 8);
      }
      ZetFileAlign(f, 1);
      EXPECT_TRUE(ZetFileAtEnd(f));
      ZetFileClose(f);
    }
  }
}

// Byte-level contents and position of a file opened for reading and writing.
struct FileModel {
  std::string bytes;
  std::uint64_t position = 0;

  void write(const std::string& data) {
    if (bytes.size() < position + data.size()) bytes.resize(position + data.size(), '\0');
    bytes.replace(position, data.size(), data);
    position += data.size();
  }
  std::string read(std::size_t count) {
    if (position >= bytes.size()) return {};
    std::string got = bytes.substr(position, count);
    position += got.size();
    return got;
  }
};

std::uint32_t littleEndian(const std::string& data) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < data.size(); ++i) value |= std::uint32_t{static_cast<std::uint8_t>(data[i])} << (8 * i);
  return value;
}

std::string littleEndianBytes(std::uint32_t value, std::size_t count) {
  std::string data;
  for (std::size_t i = 0; i < count; ++i) data.push_back(static_cast<char>(value >> (8 * i)));
  return data;
}

void randomCall(ZetFile f, FileModel& model, std::mt19937& random) {
  switch (below(random, 9)) {
    case 0: {
      const std::uint64_t target = below(random, static_cast<std::uint32_t>(model.bytes.size() + 64));
      ASSERT_EQ(ZetFileSetPos(f, static_cast<std::uint32_t>(target), 0), model.position);
      model.position = target;
      break;
    }
    case 1: {
      const std::string data = randomBytes(random, below(random, 10) == 0 ? 1 + below(random, 6000) : 1 + below(random, 200));
      ASSERT_EQ(ZetFilePutNB(f, data.data(), static_cast<std::uint32_t>(data.size())), data.size());
      model.write(data);
      break;
    }
    case 2: {
      const std::uint32_t count = below(random, 10) == 0 ? 1 + below(random, 6000) : 1 + below(random, 200);
      std::string got(count, '\0');
      const std::uint32_t read = ZetFileGetNB(f, got.data(), count);
      got.resize(read);
      ASSERT_EQ(got, model.read(count));
      break;
    }
    case 3: {
      const auto value = static_cast<std::uint8_t>(random());
      ZetFilePut8(f, value);
      model.write(littleEndianBytes(value, 1));
      break;
    }
    case 4:
      ASSERT_EQ(ZetFileGet8(f), littleEndian(model.read(1)));
      break;
    case 5: {
      const auto value = static_cast<std::uint32_t>(random());
      ZetFilePut32(f, value);
      model.write(littleEndianBytes(value, 4));
      break;
    }
    case 6:
      ASSERT_EQ(ZetFileGet32(f), littleEndian(model.read(4)));
      break;
    case 7:
      ASSERT_EQ(ZetFileGet16(f), littleEndian(model.read(2)));
      break;
    case 8:
      ASSERT_EQ(ZetFileSize(f), std::max<std::uint64_t>(model.bytes.size(), model.position));
      ASSERT_EQ(ZetFileAtEnd(f) != 0, model.position >= model.bytes.size());
      break;
  }
  ASSERT_EQ(ZetFileGetPos(f), model.position);
}

TEST(BitFileModel, InterleavedReadsAndWritesMatchTheFileContents) {
  TempDir dir;
  const std::string name = dir.file("mixed.bin");
  for (unsigned seed : {11u, 12u, 13u}) {
    for (std::int32_t bufferSize : {0, 1, 5, 64, 4096}) {
      SCOPED_TRACE(testing::Message() << "seed " << seed << ", buffer " << bufferSize);
      std::mt19937 random(seed);
      FileModel model{randomBytes(random, 3000)};
      writeFile(name, model.bytes);
      ZetFile f = ZetFileOpen(bufferSize, name.c_str(), ZET_FILE_READ_WRITE);
      ASSERT_NE(f, nullptr);
      for (int call = 0; call < 1500 && !HasFatalFailure(); ++call) randomCall(f, model, random);
      ZetFileClose(f);
      ASSERT_EQ(readFile(name), model.bytes);
    }
  }
}

}  // namespace
