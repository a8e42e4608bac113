// Cursor movement, wrapping, scrolling and the pending scroll of the console.
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "display/text_console.h"
#include "text_console_fixture.h"

namespace quillon::console_test {
namespace {

struct LocateCase {
  const char* name;
  Cursor start;
  int32_t row;
  int32_t column;
  Cursor expected;
};

const std::vector<LocateCase> kLocateCases = {
    {"RowOnlyKeepsColumn", {7, 9}, 2, 0, {2, 9}},
    {"ColumnOnlyKeepsRow", {7, 9}, 0, 5, {7, 5}},
    {"BothZeroMovesNothing", {7, 9}, 0, 0, {7, 9}},
    {"TopLeftCorner", {7, 9}, 1, 1, {1, 1}},
    {"BottomRightCorner", {7, 9}, 25, 40, {25, 40}},
    {"NegativeColumnRefused", {7, 9}, 20, -1, {7, 9}},
    {"Column41Refused", {7, 9}, 20, 41, {7, 9}},
    {"Row26Refused", {7, 9}, 26, 1, {7, 9}},
    {"NegativeRowRefused", {7, 9}, -1, 1, {7, 9}},
    // A bad column refuses the good row with it, and the other way round.
    {"BadColumnWithKeptRowRefused", {7, 9}, 0, 41, {7, 9}},
    {"BadRowWithKeptColumnRefused", {7, 9}, 26, 0, {7, 9}},
    {"ExtremeValuesRefused", {7, 9}, INT_MIN, INT_MAX, {7, 9}},
    {"ExtremeRowRefused", {7, 9}, INT_MAX, 3, {7, 9}},
};

class LocateTest : public TextConsoleTest, public ::testing::WithParamInterface<LocateCase> {};

TEST_P(LocateTest, MovesTheCursorOrRefusesTheWholeCall) {
  const LocateCase& c = GetParam();
  locate(c.start.row, c.start.column);
  ASSERT_EQ(cursor(), c.start);
  locate(c.row, c.column);
  EXPECT_EQ(cursor(), c.expected);
}

// Refused or not, locate drops a pending scroll, so the next glyph does not scroll.
TEST_P(LocateTest, CancelsAPendingScroll) {
  const LocateCase& c = GetParam();
  locate(25, 1);
  print(std::string(kColumns, 'a'));
  ASSERT_TRUE(consoleState().pendingScroll);
  paintStripes();
  locate(c.row, c.column);
  EXPECT_FALSE(consoleState().pendingScroll);
  print("Z");
  // No case of the table puts the Z into row 2, column 1.
  EXPECT_EQ(pixel(0, kCell), kStripeBase + kCell) << "the page scrolled";
}

INSTANTIATE_TEST_SUITE_P(Cases, LocateTest, ::testing::ValuesIn(kLocateCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(TextConsoleTest, LocateWithRowOnlyContinuesFromTheKeptColumn) {
  locate(2, 2);
  print(std::string(38, ' '));
  ASSERT_EQ(cursor(), (Cursor{2, 40}));
  locate(2, 0);
  print("XY");
  EXPECT_TRUE(cellShowsGlyph(2, 40, 'X', 15, 0));
  EXPECT_TRUE(cellShowsGlyph(3, 1, 'Y', 15, 0));
  EXPECT_EQ(cursor(), (Cursor{3, 2}));
}

TEST_F(TextConsoleTest, ChangingTheWorkPageKeepsTheCursor) {
  locate(5, 6);
  setPages(2, 0);
  EXPECT_EQ(cursor(), (Cursor{5, 6}));
  print("Q");
  EXPECT_EQ(pixel(5 * kCell + 2, 4 * kCell, 2), 15) << "Q's top row on page 2";
  EXPECT_EQ(pixel(5 * kCell + 2, 4 * kCell, 1), 0) << "page 1 untouched";
}

struct PrintCase {
  const char* name;
  Cursor start;
  std::string text;
  Cursor end;
  bool pending;
  int32_t scrolledRows;
};

const std::vector<PrintCase> kPrintCases = {
    {"FortyGlyphsFillRow24AndMoveToRow25", {24, 1}, std::string(40, 'a'), {25, 1}, false, 0},
    {"FortyGlyphsOnRow25LeaveAScrollPending", {25, 1}, std::string(40, 'a'), {25, 40}, true, 0},
    {"FortyOneGlyphsFromRow24Column40LeaveAScrollPending",
     {24, 40},
     std::string(41, 'a'),
     {25, 40},
     true,
     0},
    {"FortyTwoGlyphsFromRow24Column40ScrollOnce",
     {24, 40},
     std::string(42, 'a'),
     {25, 2},
     false,
     1},
    {"BellAfterAFilledBottomRowKeepsThePendingScroll",
     {25, 1},
     std::string(40, 'a') + "\a",
     {25, 40},
     true,
     0},
    {"CarriageReturnAfterAFilledBottomRowScrolls",
     {25, 1},
     std::string(40, 'a') + "\r",
     {25, 1},
     false,
     1},
    {"BackspaceAfterAFilledBottomRowScrolls",
     {25, 1},
     std::string(40, 'a') + "\b",
     {25, 1},
     false,
     1},
    {"LineFeedAfterAFilledBottomRowScrollsTwice",
     {25, 1},
     std::string(40, 'a') + "\n",
     {25, 1},
     false,
     2},
    {"LineFeedEndingTheTextOnRow25ScrollsAtTheEnd", {25, 7}, "\n", {25, 1}, false, 1},
    {"ThreeLineFeedsOnRow25ThenAGlyphScrollByThree", {25, 7}, "\n\n\nx", {25, 2}, false, 3},
    {"TwentyFiveLineFeedsBlankTheWholePage", {25, 1}, std::string(25, '\n'), {25, 1}, false, 25},
    {"ManyLineFeedsBlankTheWholePage", {25, 1}, std::string(5000, '\n'), {25, 1}, false, 25},
    {"LineFeedMidScreenMovesToTheNextRow", {10, 7}, "\n", {11, 1}, false, 0},
    {"CarriageReturnGoesToColumn1", {10, 5}, "ab\r", {10, 1}, false, 0},
    {"BackspaceMovesOneColumnLeft", {10, 5}, "\b", {10, 4}, false, 0},
    {"BackspaceInColumn1DoesNothing", {10, 1}, "\b", {10, 1}, false, 0},
    {"BellDoesNotMoveTheCursor", {10, 5}, "\a", {10, 5}, false, 0},
    {"TabFromColumn1GoesToColumn9", {10, 1}, "\t", {10, 9}, false, 0},
    {"TabFromColumn12GoesToColumn17", {10, 12}, "\t", {10, 17}, false, 0},
    {"TabFromColumn33FillsTheRowAndWraps", {10, 33}, "\t", {11, 1}, false, 0},
    {"TabFromColumn40WritesOneBlankAndWraps", {10, 40}, "\t", {11, 1}, false, 0},
    {"TabFillingTheBottomRowLeavesAScrollPending", {25, 33}, "\t", {25, 40}, true, 0},
    {"GlyphInColumn40WrapsToTheNextRow", {10, 40}, "ab", {11, 2}, false, 0},
    {"ControlBytesWithoutAMeaningAreGlyphs",
     {10, 1},
     bytes({0, 1, 6, 11, 12, 14, 27, 31, 127, 255}),
     {10, 11},
     false,
     0},
};

class PrintCursorTest : public TextConsoleTest, public ::testing::WithParamInterface<PrintCase> {};

TEST_P(PrintCursorTest, MovesTheCursorAndScrollsAsExpected) {
  const PrintCase& c = GetParam();
  paintStripes();
  locate(c.start.row, c.start.column);
  print(c.text);
  EXPECT_EQ(cursor(), c.end);
  EXPECT_EQ(consoleState().pendingScroll, c.pending);
  // Row 1 is never written by these texts, so its top pixel shows the scroll.
  const int32_t expectedTop = c.scrolledRows >= kRows ? 0 : kStripeBase + c.scrolledRows * kCell;
  EXPECT_EQ(pixel(0, 0), expectedTop);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintCursorTest, ::testing::ValuesIn(kPrintCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// What may happen between a print that filled the bottom-right cell and the
// next one-glyph print.
struct PendingCase {
  const char* name;
  std::function<void()> between;
  bool scrolls;
  Cursor glyphCell;
  Cursor end;
};

const std::vector<PendingCase> kPendingCases = {
    {"NextPrintScrollsFirst", [] {}, true, {25, 1}, {25, 2}},
    {"EmptyPrintKeepsTheScrollPending", [] { printText(""); }, true, {25, 1}, {25, 2}},
    {"LocateZeroZeroCancelsIt", [] { locate(0, 0); }, false, {25, 40}, {25, 40}},
    {"LocateElsewhereCancelsIt", [] { locate(25, 1); }, false, {25, 1}, {25, 2}},
    {"RefusedLocateCancelsIt", [] { locate(99, 1); }, false, {25, 40}, {25, 40}},
    {"ClearScreenCancelsIt", [] { clearScreen(); }, false, {1, 1}, {1, 2}},
};

class PendingScrollTest : public TextConsoleTest,
                          public ::testing::WithParamInterface<PendingCase> {};

TEST_P(PendingScrollTest, IsTakenByTheNextNonEmptyPrintUnlessCancelled) {
  const PendingCase& c = GetParam();
  setTextColors(15, 4);
  paintStripes();
  locate(25, 1);
  print(std::string(kColumns, 'a'));
  ASSERT_TRUE(consoleState().pendingScroll);
  c.between();
  if (!c.scrolls) {
    EXPECT_FALSE(consoleState().pendingScroll);
  }
  print("Z");
  EXPECT_TRUE(cellShowsGlyph(c.glyphCell.row, c.glyphCell.column, 'Z', 15, 4));
  EXPECT_EQ(cursor(), c.end);
  if (c.scrolls) {
    EXPECT_EQ(pixel(0, 0), kStripeBase + kCell);
    EXPECT_TRUE(cellShowsGlyph(24, 1, 'a', 15, 4)) << "the filled row moved up";
    for (int32_t column = 2; column <= kColumns; ++column) {
      EXPECT_TRUE(cellFilledWith(25, column, 4)) << "the new bottom row is background";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PendingScrollTest, ::testing::ValuesIn(kPendingCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(TextConsoleTest, EmptyPrintChangesNothing) {
  paintStripes();
  locate(9, 13);
  print("");
  EXPECT_EQ(cursor(), (Cursor{9, 13}));
  for (int32_t y = 0; y < kScreenHeight; ++y) {
    ASSERT_EQ(pixel(100, y), kStripeBase + y);
  }
}

// The scroll moves whole pixel rows and fills the freed rows with the
// background; from 25 rows on it blanks the whole page.
class ScrollAmountTest : public TextConsoleTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(ScrollAmountTest, MovesPixelRowsUpAndFillsTheBottomWithBackground) {
  const int32_t rows = GetParam();
  constexpr uint8_t kBackground = 5;
  setTextColors(15, kBackground);
  paintStripes();
  locate(25, 1);
  print(std::string(static_cast<std::size_t>(rows), '\n'));
  const int32_t shift = rows * kCell;
  for (int32_t y = 0; y < kScreenHeight; ++y) {
    const int32_t expected = y + shift < kScreenHeight ? kStripeBase + y + shift : kBackground;
    for (int32_t x = 0; x < kScreenWidth; ++x) {
      ASSERT_EQ(pixel(x, y), expected) << "pixel (" << x << ", " << y << ")";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, ScrollAmountTest, ::testing::Values(1, 3, 24, 25, 30));

}  // namespace
}  // namespace quillon::console_test
