// Which names a profile may have: a name is also the name of the profile's
// section in the profile file, so it must come back unchanged after a save and
// a load.
#pragma once

#include <string>

namespace varnel {

// Empty for a usable name; otherwise the reason, to follow "cannot be used: ".
std::string profileNameProblem(const std::string& name);

}  // namespace varnel
