#include "sequence_generator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>

#include "falqui_image.h"
#include "standard_functions.h"
#include "support/synthetic_sprite_set.h"
#include "temp_dir.h"

namespace varnel {
namespace {

using testing::identityIndex;
using testing::identityPixel;
using testing::weaponIndex;
using testing::weaponPixel;

// The figure's top-left corner on the output canvas.
constexpr int kLeft = 31;
constexpr int kTop = 21;

class SequenceGeneratorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    shared_ = std::make_unique<zet::testing::TempDir>();
    folders_ = testing::writeProgramFolders(shared_->path().string());
    std::filesystem::create_directories(shared_->file("sprites"));
    testing::writeSpriteSet(shared_->file("sprites/unit"), true);
    std::filesystem::create_directories(shared_->file("nodead"));
    testing::writeSpriteSet(shared_->file("nodead/unit"), false);
  }
  static void TearDownTestSuite() { shared_.reset(); }

  UnitProfile profile(std::int16_t unitType, std::int16_t weapon) const {
    UnitProfile p;
    p.Name = "Test";
    p.SourceFile = shared_->file("sprites/unit000.bmp");
    p.OutputFile = out_.file("mut0000.bmp");
    p.UnitType = unitType;
    p.Weapon = weapon;
    return p;
  }

  std::set<std::string> writtenFiles() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(out_.path())) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  static std::set<std::string> frameNames(int first, int last, bool deadBody) {
    std::set<std::string> names;
    for (int n = first; n <= last; ++n) names.insert("mut" + NumToStr(n, 4) + ".bmp");
    if (deadBody) names.insert("mut-0999.bmp");
    return names;
  }

  FalquiImageClass frame(int number) const {
    FalquiImageClass image;
    const Status loaded = image.LoadBMP(out_.file("mut" + NumToStr(number, 4) + ".bmp"));
    EXPECT_TRUE(loaded.ok()) << loaded.message();
    return image;
  }

  // Where source frame n's identity pixel lands, with the given vertical shift.
  static std::int16_t identityAt(const FalquiImageClass& image, int n, int shiftY) {
    const testing::PixelPosition at = identityPixel(n);
    return image.pixel(kLeft + at.x, kTop + at.y + shiftY).Index;
  }

  static std::int16_t weaponAt(const FalquiImageClass& image, int facing, int shiftY) {
    const testing::PixelPosition at = weaponPixel(facing);
    return image.pixel(kLeft + at.x, kTop + at.y + shiftY).Index;
  }

  GenerationReport run(const UnitProfile& p, const GenerationOptions& options = {}) const {
    return GenerateSequence(p, options, folders_);
  }

  static std::unique_ptr<zet::testing::TempDir> shared_;
  static VarnelFolders folders_;
  zet::testing::TempDir out_;
};

std::unique_ptr<zet::testing::TempDir> SequenceGeneratorTest::shared_;
VarnelFolders SequenceGeneratorTest::folders_;

TEST_F(SequenceGeneratorTest, MutonWithRifleWritesStandWalkFireDieAndDeadBody) {
  const GenerationReport report = run(profile(0, 2));
  ASSERT_TRUE(report.status.ok()) << report.status.message();
  EXPECT_EQ(writtenFiles(), frameNames(0, 128, true));
  EXPECT_EQ(report.framesWritten, 8 + 64 + 48 + 9 + 1);
  ASSERT_EQ(report.sequences.size(), 5u);
  EXPECT_EQ(report.sequences[1].name, "Walk");
  EXPECT_EQ(report.sequences[1].framesWritten, 64);

  // Stand facing 1 is frame 7: torso 33, legs 17, two-handed arms 241 and 249, weapon facing 1.
  const FalquiImageClass stand = frame(7);
  EXPECT_EQ(stand.width(), 94);
  EXPECT_EQ(stand.height(), 106);
  EXPECT_EQ(stand.bitCount(), 8);
  for (int n : {33, 17, 241, 249}) EXPECT_EQ(identityAt(stand, n, 0), identityIndex(n)) << n;
  EXPECT_EQ(weaponAt(stand, 1, 0), weaponIndex(1));
  // Facing 1 draws the weapon arm on top, where all layers meet in column 15.
  EXPECT_EQ(stand.pixel(kLeft + 15, kTop + testing::kBarTopRow).Index, identityIndex(249));
  // The empty area took index 0.
  EXPECT_EQ(stand.pixel(0, 0).Index, 0);
  EXPECT_EQ(stand.pixel(kLeft + 31, kTop + 39).Index, 0);

  // Facing 4 (frame 4) draws the weapon on top and the off arm below it.
  EXPECT_EQ(frame(4).pixel(kLeft + 15, kTop + testing::kBarTopRow).Index, identityIndex(4 + 240));
  // Facing 6 (frame 2) puts the off arm on top.
  EXPECT_EQ(frame(2).pixel(kLeft + 15, kTop + testing::kBarTopRow).Index, identityIndex(6 + 240));

  // Walk facing 1 step 1 (frame 64) lifts torso, arms and weapon by the measured gap.
  const FalquiImageClass walk = frame(64);
  EXPECT_EQ(identityAt(walk, 57, 0), identityIndex(57));
  for (int n : {33, 241, 249}) EXPECT_EQ(identityAt(walk, n, testing::kMeasuredGap), identityIndex(n)) << n;
  EXPECT_EQ(weaponAt(walk, 1, testing::kMeasuredGap), weaponIndex(1));

  // Fire facing 7 (frame 78) aims the rifle with facing 1's picture.
  const FalquiImageClass fire = frame(78);
  EXPECT_EQ(weaponAt(fire, 1, 0), weaponIndex(1));
  EXPECT_EQ(identityAt(fire, 7 + 256, 0), identityIndex(7 + 256));

  EXPECT_EQ(identityAt(frame(122), 265, 0), identityIndex(265));
  EXPECT_EQ(identityAt(frame(128), 267, 0), identityIndex(267));
  FalquiImageClass body;
  ASSERT_TRUE(body.LoadBMP(out_.file("mut-0999.bmp")).ok());
  EXPECT_EQ(identityAt(body, testing::kDeadBodyIdentity, 0), identityIndex(testing::kDeadBodyIdentity));

  // The last frame's palette, in VGA precision, is left for making combo.pal.
  EXPECT_TRUE(std::filesystem::exists(BuildPath(folders_.AppFolder, "vga_qorm.pal")));
}

TEST_F(SequenceGeneratorTest, CrouchAndFlyingAddTheirSequences) {
  GenerationOptions options;
  options.canCrouch = true;
  options.flyingSuit = true;
  options.altTorso = true;
  UnitProfile p = profile(0, 1);
  p.WeaponOffsetY = -3;
  const GenerationReport report = run(p, options);
  ASSERT_TRUE(report.status.ok()) << report.status.message();
  EXPECT_EQ(writtenFiles(), frameNames(0, 279, true));

  // Frame 128 shows the crouching figure facing 8: alternative torso 275, legs 32, body 4 lower.
  const FalquiImageClass crouch = frame(128);
  EXPECT_EQ(identityAt(crouch, 32, 0), identityIndex(32));
  EXPECT_EQ(identityAt(crouch, 8 + 267, 4), identityIndex(8 + 267));
  // The weapon offset moves the weapon alone.
  EXPECT_EQ(weaponAt(crouch, 8, 4 - 3), weaponIndex(8));
  EXPECT_EQ(identityAt(crouch, 8 + 232, 4), identityIndex(8 + 232));

  // Hover facing 8 bobs the whole figure: frames 184..189.
  const std::vector<int> bob = {0, 1, 2, 1, 0, -1};
  for (int k = 0; k < 6; ++k) {
    const FalquiImageClass hover = frame(184 + k);
    EXPECT_EQ(identityAt(hover, 8 + 275, bob[static_cast<std::size_t>(k)]), identityIndex(8 + 275)) << k;
  }
}

TEST_F(SequenceGeneratorTest, EveryUnitTypeWithALayoutWritesItsFrames) {
  struct Case {
    std::int16_t unitType;
    int lastFrame;
    int deathSource;  // the source of frame 120
  };
  for (const Case& c : {Case{1, 128, 97}, Case{2, 128, 65}, Case{3, 128, 73}, Case{4, 128, 225}, Case{5, 136, 73}}) {
    for (const auto& entry : std::filesystem::directory_iterator(out_.path())) std::filesystem::remove(entry.path());
    const GenerationReport report = run(profile(c.unitType, 1));
    ASSERT_TRUE(report.status.ok()) << c.unitType << ": " << report.status.message();
    EXPECT_EQ(writtenFiles(), frameNames(0, c.lastFrame, true)) << c.unitType;
    EXPECT_EQ(identityAt(frame(120), c.deathSource, 0), identityIndex(c.deathSource)) << c.unitType;
    if (c.unitType == 5) {
      EXPECT_EQ(identityAt(frame(136), 89, 0), identityIndex(89));
    }
    if (c.unitType == 2) {
      // A floater's walk steps 6 to 8 hold only the background.
      const FalquiImageClass empty = frame(13);
      for (const ImageColor& pixel : empty.pixels()) ASSERT_EQ(pixel.Index, 0);
      // Step 3 (frame 10) lifts the body two rows.
      EXPECT_EQ(identityAt(frame(10), 24 + 3 + 35, -2), identityIndex(24 + 3 + 35));
    }
    if (c.unitType == 1) {
      // A snakeman's walk facing 8, step 2 (frame 9): torso 32, tail 90, lifted by the gap.
      const FalquiImageClass walk = frame(9);
      EXPECT_EQ(identityAt(walk, 90, 0), identityIndex(90));
      EXPECT_EQ(identityAt(walk, 32, testing::kMeasuredGap), identityIndex(32));
    }
  }
}

TEST_F(SequenceGeneratorTest, KeepsTheBackgroundIndexWhenNotConverting) {
  GenerationOptions options;
  options.ra2Background = false;
  ASSERT_TRUE(run(profile(3, 0), options).status.ok());
  EXPECT_EQ(frame(0).pixel(0, 0).Index, 254);
}

TEST_F(SequenceGeneratorTest, ConvertsToTheChosenPaletteFile) {
  Palette ra2(256, PaletteEntry{255, 255, 255});
  const PaletteEntry torso = testing::syntheticPalette()[static_cast<std::size_t>(identityIndex(8))];
  ra2[100] = FalquiImageClass::From6Bit(FalquiImageClass::To6Bit(torso));
  FalquiImageClass carrier;
  carrier.Initialise(1, 1, 8);
  ASSERT_TRUE(carrier.setPalette(ra2).ok());
  ASSERT_TRUE(carrier.SavePalette(BuildPath(folders_.AppFolder, "ra2.pal"), "JASC").ok());
  GenerationOptions options;
  options.palette = ConversionPalette::Ra2;
  const GenerationReport report = run(profile(3, 0), options);
  std::filesystem::remove(BuildPath(folders_.AppFolder, "ra2.pal"));
  ASSERT_TRUE(report.status.ok()) << report.status.message();
  // Stand facing 8 (frame 0) of a civilian is torso 8 alone.
  const FalquiImageClass stand = frame(0);
  EXPECT_EQ(identityAt(stand, 8, 0), 100);
  EXPECT_EQ(stand.paletteEntry(100), ra2[100]);
}

TEST_F(SequenceGeneratorTest, RefusesRunsItCannotMakeWithoutWritingAnything) {
  struct Case {
    const char* what;
    UnitProfile profile;
    ConversionPalette palette;
    const char* expected;
  };
  const auto changed = [&](auto change) {
    UnitProfile p = profile(0, 2);
    change(p);
    return p;
  };
  const std::vector<Case> cases = {
      {"celatid", profile(6, 0), ConversionPalette::None, "\"Celatid\" has no frame layout"},
      {"silacoid", profile(7, 0), ConversionPalette::None, "\"Silacoid\" has no frame layout"},
      {"ra2.pal missing", profile(0, 2), ConversionPalette::Ra2, "\"ra2.pal\" was not found in the folder"},
      {"combo.pal missing", profile(0, 2), ConversionPalette::Combo, "\"combo.pal\" was not found"},
      {"source without digits", changed([&](UnitProfile& p) { p.SourceFile = shared_->file("sprites/unit.bmp"); }),
       ConversionPalette::None, "three-digit frame number"},
      {"short source name", changed([&](UnitProfile& p) { p.SourceFile = shared_->file("sprites/0.bmp"); }),
       ConversionPalette::None, "three-digit frame number"},
      {"output with three digits", changed([&](UnitProfile& p) { p.OutputFile = out_.file("mut000.bmp"); }),
       ConversionPalette::None, "four-digit frame number"},
      {"missing source", changed([&](UnitProfile& p) { p.SourceFile = shared_->file("nothing/unit000.bmp"); }),
       ConversionPalette::None, "does not exist"},
      {"missing output folder", changed([&](UnitProfile& p) { p.OutputFile = out_.file("no/mut0000.bmp"); }),
       ConversionPalette::None, "output folder"},
      {"relative source", changed([&](UnitProfile& p) { p.SourceFile = "sprites/unit000.bmp"; }),
       ConversionPalette::None, "does not exist"},
  };
  for (const Case& c : cases) {
    GenerationOptions options;
    options.palette = c.palette;
    const GenerationReport report = run(c.profile, options);
    EXPECT_FALSE(report.status.ok()) << c.what;
    EXPECT_NE(report.status.message().find(c.expected), std::string::npos) << c.what << ": " << report.status.message();
    EXPECT_TRUE(writtenFiles().empty()) << c.what;
  }
}

TEST_F(SequenceGeneratorTest, MalformedPaletteFileStopsTheRunBeforeItStarts) {
  zet::testing::writeFile(BuildPath(folders_.AppFolder, "combo.pal"), "JASC-PAL\r\n0100\r\n256\r\n1 2 3\r\n");
  GenerationOptions options;
  options.palette = ConversionPalette::Combo;
  const GenerationReport report = run(profile(0, 2), options);
  std::filesystem::remove(BuildPath(folders_.AppFolder, "combo.pal"));
  EXPECT_FALSE(report.status.ok());
  EXPECT_NE(report.status.message().find("combo.pal"), std::string::npos);
  EXPECT_TRUE(writtenFiles().empty());
}

TEST_F(SequenceGeneratorTest, MissingDeadBodySourceOnlySkipsThatFrame) {
  UnitProfile p = profile(3, 0);
  p.SourceFile = shared_->file("nodead/unit005.bmp");
  const GenerationReport report = run(p);
  ASSERT_TRUE(report.status.ok()) << report.status.message();
  EXPECT_EQ(writtenFiles(), frameNames(0, 128, false));
  EXPECT_TRUE(report.sequences.at(4).skipped);
}

TEST_F(SequenceGeneratorTest, BrokenLayerStopsTheRunAtItsFrameAndKeepsEarlierFrames) {
  zet::testing::TempDir sprites;
  testing::writeSpriteSet(sprites.file("unit"), false);
  // Stand facing 1 (frame 7) of a civilian needs source frame 1; cut it short.
  const std::string broken = sprites.file("unit001.bmp");
  std::filesystem::resize_file(broken, 100);
  UnitProfile p = profile(3, 0);
  p.SourceFile = sprites.file("unit000.bmp");
  const GenerationReport report = run(p);
  EXPECT_FALSE(report.status.ok());
  EXPECT_NE(report.status.message().find("Frame 0007 of the Stand sequence"), std::string::npos)
      << report.status.message();
  EXPECT_NE(report.status.message().find(broken), std::string::npos);
  EXPECT_EQ(writtenFiles(), frameNames(0, 6, false));
  EXPECT_EQ(report.framesWritten, 7);
}

TEST_F(SequenceGeneratorTest, UnwritableOutputIsReported) {
  std::filesystem::create_directories(out_.file("mut0003.bmp/inside"));
  const GenerationReport report = run(profile(3, 0));
  EXPECT_FALSE(report.status.ok());
  EXPECT_NE(report.status.message().find("mut0003.bmp"), std::string::npos) << report.status.message();
}

}  // namespace
}  // namespace varnel
