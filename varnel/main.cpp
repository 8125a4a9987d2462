// Varnel: opens the main window, or works from the command line when the
// first argument is an option.
#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "command_line_mode.h"
#include "qt/main_window.h"
#include "varnel_folders.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (varnel::wantsCommandLineMode(arguments)) {
    return varnel::runCommandLineMode(arguments, varnel::installedFolders(), std::cout, std::cerr);
  }
  QApplication application(argc, argv);
  varnel::MainWindow window(varnel::installedFolders());
  window.show();
  return application.exec();
}
