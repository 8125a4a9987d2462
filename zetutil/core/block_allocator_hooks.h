// movramake's allocator: the caller may install an allocation and a release
// hook; each hook block remembers its release hook.
#pragma once

#include <cstdint>

namespace zet {

using AllocateHook = void* (*)(std::uint32_t bytes);
using ReleaseHook = void (*)(void* block);

// What an allocation hook returns to make the allocation fail.
inline void* const kHookFailure = reinterpret_cast<void*>(~std::uintptr_t{0});

void setMemoryHooks(AllocateHook allocate, ReleaseHook release);

}  // namespace zet
