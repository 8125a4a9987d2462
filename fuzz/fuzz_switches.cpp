// Feeds arbitrary command lines through the switch parser and the text
// helpers, the way tools call them: the line in a buffer of at least 256
// bytes, switch values into 256-byte buffers.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "zetutil.h"

namespace {

constexpr std::size_t kBufferSize = 256;

struct Line {
  explicit Line(const uint8_t* data, std::size_t size) : bytes(std::max(size + 1, kBufferSize), '\0') {
    std::memcpy(bytes.data(), data, size);
  }
  char* text() { return bytes.data(); }
  std::size_t length() const { return std::strlen(bytes.data()); }

  std::vector<char> bytes;
};

// Helpers only ever cut text out of a line; one that grows it has gone wrong.
void expectNoGrowth(const Line& line, std::size_t before) {
  if (line.length() > before) std::abort();
}

void readSwitches(Line& line, uint8_t character) {
  const std::size_t before = line.length();
  GetSwitch(line.text(), character);
  GetSwitchNum(line.text(), character, 7);
  int32_t numerator = 0;
  int32_t denominator = 0;
  GetSwitchFractional(line.text(), character, &numerator, &denominator, 30, 1);
  if (denominator == 0) std::abort();
  char value[kBufferSize];
  GetSwitchStr(line.text(), character, value, "default");
  if (std::strlen(value) >= kBufferSize) std::abort();
  expectNoGrowth(line, before);
}

void splitItems(Line& line) {
  Line copy = line;
  std::vector<char> item(line.bytes.size());
  for (int round = 0; round < 4; ++round) {
    GetAndRemoveFirst(item.data(), line.text());
    GetAndRemoveFirstQuoted(item.data(), copy.text());
  }
}

void parseNumbers(const Line& line) {
  int32_t numerator = 0;
  int32_t denominator = 0;
  const char* end = atofr(line.bytes.data(), &numerator, &denominator);
  if (end < line.bytes.data() || end > line.bytes.data() + line.length() || denominator == 0) std::abort();
  atoU32(line.bytes.data());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Line line(data, size);
  const std::size_t length = line.length();
  parseNumbers(line);

  Line switches = line;
  RemoveMinusSwitches(switches.text());
  expectNoGrowth(switches, length);
  // The first byte also serves as a switch character, beside the usual ones.
  const uint8_t characters[] = {size > 0 ? data[0] : uint8_t{'O'}, 'O', 'L', 'M', '-'};
  for (const uint8_t character : characters) readSwitches(switches, character);

  Line trimmed = line;
  Trim(trimmed.text());
  TrimL(trimmed.text());
  TrimAscii(trimmed.text());
  RemoveQuotes(trimmed.text());
  expectNoGrowth(trimmed, length);

  splitItems(line);
  return 0;
}
