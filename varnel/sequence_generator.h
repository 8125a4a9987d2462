// Turning the source frames of a profile into its whole output frame set.
#pragma once

#include <string>
#include <vector>

#include "generation_options.h"
#include "status.h"
#include "unit_profile.h"
#include "varnel_folders.h"

namespace varnel {

struct SequenceResult {
  std::string name;
  int framesWritten = 0;
  bool skipped = false;  // the dead body, when its source does not exist
};

struct GenerationReport {
  Status status = Status::success();
  std::vector<SequenceResult> sequences;  // those begun, in writing order
  int framesWritten = 0;
  std::string outputFolder;
};

// Checks the profile and the files the run depends on before writing
// anything; a failure during the run stops it at that frame, keeping the
// frames already written.
GenerationReport GenerateSequence(const UnitProfile& profile, const GenerationOptions& options,
                                  const VarnelFolders& folders);

}  // namespace varnel
