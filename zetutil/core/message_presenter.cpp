#include "message_presenter.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace zet {
namespace {

class TerminalPresenter final : public MessagePresenter {
 public:
  void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
    const char* kind = icon == MessageIcon::Stop ? "error" : "note";
    if (caption.empty()) {
      std::fprintf(stderr, "%s: %s\n", kind, text.c_str());
    } else {
      std::fprintf(stderr, "%s: %s: %s\n", kind, caption.c_str(), text.c_str());
    }
  }

  bool askYesNo(const std::string& question, const std::string& caption, bool noIsDefault) override {
    const bool defaultAnswer = !noIsDefault;
    const char* choices = noIsDefault ? "[y/N]" : "[Y/n]";
    if (!caption.empty()) std::fprintf(stderr, "%s: ", caption.c_str());
    if (!isatty(STDIN_FILENO)) {
      std::fprintf(stderr, "%s %s %s\n", question.c_str(), choices, defaultAnswer ? "yes" : "no");
      return defaultAnswer;
    }
    std::fprintf(stderr, "%s %s ", question.c_str(), choices);
    std::fflush(stderr);
    char answer[16] = {};
    if (!std::fgets(answer, sizeof answer, stdin)) return defaultAnswer;
    if (answer[0] == 'y' || answer[0] == 'Y') return true;
    if (answer[0] == 'n' || answer[0] == 'N') return false;
    return defaultAnswer;
  }
};

TerminalPresenter terminalPresenter;
std::atomic<MessagePresenter*> installedPresenter{nullptr};

}  // namespace

MessagePresenter& messagePresenter() {
  MessagePresenter* presenter = installedPresenter.load(std::memory_order_acquire);
  return presenter ? *presenter : terminalPresenter;
}

void setMessagePresenter(MessagePresenter* presenter) {
  installedPresenter.store(presenter, std::memory_order_release);
}

}  // namespace zet
