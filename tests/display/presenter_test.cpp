// The headless front end's presenter: what a window would show of the
// visible page, and when it changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "display/framebuffer.h"
#include "display/headless_front_end.h"
#include "display/palette.h"
#include "display/presenter.h"
#include "display_fixture.h"

namespace quillon::display_test {
namespace {

uint32_t rgbPixel(const Rgb& colour) {
  return (uint32_t{colour.r} << 16) | (uint32_t{colour.g} << 8) | uint32_t{colour.b};
}

// The image of `number` through `palette`, as a window shows it.
std::vector<uint32_t> expectedImage(int32_t number, const Palette& palette) {
  std::vector<uint32_t> image;
  for (int32_t y = 0; y < kScreenHeight; ++y) {
    for (int32_t x = 0; x < kScreenWidth; ++x)
      image.push_back(rgbPixel(palette[pixelAt(number, x, y)]));
  }
  return image;
}

::testing::AssertionResult imagesMatch(const std::vector<uint32_t>& actual,
                                       const std::vector<uint32_t>& expected) {
  if (actual.size() != expected.size()) {
    return ::testing::AssertionFailure()
           << "image has " << actual.size() << " pixels, expected " << expected.size();
  }
  int reported = 0;
  ::testing::AssertionResult result = ::testing::AssertionSuccess();
  for (std::size_t i = 0; i < actual.size() && reported < 5; ++i) {
    if (actual[i] != expected[i]) {
      if (reported++ == 0) result = ::testing::AssertionFailure();
      result << "pixel (" << i % kScreenWidth << ", " << i / kScreenWidth << ") is " << std::hex
             << actual[i] << ", expected " << expected[i] << std::dec << "; ";
    }
  }
  return result;
}

TEST_F(OpenDisplayTest, PresenterShowsTheVisiblePageThroughThePalette) {
  setPages(kWork, kVisible);
  paintPattern(kWork, 2);  // every colour index appears
  copyPage(kWork, kVisible);
  EXPECT_TRUE(imagesMatch(frontEnd_.presentNow(), expectedImage(kVisible, defaultPalette())));
  EXPECT_EQ(frontEnd_.presenter().width(), 320);
  EXPECT_EQ(frontEnd_.presenter().height(), 200);
}

// All drawing goes to the work page; the window shows it only once that page
// is copied onto the visible page.
TEST_F(OpenDisplayTest, PresenterShowsWorkPageDrawingOnlyAfterACopyOntoTheVisiblePage) {
  setPages(kWork, kVisible);
  const std::vector<uint32_t> black = frontEnd_.presentNow();
  ASSERT_TRUE(imagesMatch(black, expectedImage(kVisible, defaultPalette())));
  fillBox(10, 10, 100, 50, 12);
  setPixel(200, 150, 14);
  EXPECT_TRUE(imagesMatch(frontEnd_.presentNow(), black)) << "after drawing";
  copyPage(kWork, 2);
  EXPECT_TRUE(imagesMatch(frontEnd_.presentNow(), black)) << "after a copy onto page 2";
  copyPage(kWork, kVisible);
  const std::vector<uint32_t> shown = frontEnd_.presentNow();
  EXPECT_FALSE(imagesMatch(shown, black));
  EXPECT_TRUE(imagesMatch(shown, expectedImage(kWork, defaultPalette())));
}

TEST_F(OpenDisplayTest, PresenterFollowsASwitchOfTheVisiblePage) {
  paintPattern(3, 7);
  frontEnd_.presentNow();
  setPages(kWork, 3);
  EXPECT_TRUE(imagesMatch(frontEnd_.presentNow(), expectedImage(3, defaultPalette())));
}

TEST_F(OpenDisplayTest, PresentationPassConvertsOnlyTheChangedRowsAndClearsTheirFlags) {
  Presenter presenter;
  lockDisplay();
  const RowSpan first = presenter.presentPassLocked();
  unlockDisplay();
  EXPECT_EQ(first.first, 0) << "a new presenter draws everything";
  EXPECT_EQ(first.last, 199);

  setPixel(5, 12, 9);  // work page 0 is the visible page
  setPixel(6, 7, 9);
  lockDisplay();
  const RowSpan changed = presenter.presentPassLocked();
  const RowSpan idle = presenter.presentPassLocked();
  unlockDisplay();
  EXPECT_EQ(changed.first, 7);
  EXPECT_EQ(changed.last, 12);
  EXPECT_TRUE(idle.empty());
  EXPECT_EQ(markedRows(), std::vector<int32_t>{});
  EXPECT_EQ(presenter.image()[12 * 320 + 5], rgbPixel(defaultPalette()[9]));

  presenter.markAllChanged();
  lockDisplay();
  const RowSpan forced = presenter.presentPassLocked();
  unlockDisplay();
  EXPECT_EQ(forced.first, 0);
  EXPECT_EQ(forced.last, 199);
}

TEST_F(OpenDisplayTest, PaletteChangeRedrawsTheWholeWindowInTheNewColour) {
  fillBox(0, 0, 319, 199, 5);
  frontEnd_.presentNow();
  setWindowPalette(5, 1, 2, 3);
  setWindowPalette(300, 9, 9, 9);  // no such entry: ignored
  Palette expected = defaultPalette();
  expected[5] = Rgb{1, 2, 3};
  EXPECT_TRUE(imagesMatch(frontEnd_.presentNow(), expectedImage(kVisible, expected)));
}

TEST_F(OpenDisplayTest, ResetScreenShowsABlackWindowAfterCopyingABlackPage) {
  paintPattern(0, 1);
  copyPage(1, 0);
  frontEnd_.presentNow();
  ASSERT_EQ(resetScreen(), 0);
  ASSERT_EQ(copyPage(2, 0), 0);
  const std::vector<uint32_t> black(320 * 200, 0);
  EXPECT_TRUE(imagesMatch(frontEnd_.presentNow(), black));
}

TEST(HeadlessFrontEndTest, RecordsTheWindowAndFailsOneOpenOnRequest) {
  HeadlessFrontEnd frontEnd(false);
  frontEnd.failNextOpen(true);
  EXPECT_NE(frontEnd.openWindow("story", 320, 200, 8, false), 0);
  EXPECT_FALSE(frontEnd.isOpen());
  EXPECT_EQ(frontEnd.openWindow("story", 320, 200, 8, false), 0);
  EXPECT_TRUE(frontEnd.isOpen());
  EXPECT_EQ(frontEnd.title(), "story");
  EXPECT_EQ(frontEnd.windowWidth(), 320);
  EXPECT_EQ(frontEnd.windowHeight(), 200);
  EXPECT_EQ(frontEnd.opens(), 1);
  frontEnd.beep();
  frontEnd.beep();
  EXPECT_EQ(frontEnd.beeps(), 2);
  frontEnd.closeWindow();
  EXPECT_FALSE(frontEnd.isOpen());
}

// The presenter thread must show a copy without anyone asking it to.
TEST(HeadlessFrontEndTest, PresenterThreadShowsACopyOntoTheVisiblePage) {
  HeadlessFrontEnd frontEnd(true);
  setFrontEnd(&frontEnd);
  ASSERT_EQ(openScreen(320, 200, 8, 16), 0);
  setPages(kWork, kVisible);
  fillBox(0, 0, 319, 199, 4);
  copyPage(kWork, kVisible);
  const uint32_t red = rgbPixel(defaultPalette()[4]);
  // A generous bound so that a presenter that never shows fails, not hangs.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  bool shown = false;
  while (!shown && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    DisplayLock lock;
    const auto& image = frontEnd.presenter().image();
    shown = !image.empty() &&
            std::all_of(image.begin(), image.end(), [red](uint32_t pixel) { return pixel == red; });
  }
  EXPECT_TRUE(shown);
  closeDisplay();
  EXPECT_FALSE(frontEnd.isOpen());
  setFrontEnd(nullptr);
}

}  // namespace
}  // namespace quillon::display_test
