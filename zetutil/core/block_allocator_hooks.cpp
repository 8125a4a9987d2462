#include "block_allocator_hooks.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "block_allocator.h"

namespace zet {
namespace {

// Layout in front of a returned block (the block is 32-byte aligned and lies
// 33..64 bytes into the underlying allocation):
//   [-1]       distance back to the start of the allocation
//   [-2]       kFromHook when the allocation came from the caller's hook
//   [-16..-9]  for hook blocks, the release hook installed at allocation
constexpr std::uint32_t kHeaderBytes = 64;
constexpr std::uint8_t kFromHook = 3;
constexpr std::ptrdiff_t kReleaseHookSlot = -16;

struct Hooks {
  AllocateHook allocate = nullptr;
  ReleaseHook release = nullptr;
};

// Hooks are process-wide and may be changed while another thread allocates;
// the pair is read and written as one.
std::mutex hooksMutex;
Hooks hooks;

Hooks currentHooks() {
  std::lock_guard lock(hooksMutex);
  return hooks;
}

std::uint8_t* alignInto(void* allocation) {
  auto start = reinterpret_cast<std::uintptr_t>(allocation);
  std::uintptr_t aligned = (start + 33 + 31) & ~std::uintptr_t{31};
  return reinterpret_cast<std::uint8_t*>(aligned);
}

}  // namespace

void setMemoryHooks(AllocateHook allocate, ReleaseHook release) {
  std::lock_guard lock(hooksMutex);
  hooks.allocate = allocate;
  hooks.release = allocate ? release : nullptr;
}

void* allocateBlock(std::uint32_t bytes) {
  if (bytes == 0 || bytes == 0xFFFFFFFFu) return nullptr;
  // The hook takes a 32-bit count: a request that cannot carry its header
  // in 32 bits fails rather than wrapping into a small block.
  if (bytes > 0xFFFFFFFFu - kHeaderBytes) return nullptr;
  const std::uint32_t total = bytes + kHeaderBytes;

  const Hooks installed = currentHooks();
  void* allocation = nullptr;
  bool fromHook = false;
  if (installed.allocate) {
    allocation = installed.allocate(total);
    if (allocation == kHookFailure) return nullptr;
    fromHook = allocation != nullptr;
  }
  if (!allocation) allocation = std::malloc(total);
  if (!allocation) return nullptr;

  std::uint8_t* block = alignInto(allocation);
  block[-1] = static_cast<std::uint8_t>(block - static_cast<std::uint8_t*>(allocation));
  block[-2] = fromHook ? kFromHook : 0;
  if (fromHook) std::memcpy(block + kReleaseHookSlot, &installed.release, sizeof installed.release);
  return block;
}

void releaseBlock(void* block) {
  if (!block) return;
  auto* bytes = static_cast<std::uint8_t*>(block);
  void* allocation = bytes - bytes[-1];
  if (bytes[-2] == kFromHook) {
    ReleaseHook release = nullptr;
    std::memcpy(&release, bytes + kReleaseHookSlot, sizeof release);
    if (release) release(allocation);
    return;
  }
  std::free(allocation);
}

}  // namespace zet
