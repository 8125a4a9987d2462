// The questions and messages the main window puts to the user. The window
// gives a Qt implementation; tests answer them in code.
#pragma once

#include <optional>
#include <string>

namespace varnel {

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  virtual void showMessage(const std::string& text) = 0;
  // The chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> chooseFile(const std::string& title, const std::string& filter,
                                                const std::string& presetPath) = 0;
};

}  // namespace varnel
