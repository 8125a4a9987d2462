// Batch work without a window: "--list" prints the profiles, "--create"
// makes the output sequence of one profile.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "varnel_folders.h"

namespace varnel {

// True when the first argument is --list, --create or --help; other arguments
// belong to the window toolkit.
bool wantsCommandLineMode(const std::vector<std::string>& arguments);

// Runs it and returns the exit code: 0 on success, 1 when the work failed, 2
// for arguments that cannot be understood.
int runCommandLineMode(const std::vector<std::string>& arguments, const VarnelFolders& folders, std::ostream& out,
                       std::ostream& err);

}  // namespace varnel
