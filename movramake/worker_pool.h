// Runs one analysis pass over many independent items (blocks or areas) on
// the caller's thread plus up to `threads` - 1 helper threads. Every thread
// takes the next item from a shared atomic counter, so the results do not
// depend on how many threads ran or which took what.
#pragma once

#include <cstdint>
#include <functional>

namespace movra {

// Calls work(i) once for every i in 0 .. items - 1 and returns when all are
// done. A helper thread that cannot be started is simply not waited for:
// the caller's thread always works, so the pass completes with the threads
// that did start.
void runParallel(std::uint32_t items, std::uint32_t threads, const std::function<void(std::uint32_t)>& work);

}  // namespace movra
