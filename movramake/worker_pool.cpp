#include "worker_pool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace movra {

void runParallel(std::uint32_t items, std::uint32_t threads, const std::function<void(std::uint32_t)>& work) {
  std::atomic<std::uint32_t> next{0};
  std::exception_ptr failure;
  std::mutex failureMutex;
  const auto worker = [&] {
    try {
      for (std::uint32_t i = next.fetch_add(1); i < items; i = next.fetch_add(1)) work(i);
    } catch (...) {
      // Stop handing out items; the first failure is rethrown on the caller.
      next.store(items);
      std::lock_guard lock(failureMutex);
      if (!failure) failure = std::current_exception();
    }
  };

  const std::uint32_t helpers = std::min(threads, items) > 1 ? std::min(threads, items) - 1 : 0;
  std::vector<std::thread> started;
  try {
    started.reserve(helpers);
    for (std::uint32_t t = 0; t < helpers; ++t) started.emplace_back(worker);
  } catch (const std::system_error&) {
  } catch (const std::bad_alloc&) {
  }
  worker();
  for (std::thread& thread : started) thread.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace movra
