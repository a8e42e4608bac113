// Opening, re-opening and closing the display, the choice of work and
// visible page, and the display lock.
#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

#include "display/framebuffer.h"
#include "display/key_queue.h"
#include "display/palette.h"
#include "display/text_console.h"
#include "display/window_title.h"
#include "display_fixture.h"

namespace quillon::display_test {
namespace {

bool allPagesBlack() {
  for (const auto& bytes : display().pages) {
    if (std::any_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b != 0; })) return false;
  }
  return true;
}

TEST_F(OpenDisplayTest, OpenScreenGivesSixteenBlackPagesWithTheDefaultPalette) {
  const DisplayRecord& d = display();
  EXPECT_EQ(d.width, 320);
  EXPECT_EQ(d.height, 200);
  EXPECT_EQ(d.depth, 8);
  EXPECT_EQ(d.bytesPerPixel, 1);
  EXPECT_EQ(d.pitch, 320);
  EXPECT_EQ(d.pageCount, 16);
  ASSERT_EQ(d.pages.size(), 16u);
  for (const auto& bytes : d.pages) EXPECT_EQ(bytes.size(), 64000u);
  EXPECT_TRUE(allPagesBlack());
  EXPECT_EQ(d.visiblePage, 0);
  EXPECT_EQ(drawingContext().workPage, 0);
  EXPECT_EQ(d.palette[15], (Rgb{255, 255, 255}));
  EXPECT_EQ(d.palette, defaultPalette());
  EXPECT_EQ(markedRows(), std::vector<int32_t>{});
  EXPECT_EQ(d.textColumns, 40);
  EXPECT_EQ(d.textRows, 25);
  EXPECT_EQ(drawingContext().clipWidth, 320);
  EXPECT_EQ(drawingContext().clipHeight, 200);
  EXPECT_EQ(drawingContext().foreground, 15);
  EXPECT_EQ(drawingContext().background, 0);
  EXPECT_EQ(consoleState().columns, 40);
  EXPECT_EQ(consoleState().rows, 25);
  EXPECT_TRUE(frontEnd_.isOpen());
  EXPECT_EQ(frontEnd_.windowWidth(), 320);
  EXPECT_EQ(frontEnd_.windowHeight(), 200);
}

TEST_F(OpenDisplayTest, WindowTitleIsTheExecutableNameWithoutExtension) {
  EXPECT_EQ(frontEnd_.title(), windowTitleFromPath(executablePath()));
  EXPECT_EQ(frontEnd_.title(), "quillon_display_tests");
  ASSERT_EQ(resetScreen(), 0);
  EXPECT_EQ(frontEnd_.title(), "quillon_display_tests");
}

struct SetPagesCase {
  std::string name;
  int32_t startWork, startVisible;
  int32_t work, visible;
  int32_t endWork, endVisible;
  bool marksAll;
};

void PrintTo(const SetPagesCase& c, std::ostream* out) { *out << c.name; }

class SetPagesTest : public OpenDisplayTest, public ::testing::WithParamInterface<SetPagesCase> {};

TEST_P(SetPagesTest, ReturnsThePreviousPagesAndRedrawsOnlyOnAVisibleChange) {
  const SetPagesCase& c = GetParam();
  setPages(c.startWork, c.startVisible);
  clearMarks();
  EXPECT_EQ(setPages(c.work, c.visible), c.startVisible * 256 + c.startWork);
  EXPECT_EQ(drawingContext().workPage, c.endWork);
  EXPECT_EQ(display().visiblePage, c.endVisible);
  EXPECT_EQ(markedRows(), c.marksAll ? rowRange(0, 199) : std::vector<int32_t>{});
}

INSTANTIATE_TEST_SUITE_P(
    Calls, SetPagesTest,
    ::testing::Values(SetPagesCase{"ProgramsCallAfterOpen", 0, 0, 1, 0, 1, 0, false},
                      SetPagesCase{"WorkOnly", 1, 0, 2, 0, 2, 0, false},
                      SetPagesCase{"VisibleChange", 1, 0, 1, 3, 1, 3, true},
                      SetPagesCase{"ResultHoldsBoth", 4, 3, 4, 3, 4, 3, false},
                      SetPagesCase{"WorkOutOfRange", 1, 0, 16, 2, 1, 2, true},
                      SetPagesCase{"NegativeWorkIgnored", 1, 0, -1, 5, 1, 5, true},
                      SetPagesCase{"VisibleOutOfRange", 1, 0, 3, 16, 3, 0, false},
                      SetPagesCase{"NegativeVisibleIgnored", 1, 2, 5, -1, 5, 2, false},
                      SetPagesCase{"BothNegativeAtZero", 0, 0, -1, -1, 0, 0, false},
                      SetPagesCase{"BothNegativeResetsBoth", 4, 3, -2, -7, 0, 0, true},
                      SetPagesCase{"HugeValuesIgnored", 1, 0, std::numeric_limits<int32_t>::max(),
                                   std::numeric_limits<int32_t>::min(), 1, 0, false}),
    [](const auto& testCase) { return testCase.param.name; });

TEST(NoDisplayTest, OperationsDoNothingWhileNoDisplayIsOpen) {
  closeDisplay();
  ASSERT_EQ(currentDisplay(), nullptr);
  setPixel(1, 1, 7);
  fillBox(0, 0, 319, 199, 7);
  EXPECT_EQ(copyPage(1, 0), 1);
  EXPECT_EQ(copyPage(3, 3), 1);
  EXPECT_EQ(setPages(1, 0), -1);
  closeDisplay();  // closing twice is harmless
  EXPECT_EQ(currentDisplay(), nullptr);
}

struct BadOpenCase {
  std::string name;
  int32_t width, height, depth, pageCount;
};

void PrintTo(const BadOpenCase& c, std::ostream* out) { *out << c.name; }

class BadOpenScreenTest : public OpenDisplayTest,
                          public ::testing::WithParamInterface<BadOpenCase> {};

// Refused arguments leave the open display exactly as it was.
TEST_P(BadOpenScreenTest, RefusesTheArgumentsAndChangesNothing) {
  const BadOpenCase& c = GetParam();
  setPages(kWork, 2);
  paintPattern(kWork, 5);
  const DisplayRecord* before = currentDisplay();
  EXPECT_EQ(openScreen(c.width, c.height, c.depth, c.pageCount), 1);
  ASSERT_EQ(currentDisplay(), before);
  EXPECT_EQ(display().pageCount, 16);
  EXPECT_EQ(display().visiblePage, 2);
  EXPECT_EQ(drawingContext().workPage, kWork);
  std::vector<uint8_t> expected(page(kWork).size());
  paintPatternInto(expected, 5);
  EXPECT_TRUE(page(kWork) == expected);
  EXPECT_TRUE(frontEnd_.isOpen());
  EXPECT_EQ(frontEnd_.opens(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, BadOpenScreenTest,
    ::testing::Values(
        BadOpenCase{"ZeroWidth", 0, 200, 8, 16}, BadOpenCase{"NegativeWidth", -320, 200, 8, 16},
        BadOpenCase{"ZeroHeight", 320, 0, 8, 16}, BadOpenCase{"NegativeHeight", 320, -1, 8, 16},
        BadOpenCase{"DepthThree", 320, 200, 3, 16}, BadOpenCase{"DepthZero", 320, 200, 0, 16},
        BadOpenCase{"NegativeDepth", 320, 200, -8, 16},
        // Pages hold one byte per pixel; deeper modes are refused.
        BadOpenCase{"DepthSixteen", 320, 200, 16, 16},
        BadOpenCase{"DepthThirtyTwo", 320, 200, 32, 16},
        // Would need far more memory than any display should take.
        BadOpenCase{"HugePages", std::numeric_limits<int32_t>::max(),
                    std::numeric_limits<int32_t>::max(), 8, std::numeric_limits<int32_t>::max()},
        BadOpenCase{"TooManyPages", 320, 200, 8, 100000}),
    [](const auto& testCase) { return testCase.param.name; });

TEST_F(OpenDisplayTest, OpenScreenAcceptsEveryOneBytePixelDepthAndAtLeastOnePage) {
  struct Case {
    int32_t depth;
    int32_t pageCount;
    int32_t pages;
  };
  for (const Case& c : {Case{1, 2, 2}, Case{2, 0, 1}, Case{4, -5, 1}, Case{8, 1, 1}}) {
    SCOPED_TRACE(c.depth);
    ASSERT_EQ(openScreen(64, 48, c.depth, c.pageCount), 0);
    EXPECT_EQ(display().depth, c.depth);
    EXPECT_EQ(display().pageCount, c.pages);
    EXPECT_EQ(display().pages.size(), static_cast<std::size_t>(c.pages));
    EXPECT_EQ(display().textColumns, 8);
    EXPECT_EQ(display().textRows, 6);
    EXPECT_EQ(copyPage(0, c.pages), 1);
  }
}

// Nothing of the old display survives a re-open except the title and keys.
TEST_F(OpenDisplayTest, ReopeningClosesTheOldWindowAndKeepsTheKeyQueue) {
  clearKeyQueue();
  setPages(3, 2);
  paintPattern(2, 1);
  queueKeyCode(97);
  ASSERT_EQ(openScreen(320, 200, 8, 16), 0);
  EXPECT_EQ(frontEnd_.opens(), 2);
  EXPECT_TRUE(frontEnd_.isOpen());
  EXPECT_TRUE(allPagesBlack());
  EXPECT_EQ(display().visiblePage, 0);
  EXPECT_EQ(drawingContext().workPage, 0);
  EXPECT_EQ(pollKey(), "a");
  EXPECT_EQ(pollKey(), "");
}

TEST_F(OpenDisplayTest, ResetScreenOpensABlackSixteenColourDisplayOfEightPages) {
  setPages(kWork, 2);
  paintPattern(2, 3);
  paintPattern(kWork, 4);
  setTextColors(4, 5);
  ASSERT_EQ(resetScreen(), 0);
  const DisplayRecord& d = display();
  EXPECT_EQ(d.width, 320);
  EXPECT_EQ(d.height, 200);
  EXPECT_EQ(d.depth, 4);
  EXPECT_EQ(d.pitch, 320);
  EXPECT_EQ(d.pageCount, 8);
  EXPECT_EQ(d.pages.size(), 8u);
  EXPECT_TRUE(allPagesBlack());
  EXPECT_EQ(d.palette, sixteenColourPalette());
  EXPECT_EQ(d.visiblePage, 0);
  EXPECT_EQ(drawingContext().workPage, 0);
  EXPECT_EQ(drawingContext().foreground, 15);
  EXPECT_EQ(drawingContext().background, 0);
  EXPECT_EQ(d.textColumns, 40);
  EXPECT_EQ(d.textRows, 25);
  EXPECT_EQ(frontEnd_.opens(), 2);
  EXPECT_EQ(copyPage(2, 0), 0);
  EXPECT_TRUE(allPagesBlack());
  EXPECT_EQ(copyPage(9, 0), 1);
  EXPECT_EQ(copyPage(8, 0), 1);
  EXPECT_EQ(copyPage(7, 0), 0);
}

struct FailedOpenCase {
  std::string name;
  bool frontEndFails;  // otherwise there is no front end at all
  bool throughReset;
};

void PrintTo(const FailedOpenCase& c, std::ostream* out) { *out << c.name; }

class FailedOpenTest : public ::testing::TestWithParam<FailedOpenCase> {};

// A display that could not get a window is not open at all, and an old
// display has already been closed by then.
TEST_P(FailedOpenTest, ReturnsOneAndLeavesNoDisplay) {
  const FailedOpenCase& c = GetParam();
  HeadlessFrontEnd frontEnd(false);
  setFrontEnd(&frontEnd);
  ASSERT_EQ(openScreen(320, 200, 8, 16), 0);
  if (c.frontEndFails) {
    frontEnd.failNextOpen(true);
  } else {
    setFrontEnd(nullptr);
  }
  EXPECT_EQ(c.throughReset ? resetScreen() : openScreen(320, 200, 8, 16), 1);
  EXPECT_EQ(currentDisplay(), nullptr);
  EXPECT_FALSE(frontEnd.isOpen());
  EXPECT_EQ(setPages(1, 0), -1);
  EXPECT_EQ(copyPage(1, 0), 1);
  setFrontEnd(&frontEnd);
  EXPECT_EQ(openScreen(320, 200, 8, 16), 0);  // the failure was only for one open
  closeDisplay();
  setFrontEnd(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Causes, FailedOpenTest,
                         ::testing::Values(FailedOpenCase{"FrontEndFailsOpenScreen", true, false},
                                           FailedOpenCase{"FrontEndFailsResetScreen", true, true},
                                           FailedOpenCase{"NoFrontEndOpenScreen", false, false},
                                           FailedOpenCase{"NoFrontEndResetScreen", false, true}),
                         [](const auto& testCase) { return testCase.param.name; });

TEST_F(OpenDisplayTest, CloseDisplayClosesTheWindowBeforeReleasingThePages) {
  closeDisplay();
  EXPECT_FALSE(frontEnd_.isOpen());
  EXPECT_EQ(currentDisplay(), nullptr);
}

TEST(DisplayLockTest, NestsOnOneThreadAndExcludesOtherThreads) {
  auto otherThreadCanLock = [] {
    bool locked = false;
    std::thread other([&locked] {
      locked = displayMutex().try_lock();
      if (locked) displayMutex().unlock();
    });
    other.join();
    return locked;
  };
  lockDisplay();
  lockDisplay();
  unlockDisplay();
  EXPECT_FALSE(otherThreadCanLock()) << "the inner unlock released the lock";
  unlockDisplay();
  EXPECT_TRUE(otherThreadCanLock()) << "the outer unlock kept the lock";
  unlockDisplay();  // unbalanced: must not unlock a mutex this thread lacks
  EXPECT_TRUE(otherThreadCanLock());
}

}  // namespace
}  // namespace quillon::display_test
