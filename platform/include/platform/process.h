// Starting programs from Windows-style command lines and handing files or
// web addresses to the desktop's default handler.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Splits a command line into arguments by the Windows rules: blanks separate
// arguments, double quotes group, 2n backslashes before a quote give n
// backslashes and a quote that toggles grouping, 2n+1 give n backslashes and
// a literal quote, "" inside a quoted part gives a literal quote, other
// backslashes are literal.
std::vector<std::string> splitCommandLine(const char* commandLine);

// Starts the program detached, with the command line split as above (the
// first argument names the program). Returns false with a reason on failure.
bool startProgram(const std::string& program, const char* commandLine, const char* workingFolder,
                  std::string* error);

// Opens a file or address with the desktop's handler (xdg-open).
bool openWithDesktop(const std::string& fileOrAddress, std::string* error);

}  // namespace platform
