#include "profile_names.h"

#include <algorithm>

#include "standard_functions.h"

namespace varnel {

std::string profileNameProblem(const std::string& name) {
  if (name.empty()) return "a profile needs a name";
  if (isBlank(name.front()) || isBlank(name.back())) return "it begins or ends with a blank";
  if (std::any_of(name.begin(), name.end(), [](char c) { return c != ' ' && isBlank(c); })) {
    return "it contains a control character";
  }
  for (char c : std::string_view("]=;")) {
    if (name.find(c) != std::string::npos) return std::string("it contains \"") + c + "\"";
  }
  // The profile file reader drops one pair of enclosing quotes from values.
  if (name.size() >= 2 && name.front() == '"' && name.back() == '"') return "it is enclosed in quotes";
  if (equalsIgnoringCase(name, "General") || equalsIgnoringCase(name, "Profiles")) {
    return "that name is kept for the program's own settings";
  }
  return {};
}

}  // namespace varnel
