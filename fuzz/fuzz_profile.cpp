// Ini text of any shape: parsing, every lookup and the edits must neither
// fault nor break the promises of the document (the text comes back byte for
// byte, an edit changes only its own key or section).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/profile_document.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// Every value the document gives, to compare before and after an edit.
platform::ProfileEntries everyValue(const platform::ProfileDocument& document) {
  platform::ProfileEntries values;
  for (const std::string& section : document.sectionNames()) {
    for (const std::string& key : document.keys(section)) {
      const auto value = document.value(section, key);
      check(value.has_value());
      values.emplace_back(section + "\n" + key, *value);
    }
    check(document.entries(section).size() == document.keys(section).size());
  }
  return values;
}

// The values outside `section` (and, when given, outside its `key`).
platform::ProfileEntries valuesApartFrom(const platform::ProfileEntries& values, std::string_view section,
                                         std::string_view key = {}) {
  auto folded = [](std::string text) {
    for (char& c : text) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
  };
  const std::string sectionPrefix = folded(std::string(section) + "\n");
  platform::ProfileEntries kept;
  for (const auto& entry : values) {
    const std::string name = folded(entry.first);
    const bool inSection = name.compare(0, sectionPrefix.size(), sectionPrefix) == 0;
    if (!inSection || (!key.empty() && name != sectionPrefix + folded(std::string(key)))) kept.push_back(entry);
  }
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const platform::ProfileDocument document(text);
  check(document.text() == text);
  const platform::ProfileEntries before = everyValue(document);

  // Edits in the first section of the input, or in a new one.
  const auto sections = document.sectionNames();
  const std::string section = sections.empty() ? "Zet Video Tools" : sections.front();

  platform::ProfileDocument edited = document;
  if (edited.setValue(section, "FuzzKey", "fuzz value")) {
    platform::ProfileDocument reread(edited.text());
    check(reread.value(section, "fuzzkey") == "fuzz value");
    const auto untouched = valuesApartFrom(before, section, "FuzzKey");
    check(valuesApartFrom(everyValue(reread), section, "FuzzKey") == untouched);
    check(reread.deleteKey(section, "FuzzKey"));
    check(!reread.value(section, "FuzzKey"));
    check(valuesApartFrom(everyValue(reread), section, "FuzzKey") == untouched);
  }

  platform::ProfileDocument removed = document;
  removed.deleteSection(section);
  const platform::ProfileDocument rereadRemoved(removed.text());
  check(rereadRemoved.keys(section).empty());
  check(everyValue(rereadRemoved) == valuesApartFrom(before, section));
  return 0;
}
