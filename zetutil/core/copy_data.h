// Windows of the toolkit that accept data from CopyData register here. A
// window handle is only a key: CopyData never looks behind it, so sending to
// a handle that nobody registered is as harmless as sending to a closed
// window.
#pragma once

#include <cstdint>
#include <functional>

namespace zet {

// Called on the sender's thread; its result is CopyData's result.
using CopyDataReceiver =
    std::function<std::intptr_t(std::uintptr_t sender, std::uintptr_t dataValue, std::uint32_t byteCount,
                                const void* data)>;

// Replaces an earlier receiver of the same window.
void registerCopyDataReceiver(void* window, CopyDataReceiver receiver);
void unregisterCopyDataReceiver(void* window);

}  // namespace zet
