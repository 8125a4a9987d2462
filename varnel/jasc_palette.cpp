#include "jasc_palette.h"

#include <optional>
#include <vector>

#include "file_bytes.h"

namespace varnel {

namespace {

// Far more than 256 entry lines need; anything larger is not a palette.
constexpr std::size_t kMaxPaletteFileBytes = 64 * 1024;

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::optional<std::uint8_t> channelValue(const std::string& text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > 255) return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

// red, green and blue separated by single blanks; trailing blanks are allowed.
std::optional<PaletteEntry> entryOfLine(std::string line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
  const std::size_t firstBlank = line.find(' ');
  if (firstBlank == std::string::npos) return std::nullopt;
  const std::size_t secondBlank = line.find(' ', firstBlank + 1);
  if (secondBlank == std::string::npos) return std::nullopt;
  const auto red = channelValue(line.substr(0, firstBlank));
  const auto green = channelValue(line.substr(firstBlank + 1, secondBlank - firstBlank - 1));
  const auto blue = channelValue(line.substr(secondBlank + 1));
  if (!red || !green || !blue) return std::nullopt;
  return PaletteEntry{*blue, *green, *red};
}

}  // namespace

Status readJascPalette(const std::string& path, Palette& palette) {
  const std::string quoted = "The palette file \"" + path + "\"";
  const std::optional<std::string> bytes = readFileBytes(path, kMaxPaletteFileBytes);
  if (!bytes) return Status::failure(quoted + " cannot be read.");
  const std::vector<std::string> lines = splitLines(*bytes);
  if (lines.size() < 3 || lines[0] != "JASC-PAL" || lines[1] != "0100") {
    return Status::failure(quoted + " is not a JASC palette: it must begin with the lines JASC-PAL and 0100.");
  }
  if (lines[2] != "16" && lines[2] != "256") {
    return Status::failure(quoted + " gives " + lines[2] + " entries; a palette has 16 or 256.");
  }
  const std::size_t count = lines[2] == "16" ? 16 : 256;
  if (lines.size() - 3 < count) {
    return Status::failure(quoted + " holds only " + std::to_string(lines.size() - 3) + " of its " +
                           std::to_string(count) + " entries.");
  }
  Palette entries;
  for (std::size_t i = 0; i < count; ++i) {
    const std::optional<PaletteEntry> entry = entryOfLine(lines[3 + i]);
    if (!entry) {
      return Status::failure(quoted + ", line " + std::to_string(4 + i) + ": \"" + lines[3 + i] +
                             "\" is not three numbers from 0 to 255.");
    }
    entries.push_back(*entry);
  }
  palette = std::move(entries);
  return Status::success();
}

std::string formatJascPalette(const Palette& palette) {
  std::string text = "JASC-PAL\r\n0100\r\n" + std::to_string(palette.size()) + "\r\n";
  for (const PaletteEntry& entry : palette) {
    text += std::to_string(entry.Red) + " " + std::to_string(entry.Green) + " " + std::to_string(entry.Blue) + "\r\n";
  }
  return text;
}

}  // namespace varnel
