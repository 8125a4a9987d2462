#include "copy_data.h"

#include <map>
#include <mutex>
#include <utility>

#include "zetutil.h"

namespace zet {
namespace {

// Held in a type of this file, so that the map's code stays private to the
// library instead of appearing among its exported symbols.
struct Registration {
  CopyDataReceiver receiver;
};

struct ReceiverRegistry {
  std::mutex mutex;
  std::map<void*, Registration> receivers;
};

ReceiverRegistry& registry() {
  static ReceiverRegistry instance;
  return instance;
}

}  // namespace

void registerCopyDataReceiver(void* window, CopyDataReceiver receiver) {
  if (!window || !receiver) return;
  ReceiverRegistry& shared = registry();
  std::lock_guard lock(shared.mutex);
  auto found = shared.receivers.find(window);
  if (found != shared.receivers.end()) {
    found->second.receiver = std::move(receiver);
  } else {
    shared.receivers.emplace(window, Registration{std::move(receiver)});
  }
}

void unregisterCopyDataReceiver(void* window) {
  ReceiverRegistry& shared = registry();
  std::lock_guard lock(shared.mutex);
  shared.receivers.erase(window);
}

}  // namespace zet

extern "C" {

ZET_EXPORT intptr_t ZET_CALL CopyData(void* window, uintptr_t sender, uintptr_t dataValue, uint32_t byteCount,
                                      const void* data) {
  try {
    zet::CopyDataReceiver receiver;
    {
      zet::ReceiverRegistry& shared = zet::registry();
      std::lock_guard lock(shared.mutex);
      auto found = shared.receivers.find(window);
      if (found == shared.receivers.end()) return 0;
      receiver = found->second.receiver;
    }
    // The receiver runs without the lock so that it may register or
    // unregister windows itself.
    return receiver(sender, dataValue, byteCount, data);
  } catch (...) {
    return 0;
  }
}
}
