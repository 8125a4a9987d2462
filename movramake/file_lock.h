// Keeps frame writing and header rewrites apart. Frames are written by the
// caller's thread; a header rewrite (MovraMakeFlush) may come from any
// thread. Two counters, each changed only by atomic increments and
// decrements: a writer announces itself and waits until no rewrite runs; a
// rewrite announces itself and waits until no writer runs and it is the
// only rewrite, giving up after 250 ms so that a busy writer always wins.
#pragma once

#include <atomic>
#include <cstdint>

namespace movra {

class FileLock {
 public:
  void lockWriter();
  void unlockWriter();
  // False when the file did not become free within 250 ms.
  bool lockRewrite();
  void unlockRewrite();

 private:
  std::atomic<std::uint8_t> writers_{0};
  std::atomic<std::uint8_t> rewrites_{0};
};

class WriterGuard {
 public:
  explicit WriterGuard(FileLock& lock) : lock_(lock) { lock_.lockWriter(); }
  ~WriterGuard() { lock_.unlockWriter(); }
  WriterGuard(const WriterGuard&) = delete;
  WriterGuard& operator=(const WriterGuard&) = delete;

 private:
  FileLock& lock_;
};

}  // namespace movra
