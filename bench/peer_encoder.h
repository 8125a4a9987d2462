// A peer video encoder that movra-bench runs on the same frames, when its
// library is installed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace movra::bench {

struct PeerResult {
  double framesPerSecond = 0;
  std::uint64_t bytes = 0;
};

struct PeerRun {
  const std::vector<std::vector<std::uint8_t>>* frames = nullptr;  // B, G, R, A pixels
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t fps = 0;
  std::uint32_t bytesPerSecond = 0;
  std::uint32_t threads = 0;
};

// The peer's name, or empty when it was not built in.
std::string peerName();

// Runs the peer with one of its presets; empty when it cannot.
std::optional<PeerResult> runPeer(const PeerRun& run, const char* preset);

}  // namespace movra::bench
