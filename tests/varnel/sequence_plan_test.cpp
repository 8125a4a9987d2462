#include "sequence_plan.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace varnel {
namespace {

LayerRef S(int n) { return {LayerKind::Source, n}; }
LayerRef W(int facing) { return {LayerKind::Weapon, facing}; }
constexpr LayerRef kNull{};

// The last plan entry for each output number, as the files end up on disk.
std::map<int, FrameSpec> framesByNumber(const SequenceChoices& choices) {
  std::map<int, FrameSpec> frames;
  for (const SequenceSpec& sequence : planSequences(choices)) {
    for (const FrameSpec& frame : sequence.frames) frames[frame.outputNumber] = frame;
  }
  return frames;
}

std::set<int> numbers(int first, int last) {
  std::set<int> result;
  for (int n = first; n <= last; ++n) result.insert(n);
  return result;
}

std::set<int> keys(const std::map<int, FrameSpec>& frames) {
  std::set<int> result;
  for (const auto& [number, frame] : frames) result.insert(number);
  return result;
}

TEST(SequencePlan, NamesTheSequencesInWritingOrder) {
  std::vector<std::string> names;
  for (const SequenceSpec& sequence : planSequences({0, 2, false, true, true})) names.push_back(sequence.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Stand", "Walk", "Fire", "Die", "Dead body", "Crouch", "Crouch fire",
                                             "Hover", "Fly fire"}));
  EXPECT_TRUE(planSequences({6, 0, false, false, false}).empty());
  EXPECT_TRUE(planSequences({7, 0, false, false, false}).empty());
}

TEST(SequencePlan, CoversTheFrameNumbersOfEachUnitType) {
  std::set<int> basic = numbers(0, 128);
  basic.insert(kDeadBodyFrameNumber);
  for (int type : {0, 1, 2, 3, 4}) EXPECT_EQ(keys(framesByNumber({type, 1, false, false, false})), basic) << type;
  std::set<int> zombie = numbers(0, 136);
  zombie.insert(kDeadBodyFrameNumber);
  EXPECT_EQ(keys(framesByNumber({5, 0, false, false, false})), zombie);
  std::set<int> full = numbers(0, 279);
  full.insert(kDeadBodyFrameNumber);
  EXPECT_EQ(keys(framesByNumber({0, 2, false, true, true})), full);
  // Crouching and flying belong to the first unit type only.
  EXPECT_EQ(keys(framesByNumber({1, 2, false, true, true})), basic);
}

TEST(SequencePlan, StandsAMutonWithARifle) {
  const auto frames = framesByNumber({0, 2, false, false, false});
  const FrameSpec& facing8 = frames.at(0);
  EXPECT_EQ(facing8.facing, 8);
  const FrameSpec& facing1 = frames.at(7);
  EXPECT_EQ(facing1.facing, 1);
  EXPECT_EQ(facing1.A, S(33));
  EXPECT_EQ(facing1.B, S(17));
  EXPECT_EQ(facing1.C, S(241));
  EXPECT_EQ(facing1.D, S(249));
  EXPECT_EQ(facing1.W, W(1));
  EXPECT_EQ(frames.at(0).A, S(40));
  EXPECT_EQ(framesByNumber({0, 2, true, false, false}).at(7).A, S(268));
}

TEST(SequencePlan, TwoHandedWeaponsAimTwoFacingsOnWhenFiring) {
  const auto rifle = framesByNumber({0, 2, false, false, false});
  // Fire facing d starts at frame 6 * (8 - d) + 72.
  EXPECT_EQ(rifle.at(78).facing, 7);
  EXPECT_EQ(rifle.at(78).W, W(1));
  EXPECT_EQ(rifle.at(84).facing, 6);
  EXPECT_EQ(rifle.at(84).W, W(8));
  EXPECT_EQ(rifle.at(114).W, W(3));
  EXPECT_EQ(rifle.at(114).D, S(1 + 256));
  const auto pistol = framesByNumber({0, 1, false, false, false});
  EXPECT_EQ(pistol.at(78).W, W(7));
  EXPECT_EQ(pistol.at(78).D, S(7 + 256));
  EXPECT_EQ(framesByNumber({0, 0, false, false, false}).at(78).D, S(7 + 8));
  // The six frames of a facing are one picture.
  for (int k = 0; k < 6; ++k) EXPECT_EQ(rifle.at(72 + k).W, rifle.at(72).W);
}

TEST(SequencePlan, WalksMeasureTheBodyGapExceptForFloatersAndTorsoOnlyUnits) {
  const auto muton = framesByNumber({0, 0, false, false, false});
  // Walk facing 1, step 3 is frame 8 * 7 + 7 + 3.
  const FrameSpec& step = muton.at(66);
  EXPECT_EQ(step.facing, 1);
  EXPECT_EQ(step.B, S(56 + 3));
  EXPECT_EQ(step.C, S(40 + 3));
  EXPECT_EQ(step.D, S(48 + 3));
  EXPECT_TRUE(step.bodyYFromGap);
  EXPECT_EQ(framesByNumber({1, 0, false, false, false}).at(66).B, S(32 + 3));
  EXPECT_EQ(framesByNumber({4, 0, false, false, false}).at(66).C, S(32 + 3));

  const auto floater = framesByNumber({2, 2, false, false, false});
  const std::vector<int> bodyY = {0, -1, -2, -2, -1};
  for (int s = 1; s <= 5; ++s) {
    EXPECT_EQ(floater.at(63 + s).A, S(24 + s));
    EXPECT_EQ(floater.at(63 + s).C, S(1 + 75));
    EXPECT_EQ(floater.at(63 + s).bodyY, bodyY[static_cast<std::size_t>(s - 1)]);
  }
  for (int s = 6; s <= 8; ++s) {
    const FrameSpec& empty = floater.at(63 + s);
    EXPECT_EQ(empty.A, kNull);
    EXPECT_EQ(empty.W, kNull);
    EXPECT_EQ(empty.C, kNull);
  }
  const auto civilian = framesByNumber({3, 2, false, false, false});
  EXPECT_EQ(civilian.at(66).A, S(8 + 3));
  EXPECT_EQ(civilian.at(66).C, kNull);
  EXPECT_FALSE(civilian.at(66).bodyYFromGap);
}

TEST(SequencePlan, DeathsAndTheDeadBody) {
  const auto muton = framesByNumber({0, 2, false, false, false});
  EXPECT_EQ(muton.at(120).A, S(265));
  EXPECT_EQ(muton.at(122).A, S(265));
  EXPECT_EQ(muton.at(123).A, S(266));
  EXPECT_EQ(muton.at(128).A, S(267));
  EXPECT_EQ(muton.at(128).W, kNull);
  EXPECT_EQ(muton.at(kDeadBodyFrameNumber).A, (LayerRef{LayerKind::DeadBody, 0}));
  const std::map<int, int> firstDeathFrame = {{1, 97}, {2, 65}, {3, 73}, {4, 225}};
  for (const auto& [type, first] : firstDeathFrame) EXPECT_EQ(framesByNumber({type, 0, false, false, false}).at(126).A, S(first + 2));
  const auto zombie = framesByNumber({5, 0, false, false, false});
  for (int i = 0; i <= 16; ++i) EXPECT_EQ(zombie.at(120 + i).A, S(73 + i));
}

TEST(SequencePlan, CrouchingReplacesTheLastDeathFrameAndFlyingBobs) {
  const auto frames = framesByNumber({0, 2, false, true, true});
  const FrameSpec& crouch8 = frames.at(128);
  EXPECT_EQ(crouch8.facing, 8);
  EXPECT_EQ(crouch8.B, S(32));
  EXPECT_EQ(crouch8.bodyY, 4);
  EXPECT_EQ(frames.at(183).facing, 1);
  EXPECT_EQ(frames.at(183).bodyY, 4);
  EXPECT_EQ(frames.at(183).W, W(3));
  const std::vector<int> bob = {0, 1, 2, 1, 0, -1};
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(frames.at(184 + k).bob, bob[static_cast<std::size_t>(k)]);
    EXPECT_EQ(frames.at(184 + k).B, S(8 + 275));
    EXPECT_EQ(frames.at(232 + k).bob, 0);
  }
  EXPECT_EQ(frames.at(279).D, S(1 + 256));
}

}  // namespace
}  // namespace varnel
