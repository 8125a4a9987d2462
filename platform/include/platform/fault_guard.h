// Contains faults of reader code: a C++ exception, or a synchronous signal
// (SIGSEGV, SIGBUS, SIGFPE, SIGILL) raised on this thread inside a guarded
// call, ends that call with a fault code and the process goes on. The guard
// is a second line of defence behind checked readers: a faulting call skips
// its destructors, so it must not own resources that outlive the fault.
#pragma once

namespace platform {

enum class FaultKind { None, Signal, Exception };

struct FaultReport {
  FaultKind kind = FaultKind::None;
  int signalNumber = 0;  // for FaultKind::Signal
};

using GuardedFunction = void (*)(void* context);

FaultReport runGuarded(GuardedFunction function, void* context);

template <typename Callable>
FaultReport guarded(Callable& callable) {
  return runGuarded([](void* context) { (*static_cast<Callable*>(context))(); }, &callable);
}

}  // namespace platform
