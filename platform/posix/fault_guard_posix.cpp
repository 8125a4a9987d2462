#include <setjmp.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cxxabi.h>
#include <iterator>
#include <memory>
#include <mutex>

#include "platform/fault_guard.h"

namespace platform {
namespace {

constexpr int kGuardedSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};

// One per guarded call on the thread's stack; the innermost one catches.
struct GuardFrame {
  sigjmp_buf jump;
  GuardFrame* outer = nullptr;
  volatile sig_atomic_t signalNumber = 0;
};

thread_local GuardFrame* innermostFrame = nullptr;

// The handlers that were in place before ours, for signals outside a guard.
struct sigaction previousActions[std::size(kGuardedSignals)];

std::once_flag handlersInstalled;

const struct sigaction& previousAction(int signalNumber) {
  const auto* found = std::find(std::begin(kGuardedSignals), std::end(kGuardedSignals), signalNumber);
  return previousActions[found - std::begin(kGuardedSignals)];
}

// A fault of this thread's own code, or a signal this process sent itself
// (raise); a signal another process sent is not the guarded call's doing.
bool isOwnSignal(const siginfo_t* info) {
  return info->si_code > 0 || ((info->si_code == SI_TKILL || info->si_code == SI_USER) && info->si_pid == getpid());
}

void passOn(int signalNumber, siginfo_t* info, void* context) {
  const struct sigaction& previous = previousAction(signalNumber);
  if (previous.sa_flags & SA_SIGINFO) {
    previous.sa_sigaction(signalNumber, info, context);
    return;
  }
  if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
    previous.sa_handler(signalNumber);
    return;
  }
  // A sent signal that was ignored stays ignored; an ignored fault would
  // only fault again, so it ends the process as the default does.
  if (previous.sa_handler == SIG_IGN && info->si_code <= 0) return;
  struct sigaction defaultAction {};
  defaultAction.sa_handler = SIG_DFL;
  sigaction(signalNumber, &defaultAction, nullptr);
  // Blocked while this handler runs, so it strikes as soon as it returns.
  raise(signalNumber);
}

void onFault(int signalNumber, siginfo_t* info, void* context) {
  GuardFrame* frame = innermostFrame;
  if (frame && isOwnSignal(info)) {
    frame->signalNumber = signalNumber;
    siglongjmp(frame->jump, 1);
  }
  passOn(signalNumber, info, context);
}

void installHandlers() {
  struct sigaction action {};
  action.sa_sigaction = onFault;
  // The alternate stack lets the handler run after a stack overflow.
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(kGuardedSignals); ++i) sigaction(kGuardedSignals[i], &action, &previousActions[i]);
}

// The thread's alternate signal stack, unless it has one already (the
// sanitizers install their own); removed again when the thread ends.
class AlternateStack {
 public:
  AlternateStack() {
    stack_t current{};
    if (sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE)) return;
    const std::size_t size = std::max<std::size_t>(kSize, static_cast<std::size_t>(SIGSTKSZ));
    memory_ = std::make_unique<char[]>(size);
    stack_t mine{};
    mine.ss_sp = memory_.get();
    mine.ss_size = size;
    if (sigaltstack(&mine, nullptr) != 0) memory_.reset();
  }
  ~AlternateStack() {
    if (!memory_) return;
    stack_t off{};
    off.ss_flags = SS_DISABLE;
    sigaltstack(&off, nullptr);
  }
  AlternateStack(const AlternateStack&) = delete;
  AlternateStack& operator=(const AlternateStack&) = delete;

 private:
  static constexpr std::size_t kSize = 128 * 1024;
  std::unique_ptr<char[]> memory_;
};

void ensureAlternateStack() { thread_local const AlternateStack stack; }

}  // namespace

FaultReport runGuarded(GuardedFunction function, void* context) {
  std::call_once(handlersInstalled, installHandlers);
  ensureAlternateStack();
  GuardFrame frame;
  frame.outer = innermostFrame;
  if (sigsetjmp(frame.jump, 1) != 0) {
    innermostFrame = frame.outer;
    return {FaultKind::Signal, frame.signalNumber};
  }
  innermostFrame = &frame;
  FaultReport report;
  try {
    function(context);
  } catch (abi::__forced_unwind&) {
    // Thread cancellation unwinds through here and must go on.
    innermostFrame = frame.outer;
    throw;
  } catch (...) {
    report.kind = FaultKind::Exception;
  }
  innermostFrame = frame.outer;
  return report;
}

}  // namespace platform
