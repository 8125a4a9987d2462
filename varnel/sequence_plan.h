// Which layer files make which output frame, for every sequence of a unit.
#pragma once

#include <string>
#include <vector>

namespace varnel {

enum class LayerKind { Null, Source, Weapon, DeadBody };

// A source frame S(n), a weapon layer W(facing), the empty layer, or the
// dead-body source.
struct LayerRef {
  LayerKind kind = LayerKind::Null;
  int number = 0;
  bool operator==(const LayerRef&) const = default;
};

inline constexpr int kDeadBodyFrameNumber = -999;

struct FrameSpec {
  int facing = 1;  // 1..8
  LayerRef A;      // torso; the frame also takes this layer's palette
  LayerRef B;      // legs
  LayerRef W;      // weapon
  LayerRef C;      // off arm
  LayerRef D;      // weapon arm
  bool bodyYFromGap = false;  // bodyY is the measured gap between A and B
  int bodyY = 0;
  int bob = 0;
  int outputNumber = 0;  // kDeadBodyFrameNumber for the dead body
};

struct SequenceSpec {
  std::string name;
  std::vector<FrameSpec> frames;
  bool onlyWithDeadBodySource = false;  // made only when that file exists
};

struct SequenceChoices {
  int unitType = 0;
  int weaponHands = 0;
  bool altTorso = false;
  bool canCrouch = false;
  bool flyingSuit = false;
};

// In writing order: Stand, Walk, Fire, Die, Dead body, then Crouch, Crouch
// fire, Hover and Fly fire where they apply. Empty for unit types without a
// frame layout.
std::vector<SequenceSpec> planSequences(const SequenceChoices& choices);

}  // namespace varnel
