// Plans one allocation for a record and every buffer it points to. Each
// piece starts on a 32-byte boundary, after a stagger that places
// successive pieces at different offsets modulo 1024 bytes, so that planes
// walked together do not compete for the same cache sets.
//
// A plan belongs to one call: two encoders created on two threads never
// share one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace movra {

class MemoryPlan {
 public:
  explicit MemoryPlan(std::size_t recordBytes);

  // Registers a piece and returns its ticket; pieces follow the record in
  // registration order.
  std::size_t reserve(std::uint64_t bytes);

  // The bytes one allocation needs for the record and every piece.
  std::uint64_t totalBytes() const;

  // One zetmalloc for everything; null when memory is short or the total
  // does not fit one block.
  std::uint8_t* allocate() const;

  std::uint8_t* piece(std::uint8_t* block, std::size_t ticket) const;

 private:
  std::uint64_t recordBytes_;
  std::uint64_t reserved_ = 0;
  std::vector<std::uint64_t> offsets_;
};

}  // namespace movra
