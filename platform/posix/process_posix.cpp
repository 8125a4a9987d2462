#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/process.h"

namespace platform {
namespace {

// What the started program's side writes back through the pipe when it
// cannot go on; an exec that succeeds closes the pipe without a word.
struct StartFailure {
  enum Step : int { Fork, ChangeFolder, Exec } step;
  int error;
};

bool isExecutableFile(const std::string& name) {
  struct stat status {};
  return stat(name.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(name.c_str(), X_OK) == 0;
}

// The executable a name stands for: the name itself when it has a '/', else
// the first executable file of that name in a folder of PATH.
std::optional<std::string> findProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) return name;
  const char* path = std::getenv("PATH");
  std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  for (;;) {
    const std::size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    // An empty entry stands for the current folder.
    const std::string candidate = (folder.empty() ? std::string(".") : std::string(folder)) + "/" + name;
    if (isExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) return std::nullopt;
    folders.remove_prefix(colon + 1);
  }
}

bool fail(std::string* error, const std::string& reason) {
  if (error) *error = reason;
  return false;
}

// Only async-signal-safe calls from here until exec: the parent may run
// other threads, whose locks the forked copy inherits held.
[[noreturn]] void reportAndExit(int pipeFd, StartFailure::Step step) {
  const StartFailure failure{step, errno};
  // A pipe write this small does not fail short of a broken system; if it
  // did, there would be no one left to tell.
  [[maybe_unused]] const ssize_t written = write(pipeFd, &failure, sizeof failure);
  _exit(127);
}

[[noreturn]] void runDetachedChild(int pipeFd, const char* executable, char* const* argv, const char* workingFolder) {
  setsid();
  // The middle process exits at once, so the program becomes a child of
  // init (or the nearest subreaper) and never lingers as our zombie.
  const pid_t program = fork();
  if (program < 0) reportAndExit(pipeFd, StartFailure::Fork);
  if (program > 0) _exit(0);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction defaultAction {};
  defaultAction.sa_handler = SIG_DFL;
  sigaction(SIGPIPE, &defaultAction, nullptr);
  if (workingFolder && chdir(workingFolder) != 0) reportAndExit(pipeFd, StartFailure::ChangeFolder);
  execv(executable, argv);
  reportAndExit(pipeFd, StartFailure::Exec);
}

std::string failureText(const StartFailure& failure, const std::string& name, const char* workingFolder) {
  const std::string reason = std::error_code(failure.error, std::generic_category()).message();
  switch (failure.step) {
    case StartFailure::ChangeFolder:
      return "cannot start " + name + " in " + workingFolder + ": " + reason;
    case StartFailure::Fork:
    case StartFailure::Exec:
      break;
  }
  return "cannot start " + name + ": " + reason;
}

// `name` is the program as the caller named it, for messages.
bool startDetached(const std::string& name, const std::string& executable, std::vector<std::string> arguments,
                   const char* workingFolder, std::string* error) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  if (workingFolder && !*workingFolder) workingFolder = nullptr;

  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) {
    return fail(error, failureText({StartFailure::Fork, errno}, name, workingFolder));
  }
  const pid_t middle = fork();
  if (middle == 0) {
    close(pipeFds[0]);
    runDetachedChild(pipeFds[1], executable.c_str(), argv.data(), workingFolder);
  }
  const int forkError = errno;
  close(pipeFds[1]);
  if (middle < 0) {
    close(pipeFds[0]);
    return fail(error, failureText({StartFailure::Fork, forkError}, name, workingFolder));
  }
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  StartFailure failure{};
  ssize_t got;
  do {
    got = read(pipeFds[0], &failure, sizeof failure);
  } while (got < 0 && errno == EINTR);
  close(pipeFds[0]);
  if (got == static_cast<ssize_t>(sizeof failure)) return fail(error, failureText(failure, name, workingFolder));
  return true;
}

}  // namespace

bool startProgram(const std::string& program, const char* commandLine, const char* workingFolder,
                  std::string* error) {
  std::vector<std::string> arguments = splitCommandLine(commandLine);
  const std::string name = !program.empty() ? program : arguments.empty() ? std::string() : arguments.front();
  if (name.empty()) return fail(error, "cannot start a program: no program named");
  if (arguments.empty()) arguments.push_back(name);
  const auto executable = findProgram(name);
  if (!executable) return fail(error, "cannot start " + name + ": not found on PATH");
  return startDetached(name, *executable, std::move(arguments), workingFolder, error);
}

bool openWithDesktop(const std::string& fileOrAddress, std::string* error) {
  if (fileOrAddress.empty()) return fail(error, "cannot open an empty name");
  const auto opener = findProgram("xdg-open");
  if (!opener) {
    return fail(error, "cannot open " + fileOrAddress + ": xdg-open was not found on PATH (it comes with xdg-utils)");
  }
  // A name starting with '-' would be read as an option of xdg-open.
  const std::string target = fileOrAddress.front() == '-' ? "./" + fileOrAddress : fileOrAddress;
  return startDetached("xdg-open", *opener, {"xdg-open", target}, nullptr, error);
}

}  // namespace platform
