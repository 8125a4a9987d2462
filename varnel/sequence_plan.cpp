#include "sequence_plan.h"

#include <array>

#include "unit_tables.h"

namespace varnel {

namespace {

LayerRef S(int number) { return {LayerKind::Source, number}; }
LayerRef weaponLayer(int facing) { return {LayerKind::Weapon, facing}; }
constexpr LayerRef kNull{};

// Source frames of the arms that hold a weapon, counted from the facing:
// standing one-handed, standing two-handed (off arm, weapon arm), firing.
struct ArmLayout {
  int oneHandedArm;
  int twoHandedOffArm;
  int twoHandedWeaponArm;
  int firingArm;
};

ArmLayout armLayout(int unitType) {
  switch (unitType) {
    case kSectoidMutonXCom: return {232, 240, 248, 256};
    case kFloater: return {67, 75, 83, 91};
    default: return {99, 107, 115, 123};  // Snakeman and Chrysalid
  }
}

bool hasArms(int unitType) { return unitType != kEtherealCivilian && unitType != kZombie; }

class SequencePlanner {
 public:
  explicit SequencePlanner(const SequenceChoices& choices) : choices_(choices), arms_(armLayout(choices.unitType)) {}

  std::vector<SequenceSpec> plan() const {
    std::vector<SequenceSpec> sequences;
    sequences.push_back(stand());
    sequences.push_back(walk());
    sequences.push_back(fire());
    sequences.push_back(die());
    sequences.push_back(deadBody());
    if (choices_.unitType == kSectoidMutonXCom && choices_.canCrouch) {
      sequences.push_back(crouch());
      sequences.push_back(crouchFire());
    }
    if (choices_.unitType == kSectoidMutonXCom && choices_.flyingSuit) {
      sequences.push_back(hover());
      sequences.push_back(flyFire());
    }
    return sequences;
  }

 private:
  int hands() const { return choices_.weaponHands; }
  int type() const { return choices_.unitType; }

  LayerRef torso(int d) const { return S(choices_.altTorso ? d + 267 : d + 32); }

  // A two-handed weapon is aimed with the picture two facings on.
  LayerRef firingWeapon(int d) const {
    if (hands() != 2) return weaponLayer(d);
    return weaponLayer(d <= 6 ? d + 2 : d - 6);
  }

  LayerRef standingTorso(int d) const {
    switch (type()) {
      case kSectoidMutonXCom: return torso(d);
      case kFloater: return S(d + 16);
      case kEtherealCivilian:
      case kZombie: return S(d);
      default: return S(d + 24);
    }
  }

  LayerRef standingLegs(int d) const {
    return type() == kSectoidMutonXCom || type() == kSnakeman || type() == kChrysalid ? S(d + 16) : kNull;
  }

  void setStandingArms(FrameSpec& frame, int d) const {
    if (!hasArms(type())) return;
    if (hands() == 2) {
      frame.C = S(d + arms_.twoHandedOffArm);
      frame.D = S(d + arms_.twoHandedWeaponArm);
    } else {
      frame.C = S(d);
      frame.D = S(hands() == 1 ? d + arms_.oneHandedArm : d + 8);
    }
  }

  void setFiringArms(FrameSpec& frame, int d) const {
    if (!hasArms(type())) return;
    frame.C = S(d);
    frame.D = S(hands() == 0 ? d + 8 : d + arms_.firingArm);
  }

  FrameSpec standingFrame(int d) const {
    FrameSpec frame;
    frame.facing = d;
    frame.A = standingTorso(d);
    frame.B = standingLegs(d);
    frame.W = weaponLayer(d);
    setStandingArms(frame, d);
    return frame;
  }

  FrameSpec firingFrame(int d) const {
    FrameSpec frame = standingFrame(d);
    frame.W = firingWeapon(d);
    frame.C = kNull;
    frame.D = kNull;
    setFiringArms(frame, d);
    return frame;
  }

  // The six frames of a facing starting at firstNumber, all the same picture.
  static void addSixFrames(SequenceSpec& sequence, FrameSpec frame, int firstNumber) {
    for (int k = 0; k < 6; ++k) {
      frame.outputNumber = firstNumber + k;
      sequence.frames.push_back(frame);
    }
  }

  SequenceSpec stand() const {
    SequenceSpec sequence{"Stand", {}, false};
    for (int d = 8; d >= 1; --d) {
      FrameSpec frame = standingFrame(d);
      frame.outputNumber = 8 - d;
      sequence.frames.push_back(frame);
    }
    return sequence;
  }

  FrameSpec walkingFrame(int d, int s) const {
    FrameSpec frame;
    frame.facing = d;
    frame.W = weaponLayer(d);
    const int block = 24 * (d - 1);
    switch (type()) {
      case kSectoidMutonXCom:
        frame.A = torso(d);
        frame.B = S(block + 56 + s);
        frame.C = hands() == 2 ? S(d + 240) : S(block + 40 + s);
        frame.D = hands() == 2 ? S(d + 248) : hands() == 1 ? S(d + 232) : S(block + 48 + s);
        frame.bodyYFromGap = true;
        break;
      case kSnakeman:
        frame.A = S(d + 24);
        frame.B = S(8 * (d - 1) + 32 + s);
        setStandingArms(frame, d);
        frame.bodyYFromGap = true;
        break;
      case kChrysalid:
        frame.A = S(d + 24);
        frame.B = S(block + 48 + s);
        frame.C = S(block + 32 + s);
        frame.D = S(block + 40 + s);
        frame.bodyYFromGap = true;
        break;
      case kFloater:
        // A floater bobs through five steps; the last three of the eight are empty.
        if (s <= 5) {
          static constexpr std::array<int, 6> kBodyY = {0, 0, -1, -2, -2, -1};
          frame.A = S(5 * (d - 1) + 24 + s);
          setStandingArms(frame, d);
          frame.bodyY = kBodyY[static_cast<std::size_t>(s)];
        } else {
          frame.W = kNull;
        }
        break;
      default:  // Ethereal/Civilian and Zombie
        frame.A = S(8 * d + s);
        break;
    }
    return frame;
  }

  SequenceSpec walk() const {
    SequenceSpec sequence{"Walk", {}, false};
    for (int d = 8; d >= 1; --d) {
      for (int s = 1; s <= 8; ++s) {
        FrameSpec frame = walkingFrame(d, s);
        frame.outputNumber = 8 * (8 - d) + 7 + s;
        sequence.frames.push_back(frame);
      }
    }
    return sequence;
  }

  SequenceSpec fire() const {
    SequenceSpec sequence{"Fire", {}, false};
    for (int d = 8; d >= 1; --d) addSixFrames(sequence, firingFrame(d), 6 * (8 - d) + 72);
    return sequence;
  }

  static FrameSpec torsoOnlyFrame(LayerRef torsoLayer, int outputNumber) {
    FrameSpec frame;
    frame.facing = 1;
    frame.A = torsoLayer;
    frame.outputNumber = outputNumber;
    return frame;
  }

  SequenceSpec die() const {
    SequenceSpec sequence{"Die", {}, false};
    if (type() == kZombie) {
      for (int i = 0; i <= 16; ++i) sequence.frames.push_back(torsoOnlyFrame(S(73 + i), 120 + i));
      return sequence;
    }
    static constexpr std::array<int, 5> kFirstDeathFrame = {265, 97, 65, 73, 225};
    const int first = kFirstDeathFrame[static_cast<std::size_t>(type())];
    for (int k = 0; k <= 2; ++k) {
      for (int j = 0; j <= 2; ++j) sequence.frames.push_back(torsoOnlyFrame(S(first + k), 120 + 3 * k + j));
    }
    return sequence;
  }

  static SequenceSpec deadBody() {
    return {"Dead body", {torsoOnlyFrame({LayerKind::DeadBody, 0}, kDeadBodyFrameNumber)}, true};
  }

  SequenceSpec crouch() const {
    SequenceSpec sequence{"Crouch", {}, false};
    for (int d = 8; d >= 1; --d) {
      FrameSpec frame = standingFrame(d);
      frame.B = S(d + 24);
      frame.bodyY = 4;
      frame.outputNumber = 136 - d;
      sequence.frames.push_back(frame);
    }
    return sequence;
  }

  SequenceSpec crouchFire() const {
    SequenceSpec sequence{"Crouch fire", {}, false};
    for (int d = 8; d >= 1; --d) {
      FrameSpec frame = firingFrame(d);
      frame.B = S(d + 24);
      frame.bodyY = 4;
      addSixFrames(sequence, frame, 6 * (8 - d) + 136);
    }
    return sequence;
  }

  SequenceSpec hover() const {
    static constexpr std::array<int, 6> kBob = {0, 1, 2, 1, 0, -1};
    SequenceSpec sequence{"Hover", {}, false};
    for (int d = 8; d >= 1; --d) {
      FrameSpec frame = standingFrame(d);
      frame.B = S(d + 275);
      for (int k = 0; k < 6; ++k) {
        frame.bob = kBob[static_cast<std::size_t>(k)];
        frame.outputNumber = 6 * (8 - d) + 184 + k;
        sequence.frames.push_back(frame);
      }
    }
    return sequence;
  }

  SequenceSpec flyFire() const {
    SequenceSpec sequence{"Fly fire", {}, false};
    for (int d = 8; d >= 1; --d) {
      FrameSpec frame = firingFrame(d);
      frame.B = S(d + 275);
      addSixFrames(sequence, frame, 6 * (8 - d) + 232);
    }
    return sequence;
  }

  SequenceChoices choices_;
  ArmLayout arms_;
};

}  // namespace

std::vector<SequenceSpec> planSequences(const SequenceChoices& choices) {
  if (choices.unitType < 0 || choices.unitType >= kUnitTypesWithLayout) return {};
  return SequencePlanner(choices).plan();
}

}  // namespace varnel
