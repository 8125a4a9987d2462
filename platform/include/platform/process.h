// Starting programs from Windows-style command lines and handing files or
// web addresses to the desktop's default handler.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Splits a command line into arguments by the Windows rules: spaces and tabs
// separate arguments, double quotes group (so "" alone is an empty argument),
// 2n backslashes before a quote give n backslashes and a quote that toggles
// grouping, 2n+1 give n backslashes and a literal quote, "" inside a quoted
// part gives a literal quote and the part goes on, other backslashes are
// literal.
std::vector<std::string> splitCommandLine(const char* commandLine);

// Starts `program` detached from this process (it is looked up on PATH when
// its name has no '/'; an empty name takes the first argument), with the
// command line split as above as its arguments, the first being the name the
// program sees for itself. An empty or missing working folder keeps the
// current one. Returns false with a reason when the program cannot be found
// or started; what it does after it started is not reported.
bool startProgram(const std::string& program, const char* commandLine, const char* workingFolder,
                  std::string* error);

// Opens a file or address with the desktop's handler (xdg-open, found on
// PATH), detached as above. Returns false with a reason when there is no
// handler program.
bool openWithDesktop(const std::string& fileOrAddress, std::string* error);

}  // namespace platform
