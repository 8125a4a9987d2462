// Where zetutil's own messages and questions go. The default presenter uses
// the terminal: messages on stderr, questions read from a terminal, the
// default answer when standard input is not a terminal. Windows of the
// library (and tests) install their own presenter.
#pragma once

#include <string>

namespace zet {

enum class MessageIcon { Information, Stop };

class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;
  virtual void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
  // True for Yes.
  virtual bool askYesNo(const std::string& question, const std::string& caption, bool noIsDefault) = 0;
};

MessagePresenter& messagePresenter();
// Null restores the terminal presenter. The presenter must outlive its use.
void setMessagePresenter(MessagePresenter* presenter);

}  // namespace zet
