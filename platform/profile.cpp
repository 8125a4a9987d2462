#include "platform/profile.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <mutex>

#include "platform/file.h"
#include "platform/profile_document.h"

namespace platform {
namespace {

// A settings file is small; anything larger is not one and is never loaded
// into memory whole.
constexpr std::uint64_t kLargestProfile = 16u << 20;

// The document of `file`: empty when the file does not exist, nothing when it
// exists but cannot be read whole, so that a write never replaces what it
// could not see.
std::optional<ProfileDocument> loadDocument(const std::string& file) {
  const FileHandle handle = openFile(file.c_str(), FileOpenOptions{});
  if (handle == kInvalidFile) {
    if (fileExists(file.c_str())) return std::nullopt;
    return ProfileDocument{};
  }
  std::string text;
  char buffer[16384];
  std::int64_t got;
  while ((got = readFile(handle, buffer, sizeof buffer)) > 0 && text.size() <= kLargestProfile) {
    text.append(buffer, static_cast<std::size_t>(got));
  }
  closeFile(handle);
  if (got < 0 || text.size() > kLargestProfile) return std::nullopt;
  return ProfileDocument(text);
}

ProfileDocument documentForReading(const std::string& file) { return loadDocument(file).value_or(ProfileDocument{}); }

enum class Edit { Refused, Unchanged, Changed };

// Serialises the read-modify-write of the writers within the process.
std::mutex& writerMutex() {
  static std::mutex mutex;
  return mutex;
}

// Loads the file, applies `edit` and stores the result when it changed
// something; false when the file cannot be read whole, the edit is refused,
// or the file cannot be written. Creates the file and its folder when needed.
template <typename Editor>
bool editProfile(const std::string& file, Editor edit) {
  const std::lock_guard lock(writerMutex());
  auto document = loadDocument(file);
  if (!document) return false;
  const Edit outcome = edit(*document);
  if (outcome != Edit::Changed) return outcome == Edit::Unchanged;
  const std::filesystem::path folder = std::filesystem::path(file).parent_path();
  std::error_code ignored;
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  return replaceFileContents(file.c_str(), document->text());
}

}  // namespace

std::string profileString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& defaultValue) {
  return documentForReading(file).value(section, key).value_or(defaultValue);
}

int profileInt(const std::string& file, const std::string& section, const std::string& key, int defaultValue) {
  const auto value = documentForReading(file).value(section, key);
  if (!value) return defaultValue;
  std::size_t position = 0;
  const bool negative = position < value->size() && (*value)[position] == '-';
  if (position < value->size() && ((*value)[position] == '-' || (*value)[position] == '+')) ++position;
  const std::size_t firstDigit = position;
  // Long runs of digits saturate instead of overflowing.
  long long magnitude = 0;
  while (position < value->size() && (*value)[position] >= '0' && (*value)[position] <= '9') {
    magnitude = std::min<long long>(magnitude * 10 + ((*value)[position] - '0'), 1LL + INT_MAX);
    ++position;
  }
  if (position == firstDigit) return defaultValue;
  const long long number = negative ? -magnitude : magnitude;
  return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}

ProfileEntries profileSection(const std::string& file, const std::string& section) {
  return documentForReading(file).entries(section);
}

std::vector<std::string> profileSectionNames(const std::string& file) {
  return documentForReading(file).sectionNames();
}

std::vector<std::string> profileKeys(const std::string& file, const std::string& section) {
  return documentForReading(file).keys(section);
}

bool writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::optional<std::string>& value) {
  return editProfile(file, [&](ProfileDocument& document) {
    if (!value) return document.deleteKey(section, key) ? Edit::Changed : Edit::Unchanged;
    return document.setValue(section, key, *value) ? Edit::Changed : Edit::Refused;
  });
}

bool deleteProfileSection(const std::string& file, const std::string& section) {
  return editProfile(file, [&](ProfileDocument& document) {
    return document.deleteSection(section) ? Edit::Changed : Edit::Unchanged;
  });
}

}  // namespace platform
