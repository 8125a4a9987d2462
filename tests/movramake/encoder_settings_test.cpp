#include "encoder_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace movra {
namespace {

EncoderArguments validArguments() {
  EncoderArguments arguments;
  arguments.name = "out.mvr";
  arguments.width = 64;
  arguments.height = 48;
  arguments.frameCount = 10;
  arguments.rateNum = 30;
  arguments.rateDiv = 1;
  arguments.window = 8;
  return arguments;
}

TEST(EncoderSettings, ClampsTheWindowToTwoThroughSixtyFour) {
  for (auto [given, expected] : {std::pair{0u, 2u}, {1u, 2u}, {2u, 2u}, {8u, 8u}, {64u, 64u}, {100u, 64u}}) {
    EncoderArguments arguments = validArguments();
    arguments.window = given;
    EXPECT_EQ(makeEncoderSettings(arguments).settings.window, expected) << given;
  }
}

TEST(EncoderSettings, ReadsThePictureCodeDigitWise) {
  struct Case {
    std::uint32_t code;
    std::uint32_t flags;
  };
  for (const Case& c : {Case{0, 0}, Case{3, 0x30000000}, Case{100, 0x00020000}, Case{1100, 0x00120000},
                        Case{2100, 0x00120000}, Case{1000, 0x00100000}, Case{99, 0x30000000},
                        Case{15, 0xF0000000}}) {
    EncoderArguments arguments = validArguments();
    arguments.pictureCode = c.code;
    EXPECT_EQ(makeEncoderSettings(arguments).settings.videoFlags(), c.flags) << c.code;
  }
}

TEST(EncoderSettings, ReducesTheFrameRateToLowestTerms) {
  for (auto [num, div, reducedNum, reducedDiv] :
       {std::tuple{30000u, 1001u, 30000u, 1001u}, {60u, 2u, 30u, 1u}, {48u, 36u, 4u, 3u}}) {
    EncoderArguments arguments = validArguments();
    arguments.rateNum = num;
    arguments.rateDiv = div;
    const EncoderSettings settings = makeEncoderSettings(arguments).settings;
    EXPECT_EQ(settings.rateNum, reducedNum);
    EXPECT_EQ(settings.rateDiv, reducedDiv);
  }
}

TEST(EncoderSettings, PadsPlanesToWholeBlocks) {
  const PlaneGeometry g = planeGeometry(33, 17);
  EXPECT_EQ(g.lumaWidth, 40u);
  EXPECT_EQ(g.lumaHeight, 24u);
  EXPECT_EQ(g.chromaWidth, 24u);  // (33 + 1) / 2 = 17, rounded up
  EXPECT_EQ(g.chromaHeight, 16u);  // 9 rounded up
}

TEST(EncoderSettings, RefusesArgumentsThatMakeNoFile) {
  const std::string longest(251, 'a'), tooLong(252, 'a');
  const MovraMakeTrack goodTrack{1, 22050, 16, 1, 50, 0,
                                 [](void*, uint32_t, void*, uint32_t) -> uint32_t { return 0; }};
  MovraMakeTrack noCallback = goodTrack;
  noCallback.callback = nullptr;
  MovraMakeTrack threeChannels = goodTrack;
  threeChannels.channels = 3;
  MovraMakeTrack noRate = goodTrack;
  noRate.sample_rate = 0;
  MovraMakeTrack rateTooHigh = goodTrack;
  rateTooHigh.sample_rate = 65536;

  struct Case {
    const char* what;
    void (*change)(EncoderArguments&);
  };
  static const std::string* longName = &tooLong;
  static const MovraMakeTrack* badTracks[] = {&noCallback, &threeChannels, &noRate, &rateTooHigh};
  const Case refused[] = {
      {"null name", [](EncoderArguments& a) { a.name = nullptr; }},
      {"empty name", [](EncoderArguments& a) { a.name = ""; }},
      {"252 characters", [](EncoderArguments& a) { a.name = longName->c_str(); }},
      {"width 0", [](EncoderArguments& a) { a.width = 0; }},
      {"height 0", [](EncoderArguments& a) { a.height = 0; }},
      {"width past the format", [](EncoderArguments& a) { a.width = 4033; }},
      {"height past the limit", [](EncoderArguments& a) { a.height = 16385; }},
      {"no frames", [](EncoderArguments& a) { a.frameCount = 0; }},
      {"index past 4 GB", [](EncoderArguments& a) { a.frameCount = 0xFFFFFFFF; }},
      {"rate dividend 0", [](EncoderArguments& a) { a.rateNum = 0; }},
      {"rate divider 0", [](EncoderArguments& a) { a.rateDiv = 0; }},
      {"tracks without records", [](EncoderArguments& a) { a.trackCount = 1; }},
      {"track without callback", [](EncoderArguments& a) { a.trackCount = 1, a.tracks = badTracks[0]; }},
      {"three channels", [](EncoderArguments& a) { a.trackCount = 1, a.tracks = badTracks[1]; }},
      {"rate 0", [](EncoderArguments& a) { a.trackCount = 1, a.tracks = badTracks[2]; }},
      {"rate past 16 bits", [](EncoderArguments& a) { a.trackCount = 1, a.tracks = badTracks[3]; }},
  };
  for (const Case& c : refused) {
    EncoderArguments arguments = validArguments();
    c.change(arguments);
    EXPECT_NE(makeEncoderSettings(arguments).error, nullptr) << c.what;
  }

  EncoderArguments accepted = validArguments();
  accepted.name = longest.c_str();
  accepted.width = 4032;
  accepted.height = 16384;
  accepted.trackCount = 1;
  accepted.tracks = &goodTrack;
  EXPECT_EQ(makeEncoderSettings(accepted).error, nullptr);
}

}  // namespace
}  // namespace movra
