// The default palette of the story display and the reset display's palette.
#include <gtest/gtest.h>

#include <cstddef>
#include <ostream>

#include "display/palette.h"

namespace quillon {
namespace {

struct LevelCase {
  uint8_t level6;
  uint8_t level8;
};

class WidenLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(WidenLevelTest, ScalesSixBitLevelsDown) {
  EXPECT_EQ(widenLevel(GetParam().level6), GetParam().level8);
}

INSTANTIATE_TEST_SUITE_P(Levels, WidenLevelTest,
                         ::testing::Values(LevelCase{0, 0}, LevelCase{5, 20}, LevelCase{21, 85},
                                           LevelCase{42, 170}, LevelCase{56, 226},
                                           LevelCase{63, 255},
                                           // Beyond 6 bits stays the brightest level.
                                           LevelCase{64, 255}, LevelCase{255, 255}));

struct EntryCase {
  std::size_t index;
  Rgb colour;
};

void PrintTo(const EntryCase& c, std::ostream* out) { *out << "entry " << c.index; }

class DefaultPaletteTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(DefaultPaletteTest, HoldsTheStandardColour) {
  EXPECT_EQ(defaultPalette()[GetParam().index], GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(
    StandardColours, DefaultPaletteTest,
    ::testing::Values(EntryCase{0, {0, 0, 0}}, EntryCase{1, {0, 0, 170}}, EntryCase{2, {0, 170, 0}},
                      EntryCase{3, {0, 170, 170}}, EntryCase{4, {170, 0, 0}},
                      EntryCase{5, {170, 0, 170}}, EntryCase{6, {170, 85, 0}},
                      EntryCase{7, {170, 170, 170}}, EntryCase{8, {85, 85, 85}},
                      EntryCase{9, {85, 85, 255}}, EntryCase{10, {85, 255, 85}},
                      EntryCase{11, {85, 255, 255}}, EntryCase{12, {255, 85, 85}},
                      EntryCase{13, {255, 85, 255}}, EntryCase{14, {255, 255, 85}},
                      EntryCase{15, {255, 255, 255}}));

INSTANTIATE_TEST_SUITE_P(
    GreyRamp, DefaultPaletteTest,
    ::testing::Values(EntryCase{16, {0, 0, 0}}, EntryCase{17, {20, 20, 20}},
                      EntryCase{18, {32, 32, 32}}, EntryCase{19, {44, 44, 44}},
                      EntryCase{20, {56, 56, 56}}, EntryCase{21, {68, 68, 68}},
                      EntryCase{22, {80, 80, 80}}, EntryCase{23, {97, 97, 97}},
                      EntryCase{24, {113, 113, 113}}, EntryCase{25, {129, 129, 129}},
                      EntryCase{26, {145, 145, 145}}, EntryCase{27, {161, 161, 161}},
                      EntryCase{28, {182, 182, 182}}, EntryCase{29, {202, 202, 202}},
                      EntryCase{30, {226, 226, 226}}, EntryCase{31, {255, 255, 255}}));

// Samples from the first and last entries of hue groups and from the walk
// around the colour circle, where a wrong level order would show.
INSTANTIATE_TEST_SUITE_P(HueGroups, DefaultPaletteTest,
                         ::testing::Values(EntryCase{32, {0, 0, 255}}, EntryCase{36, {255, 0, 255}},
                                           EntryCase{40, {255, 0, 0}}, EntryCase{44, {255, 255, 0}},
                                           EntryCase{48, {0, 255, 0}}, EntryCase{52, {0, 255, 255}},
                                           EntryCase{55, {0, 64, 255}},
                                           EntryCase{56, {125, 125, 255}},
                                           EntryCase{113, {113, 28, 0}},
                                           EntryCase{247, {44, 48, 64}}, EntryCase{248, {0, 0, 0}},
                                           EntryCase{250, {0, 0, 0}}, EntryCase{255, {0, 0, 0}}));

TEST(SixteenColourPaletteTest, HoldsTheStandardColoursAndBlackElsewhere) {
  const Palette& palette = sixteenColourPalette();
  for (std::size_t i = 0; i < palette.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(palette[i], i < 16 ? defaultPalette()[i] : Rgb{});
  }
}

}  // namespace
}  // namespace quillon
