// The standard VGA default palette of the 256-colour mode, built from its
// structure in 6-bit levels, and the 16-colour palette of the reset display.
#include "display/palette.h"

#include <cstddef>

namespace quillon {

namespace {

constexpr int32_t kMaxLevel6 = 63;
constexpr int32_t kMaxLevel8 = 255;
constexpr std::size_t kStandardColours = 16;
constexpr std::size_t kGreyRampStart = 16;
constexpr std::size_t kHueGroupsStart = 32;
constexpr std::size_t kHueGroupSize = 24;

struct Level6 {
  uint8_t r;
  uint8_t g;
  uint8_t b;
};

constexpr Level6 kStandardLevels[kStandardColours] = {
    {0, 0, 0},    {0, 0, 42},   {0, 42, 0},   {0, 42, 42},  {42, 0, 0},   {42, 0, 42},
    {42, 21, 0},  {42, 42, 42}, {21, 21, 21}, {21, 21, 63}, {21, 63, 21}, {21, 63, 63},
    {63, 21, 21}, {63, 21, 63}, {63, 63, 21}, {63, 63, 63}};

constexpr uint8_t kGreyRamp[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};

// Each hue group is built from five rising levels a..e.
constexpr uint8_t kHueGroupLevels[9][5] = {
    {0, 16, 31, 47, 63}, {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
    {0, 7, 14, 21, 28},  {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
    {0, 4, 8, 12, 16},   {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16}};

// The walk around the colour circle from blue through magenta, red, yellow,
// green and cyan, as indices 0..4 into a group's levels a..e.
constexpr uint8_t kHueWalk[kHueGroupSize][3] = {
    {0, 0, 4}, {1, 0, 4}, {2, 0, 4}, {3, 0, 4}, {4, 0, 4}, {4, 0, 3}, {4, 0, 2}, {4, 0, 1},
    {4, 0, 0}, {4, 1, 0}, {4, 2, 0}, {4, 3, 0}, {4, 4, 0}, {3, 4, 0}, {2, 4, 0}, {1, 4, 0},
    {0, 4, 0}, {0, 4, 1}, {0, 4, 2}, {0, 4, 3}, {0, 4, 4}, {0, 3, 4}, {0, 2, 4}, {0, 1, 4}};

// Levels above 6 bits are taken as the brightest level.
constexpr uint8_t widen(uint8_t level6) {
  const int32_t level = level6 < kMaxLevel6 ? level6 : kMaxLevel6;
  return static_cast<uint8_t>(level * kMaxLevel8 / kMaxLevel6);
}

constexpr Rgb widenRgb(uint8_t r, uint8_t g, uint8_t b) {
  return Rgb{widen(r), widen(g), widen(b)};
}

constexpr Palette buildSixteenColourPalette() {
  Palette palette{};
  for (std::size_t i = 0; i < kStandardColours; ++i) {
    palette[i] = widenRgb(kStandardLevels[i].r, kStandardLevels[i].g, kStandardLevels[i].b);
  }
  return palette;
}

// Entries 248..255 stay black.
constexpr Palette buildDefaultPalette() {
  Palette palette = buildSixteenColourPalette();
  for (std::size_t i = 0; i < std::size(kGreyRamp); ++i) {
    palette[kGreyRampStart + i] = widenRgb(kGreyRamp[i], kGreyRamp[i], kGreyRamp[i]);
  }
  for (std::size_t group = 0; group < std::size(kHueGroupLevels); ++group) {
    const uint8_t* levels = kHueGroupLevels[group];
    for (std::size_t step = 0; step < kHueGroupSize; ++step) {
      const uint8_t* walk = kHueWalk[step];
      palette[kHueGroupsStart + group * kHueGroupSize + step] =
          widenRgb(levels[walk[0]], levels[walk[1]], levels[walk[2]]);
    }
  }
  return palette;
}

constexpr Palette kDefaultPalette = buildDefaultPalette();
constexpr Palette kSixteenColourPalette = buildSixteenColourPalette();

}  // namespace

uint8_t widenLevel(uint8_t level6) { return widen(level6); }

const Palette& defaultPalette() { return kDefaultPalette; }

const Palette& sixteenColourPalette() { return kSixteenColourPalette; }

}  // namespace quillon
