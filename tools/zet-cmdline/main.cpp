// zet-cmdline: takes a tool's command line apart with the toolkit's helpers
// and prints what each switch and name comes to. Without arguments it works
// on a sample command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "zetutil.h"

namespace {

constexpr const char* kSampleLine =
    "clips/intro.avi /O\"out/intro final.mvr\" /L3 /M30000;1001 /B-2 /V /-L /L7 /X";

// Every buffer the helpers rewrite in place is a 256-byte path buffer.
using PathBuffer = char[256];

bool copyArgument(PathBuffer& buffer, const std::string& text) {
  if (text.size() >= sizeof buffer) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string line = kSampleLine;
  if (argc > 1) {
    line.clear();
    for (int i = 1; i < argc; ++i) {
      if (i > 1) line += ' ';
      line += argv[i];
    }
  }

  PathBuffer commandLine;
  if (!copyArgument(commandLine, line)) {
    std::fprintf(stderr, "zet-cmdline: the command line is longer than 255 characters\n");
    return 2;
  }
  std::printf("command line:        %s\n", commandLine);
  RemoveMinusSwitches(commandLine);
  std::printf("after cancellations: %s\n", commandLine);

  const unsigned startMs = ZetTimerRead();

  std::printf("/V flag:             %s\n", GetSwitch(commandLine, 'V') ? "on" : "off");
  std::printf("/L number:           %d\n", GetSwitchNum(commandLine, 'L', 0));
  std::printf("/B number:           %d\n", GetSwitchNum(commandLine, 'B', 0));
  int32_t numerator = 0, denominator = 0;
  GetSwitchFractional(commandLine, 'M', &numerator, &denominator, 30, 1);
  std::printf("/M frame rate:       %d/%d (%.3f frames per second)\n", numerator, denominator,
              denominator ? static_cast<double>(numerator) / denominator : 0.0);
  PathBuffer output;
  GetSwitchStr(commandLine, 'O', output, "");
  std::printf("/O output:           %s\n", output);
  std::printf("/X flag:             %s\n", GetSwitch(commandLine, 'X') ? "on" : "off");

  Trim(commandLine);
  std::printf("free text left:      %s\n", commandLine);
  PathBuffer input;
  GetAndRemoveFirstQuoted(input, commandLine);
  std::printf("first name:          %s\n", input);

  if (input[0]) {
    const char* extension = HasExtension(input);
    std::printf("extension:           %s\n", extension ? extension : "(none)");
    ExpandFileName(input);
    std::printf("full path:           %s\n", input);
    PathBuffer folder;
    std::memcpy(folder, input, sizeof folder);
    GetFilePieces(folder, 1, 1, 0, 0);
    std::printf("its folder:          %s\n", folder);
    PathBuffer temporary;
    GetTempName(temporary, folder, "ZT", 0x1234);
    std::printf("temporary name:      %s\n", temporary);
  }
  if (output[0]) {
    ExpandFileName(output);
    std::printf("output full path:    %s\n", output);
    std::printf("input differs:       %s\n", CheckForDup(input, output) ? "yes" : "no");
  }

  char number[32];
  std::printf("4294967296 bytes:    %s\n", CommaNum(number, 4294967296ull));
  char elapsed[64];
  std::printf("7260000 ms:          %s\n", GetElapsedTime(elapsed, 7260000));
  std::printf("this run took:       %s\n", GetElapsedTime(elapsed, ZetTimerRead() - startMs));
  return 0;
}
