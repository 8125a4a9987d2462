// Message boxes and the open-file dialog of the main window.
#pragma once

#include "user_dialogs.h"

class QWidget;

namespace varnel {

class QtUserDialogs : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent) : parent_(parent) {}

  void showMessage(const std::string& text) override;
  std::optional<std::string> chooseFile(const std::string& title, const std::string& filter,
                                        const std::string& presetPath) override;

 private:
  QWidget* parent_;
};

}  // namespace varnel
