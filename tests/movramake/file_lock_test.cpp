#include "file_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace movra {
namespace {

TEST(FileLock, ARewriteGivesUpAfterAQuarterSecondWhileAWriterHoldsTheFile) {
  FileLock lock;
  lock.lockWriter();
  const auto start = std::chrono::steady_clock::now();
  bool taken = true;
  std::thread([&] { taken = lock.lockRewrite(); }).join();
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_FALSE(taken);
  EXPECT_GE(waited, std::chrono::milliseconds(240));
  lock.unlockWriter();
  EXPECT_TRUE(lock.lockRewrite()) << "a given-up rewrite leaves no trace";
  lock.unlockRewrite();
}

TEST(FileLock, AWriterWaitsForARunningRewrite) {
  FileLock lock;
  ASSERT_TRUE(lock.lockRewrite());
  std::atomic<bool> written{false};
  std::thread writer([&] {
    WriterGuard guard(lock);
    written = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(written);
  lock.unlockRewrite();
  writer.join();
  EXPECT_TRUE(written);
}

}  // namespace
}  // namespace movra
