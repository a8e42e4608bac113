// The window's decisions that need no display: which close requests queue
// the close key, where the window and the full-screen image go, the bell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "display/sdl/sdl_bell.h"
#include "display/sdl/sdl_close_request.h"
#include "display/sdl/sdl_layout.h"
#include "support/child_process.h"

namespace quillon {
namespace {

TEST(CloseRequestFilter, SwallowsOnlyTheEchoOfAltF4) {
  struct Case {
    const char* name;
    bool altF4 = false;
    uint32_t pressedAt = 0;
    uint32_t closeAt = 0;
    bool held = false;
    bool queues = true;
  };
  const Case cases[] = {
      {"CloseButton", false, 0, 1000, false, true},
      {"RightAfterAltF4", true, 1000, 1020, false, false},
      {"AtTheEndOfTheEchoTime", true, 1000, 1000 + kAltF4EchoMilliseconds, false, false},
      {"LongAfterAltF4", true, 1000, 1001 + kAltF4EchoMilliseconds, false, true},
      // SDL's tick counter wraps after 49 days.
      {"AcrossTheTickWrap", true, 0xFFFFFFF0u, 20, false, false},
      {"WhileAltF4IsHeld", false, 0, 5000, true, false},
  };
  for (const Case& c : cases) {
    CloseRequestFilter filter;
    if (c.altF4) {
      filter.altF4Pressed(c.pressedAt);
    }
    EXPECT_EQ(filter.closeRequestQueues(c.closeAt, c.held), c.queues) << c.name;
  }
}

TEST(CloseRequestFilter, OneAltF4SwallowsOneCloseRequest) {
  CloseRequestFilter filter;
  filter.altF4Pressed(100);
  EXPECT_FALSE(filter.closeRequestQueues(110, false));
  EXPECT_TRUE(filter.closeRequestQueues(120, false));
}

TEST(IntegerScaledRect, UsesTheLargestWholeFactorAndCentres) {
  struct Case {
    int32_t outputWidth;
    int32_t outputHeight;
    ScreenRect expected;
  };
  const Case cases[] = {
      {320, 200, {0, 0, 320, 200}},
      {1024, 768, {32, 84, 960, 600}},
      {1920, 1080, {160, 40, 1600, 1000}},
      {640, 399, {160, 99, 320, 200}},   // one row short of factor 2
      {300, 150, {-10, -25, 320, 200}},  // never below one pixel per pixel
  };
  for (const Case& c : cases) {
    EXPECT_EQ(integerScaledRect(320, 200, c.outputWidth, c.outputHeight), c.expected)
        << c.outputWidth << " x " << c.outputHeight;
  }
}

TEST(DisplayHoldingPoint, FindsTheDisplayUnderThePointerOrThePrimary) {
  const std::vector<ScreenRect> displays = {{0, 0, 1024, 768}, {1024, 0, 1280, 1024}};
  struct Case {
    int32_t x;
    int32_t y;
    int32_t expected;
  };
  const Case cases[] = {
      {10, 10, 0}, {1023, 767, 0}, {1024, 767, 1}, {1500, 900, 1}, {-5, 0, 0}, {500, 900, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(displayHoldingPoint(displays, c.x, c.y), c.expected) << c.x << ", " << c.y;
  }
  EXPECT_EQ(displayHoldingPoint({}, 5, 5), 0);
}

TEST(BellTone, IsAQuarterSecondAtOneKilohertzWithoutClicks) {
  constexpr int32_t kRate = 48000;
  const std::vector<int16_t> tone = bellTone(kRate);
  ASSERT_EQ(tone.size(), static_cast<std::size_t>(kRate / 4));
  int32_t signChanges = 0;
  for (std::size_t i = 1; i < tone.size(); ++i) {
    if ((tone[i - 1] < 0) != (tone[i] < 0)) {
      ++signChanges;
    }
  }
  // Two sign changes per period, 250 periods.
  EXPECT_NEAR(signChanges, 500, 2);
  EXPECT_LE(std::abs(tone.front()), 1);
  EXPECT_LE(std::abs(tone.back()), 100);
  const auto [low, high] = std::minmax_element(tone.begin(), tone.end());
  EXPECT_GT(*high, 4000);
  EXPECT_LT(*low, -4000);
}

// Standard error carries only the abort message, so the search for a sound
// device (which may find none) must stay silent there.
TEST(SdlBell, RingsWithoutWritingToStandardError) {
  const ChildResult result = runInChild([] {
    SdlBell bell;
    bell.ring();
    bell.ring();
  });
  EXPECT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.stderrBytes, "");
}

}  // namespace
}  // namespace quillon
