#include "output_sequence_list.h"

#include "platform/file.h"
#include "standard_functions.h"

namespace varnel {

OutputSequenceList RefreshOutputList(const std::string& outputFile) {
  OutputSequenceList list;
  const SplitPathResult parts = SplitPath(outputFile);
  if (!FolderExists(parts.folder, true)) return list;
  const std::string extension = GetExtension(parts.fileName);
  const std::string base = StripExtension(parts.fileName);
  // Five characters are as long as the longest frame number, the dead body's "-0999".
  if (base.size() < 5) return list;
  const std::string prefix = base.substr(0, base.size() - 5);
  list.folder = parts.folder;
  for (const platform::FolderEntry& entry : platform::listFolder(parts.folder.c_str())) {
    if (entry.isDirectory || entry.name.compare(0, prefix.size(), prefix) != 0) continue;
    const bool hasDot = entry.name.find('.', prefix.size()) != std::string::npos;
    if (hasDot && GetExtension(entry.name) == extension) list.items.push_back(entry.name);
  }
  return list;
}

}  // namespace varnel
