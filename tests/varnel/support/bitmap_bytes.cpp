#include "support/bitmap_bytes.h"

namespace varnel::testing {

namespace {

void put16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

}  // namespace

std::string bitmapBytes(const BitmapBytesSpec& spec) {
  const std::uint32_t offset = 54 + 4 * static_cast<std::uint32_t>(spec.paletteEntries) + spec.extraGap;
  const std::uint32_t rowLength = ((static_cast<std::uint32_t>(spec.width) * spec.bitCount / 8) + 3) & ~3u;
  std::vector<std::uint8_t> rows = spec.rowBytes;
  if (rows.empty() && spec.width > 0 && spec.height > 0 && spec.height < 4096) {
    rows.assign(static_cast<std::size_t>(rowLength) * static_cast<std::size_t>(spec.height), 0);
  }
  std::string out = "BM";
  put32(out, offset + static_cast<std::uint32_t>(rows.size()));
  put32(out, 0);
  put32(out, offset);
  put32(out, spec.headerSize);
  put32(out, static_cast<std::uint32_t>(spec.width));
  put32(out, static_cast<std::uint32_t>(spec.height));
  put16(out, 1);
  put16(out, spec.bitCount);
  put32(out, spec.compression);
  put32(out, static_cast<std::uint32_t>(rows.size()));
  put32(out, 3780);
  put32(out, 3780);
  put32(out, 0);
  put32(out, 0);
  for (int i = 0; i < spec.paletteEntries; ++i) {
    // Entry i is red i, green 255 - i, blue i / 2.
    out += static_cast<char>(i / 2);
    out += static_cast<char>(255 - i);
    out += static_cast<char>(i);
    out += '\0';
  }
  out.append(spec.extraGap, '\x77');
  out.append(rows.begin(), rows.end());
  return out;
}

}  // namespace varnel::testing
