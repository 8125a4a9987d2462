#include "platform/fault_guard.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstddef>
#include <stdexcept>
#include <thread>

namespace platform {
namespace {

// The point of this function is the store through a null pointer itself, so
// the undefined-behaviour checks, which would end the test first, are left out.
__attribute__((no_sanitize("undefined"))) void storeThroughNull() {
  volatile int* volatile target = nullptr;
  *target = 1;
}

// Recurses until the stack runs out; the depth is volatile so the compiler
// can neither see the end nor turn the recursion into a loop.
std::size_t exhaustStack(volatile std::size_t& depth) {
  volatile char frame[512];
  frame[0] = static_cast<char>(depth);
  depth = depth + 1;
  if (depth == 0) return 0;
  return exhaustStack(depth) + static_cast<std::size_t>(frame[0]);
}

FaultReport guardedRaise(int signalNumber) {
  auto raiseIt = [signalNumber] { std::raise(signalNumber); };
  return guarded(raiseIt);
}

TEST(FaultGuard, RunsAGuardedCallThatDoesNotFault) {
  int calls = 0;
  auto count = [&calls] { ++calls; };
  const FaultReport report = guarded(count);
  EXPECT_EQ(report.kind, FaultKind::None);
  EXPECT_EQ(calls, 1);
}

TEST(FaultGuard, TurnsRaisedSignalsIntoFaultReports) {
  for (const int signalNumber : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
    SCOPED_TRACE(signalNumber);
    const FaultReport report = guardedRaise(signalNumber);
    EXPECT_EQ(report.kind, FaultKind::Signal);
    EXPECT_EQ(report.signalNumber, signalNumber);
  }
}

TEST(FaultGuard, CatchesAStoreThroughANullPointer) {
  auto fault = [] { storeThroughNull(); };
  const FaultReport report = guarded(fault);
  EXPECT_EQ(report.kind, FaultKind::Signal);
  EXPECT_EQ(report.signalNumber, SIGSEGV);
}

TEST(FaultGuard, TurnsExceptionsIntoFaultReports) {
  auto throwError = [] { throw std::runtime_error("bad frame"); };
  EXPECT_EQ(guarded(throwError).kind, FaultKind::Exception);
  auto throwNumber = [] { throw 42; };
  EXPECT_EQ(guarded(throwNumber).kind, FaultKind::Exception);
}

TEST(FaultGuard, ProcessGoesOnAfterRepeatedFaults) {
  // Each fault must leave the signal unblocked again, or the next one
  // would end the process.
  for (int round = 0; round < 3; ++round) {
    auto fault = [] { storeThroughNull(); };
    EXPECT_EQ(guarded(fault).kind, FaultKind::Signal);
    int calls = 0;
    auto count = [&calls] { ++calls; };
    EXPECT_EQ(guarded(count).kind, FaultKind::None);
    EXPECT_EQ(calls, 1);
  }
}

TEST(FaultGuard, NestedGuardsCatchAtTheInnermostLevel) {
  FaultReport inner;
  bool outerWentOn = false;
  auto outer = [&] {
    inner = guardedRaise(SIGSEGV);
    outerWentOn = true;
  };
  EXPECT_EQ(guarded(outer).kind, FaultKind::None);
  EXPECT_EQ(inner.kind, FaultKind::Signal);
  EXPECT_TRUE(outerWentOn);

  // After the inner call ends, a fault belongs to the outer guard again.
  auto outerFaultsLater = [&] {
    auto quiet = [] {};
    inner = guarded(quiet);
    std::raise(SIGFPE);
  };
  const FaultReport report = guarded(outerFaultsLater);
  EXPECT_EQ(inner.kind, FaultKind::None);
  EXPECT_EQ(report.kind, FaultKind::Signal);
  EXPECT_EQ(report.signalNumber, SIGFPE);
}

TEST(FaultGuard, CatchesAFaultOnAnotherThread) {
  FaultReport report;
  std::thread worker([&report] {
    auto fault = [] { storeThroughNull(); };
    report = guarded(fault);
  });
  worker.join();
  EXPECT_EQ(report.kind, FaultKind::Signal);
  EXPECT_EQ(report.signalNumber, SIGSEGV);
  EXPECT_EQ(guardedRaise(SIGBUS).kind, FaultKind::Signal);
}

TEST(FaultGuard, CatchesAStackOverflow) {
  FaultReport report;
  std::thread worker([&report] {
    volatile std::size_t depth = 0;
    auto overflow = [&depth] { exhaustStack(depth); };
    report = guarded(overflow);
  });
  worker.join();
  EXPECT_EQ(report.kind, FaultKind::Signal);
  EXPECT_EQ(report.signalNumber, SIGSEGV);
}

TEST(FaultGuardDeathTest, AFaultOutsideAnyGuardStillEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        auto quiet = [] {};
        guarded(quiet);
        storeThroughNull();
      },
      "");
}

}  // namespace
}  // namespace platform
