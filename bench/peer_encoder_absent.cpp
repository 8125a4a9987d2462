// Built when no peer library is installed: movra-bench then measures
// movramake alone.
#include "peer_encoder.h"

namespace movra::bench {

std::string peerName() { return {}; }

std::optional<PeerResult> runPeer(const PeerRun&, const char*) { return std::nullopt; }

}  // namespace movra::bench
