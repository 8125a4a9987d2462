// zetutil's allocator: tells the user when the heap runs dry.
#include <cstdlib>

#include "block_allocator.h"
#include "message_presenter.h"

namespace zet {
namespace {

// The byte before a block holds the distance (1..32) back to the heap block.
constexpr std::uint32_t kHeaderBytes = 32;

}  // namespace

void* allocateBlock(std::uint32_t bytes) {
  if (bytes == 0 || bytes == 0xFFFFFFFFu) return nullptr;
  void* allocation = nullptr;
  // A request too large to carry its header in 32 bits is as unservable as
  // one the heap refuses; it never wraps into a small block.
  if (bytes <= 0xFFFFFFFFu - kHeaderBytes) allocation = std::malloc(std::size_t{bytes} + kHeaderBytes);
  if (!allocation) {
    messagePresenter().showMessage("Error: ran out of memory!", "Memory Error", MessageIcon::Stop);
    return nullptr;
  }
  auto start = reinterpret_cast<std::uintptr_t>(allocation);
  std::uintptr_t distance = kHeaderBytes - (start % kHeaderBytes);
  auto* block = static_cast<std::uint8_t*>(allocation) + distance;
  block[-1] = static_cast<std::uint8_t>(distance);
  return block;
}

void releaseBlock(void* block) {
  if (!block) return;
  auto* bytes = static_cast<std::uint8_t*>(block);
  std::free(bytes - bytes[-1]);
}

}  // namespace zet
