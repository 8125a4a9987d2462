#include "command_line_mode.h"

#include <optional>
#include <ostream>

#include "profile_store.h"
#include "sequence_generator.h"

namespace varnel {

namespace {

constexpr const char* kUsage =
    "Usage: varnel --list\n"
    "       varnel --create PROFILE [--crouch] [--flying] [--alt-torso] [--palette none|ra2|combo]\n"
    "                               [--remap-exact] [--remap-close] [--no-bg]\n";

struct CreateRequest {
  std::string profileName;
  GenerationOptions options;
};

std::optional<CreateRequest> parseCreate(const std::vector<std::string>& arguments, std::ostream& err) {
  if (arguments.size() < 2 || arguments[1].rfind("--", 0) == 0) {
    err << "varnel: --create needs the name of a profile.\n" << kUsage;
    return std::nullopt;
  }
  CreateRequest request;
  request.profileName = arguments[1];
  for (std::size_t i = 2; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--crouch") {
      request.options.canCrouch = true;
    } else if (option == "--flying") {
      request.options.flyingSuit = true;
    } else if (option == "--alt-torso") {
      request.options.altTorso = true;
    } else if (option == "--remap-exact") {
      request.options.remapExact = true;
    } else if (option == "--remap-close") {
      request.options.remapClose = true;
    } else if (option == "--no-bg") {
      request.options.ra2Background = false;
    } else if (option == "--palette" && i + 1 < arguments.size() &&
               (arguments[i + 1] == "none" || arguments[i + 1] == "ra2" || arguments[i + 1] == "combo")) {
      const std::string& choice = arguments[++i];
      request.options.palette = choice == "ra2"     ? ConversionPalette::Ra2
                                : choice == "combo" ? ConversionPalette::Combo
                                                    : ConversionPalette::None;
    } else {
      err << "varnel: unknown option \"" << option << "\".\n" << kUsage;
      return std::nullopt;
    }
  }
  return request;
}

int listProfiles(const VarnelFolders& folders, std::ostream& out, std::ostream& err) {
  const StoredProfiles stored = loadProfiles(folders.ProfilesIni);
  if (!stored.status) {
    err << "varnel: " << stored.status.message() << '\n';
    return 1;
  }
  for (const UnitProfile& profile : stored.profiles) out << profile.Name << '\n';
  return 0;
}

int createSequence(const CreateRequest& request, const VarnelFolders& folders, std::ostream& out,
                   std::ostream& err) {
  const StoredProfiles stored = loadProfiles(folders.ProfilesIni);
  if (!stored.status) {
    err << "varnel: " << stored.status.message() << '\n';
    return 1;
  }
  const UnitProfile* profile = nullptr;
  for (const UnitProfile& candidate : stored.profiles) {
    if (candidate.Name == request.profileName) {
      profile = &candidate;
      break;
    }
  }
  if (!profile) {
    err << "varnel: there is no profile named \"" << request.profileName << "\" in \"" << folders.ProfilesIni
        << "\".\n";
    return 1;
  }
  const GenerationReport report = GenerateSequence(*profile, request.options, folders);
  for (const SequenceResult& sequence : report.sequences) {
    out << sequence.name << ": ";
    if (sequence.skipped) {
      out << "skipped, no dead-body source\n";
    } else {
      out << sequence.framesWritten << (sequence.framesWritten == 1 ? " frame\n" : " frames\n");
    }
  }
  if (!report.status) {
    err << "varnel: " << report.status.message() << '\n';
    return 1;
  }
  out << "Wrote " << report.framesWritten << " frames of \"" << profile->Name << "\" to \"" << report.outputFolder
      << "\".\n";
  return 0;
}

}  // namespace

bool wantsCommandLineMode(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return false;
  const std::string& first = arguments.front();
  return first == "--list" || first == "--create" || first == "--help";
}

int runCommandLineMode(const std::vector<std::string>& arguments, const VarnelFolders& folders, std::ostream& out,
                       std::ostream& err) {
  if (arguments.size() == 1 && arguments.front() == "--list") return listProfiles(folders, out, err);
  if (!arguments.empty() && arguments.front() == "--create") {
    const std::optional<CreateRequest> request = parseCreate(arguments, err);
    return request ? createSequence(*request, folders, out, err) : 2;
  }
  if (arguments.size() == 1 && arguments.front() == "--help") {
    out << kUsage;
    return 0;
  }
  err << kUsage;
  return 2;
}

}  // namespace varnel
