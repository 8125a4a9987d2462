// The produced frames of an output set, as listed for preview: a blank first
// entry, then every file of the output folder that starts with the set's
// prefix (case kept) and has the set's extension (in any case).
#pragma once

#include <string>
#include <vector>

namespace varnel {

struct OutputSequenceList {
  std::vector<std::string> items{" "};
  std::string folder;  // empty when nothing was listed
};

OutputSequenceList RefreshOutputList(const std::string& outputFile);

}  // namespace varnel
