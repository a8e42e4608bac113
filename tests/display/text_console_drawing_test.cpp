// What the console draws: glyph cells, blanks, the lone-255 underline,
// colours, clearing, long runs and the changed-row flags.
#include <array>
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "display/font.h"
#include "display/text_console.h"
#include "text_console_fixture.h"

namespace quillon::console_test {
namespace {

constexpr uint8_t kUnderColour = 9;  // what lies under the text before printing
constexpr uint8_t kForeground = 14;
constexpr uint8_t kBackground = 4;

struct FontSample {
  const char* name;
  uint8_t byte;
  std::array<uint8_t, 8> rows;  // bit 0 is the leftmost pixel
};

const std::vector<FontSample> kFontSamples = {
    {"Blank0", 0, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
    {"SmilingFace", 1, {0x7E, 0x81, 0xA5, 0x81, 0xBD, 0x99, 0x81, 0x7E}},
    {"ExclamationMark", 33, {0x0C, 0x1E, 0x1E, 0x1E, 0x0C, 0x00, 0x0C, 0x00}},
    {"DigitZero", 48, {0x3E, 0x63, 0x73, 0x7B, 0x6F, 0x67, 0x3E, 0x00}},
    {"CapitalA", 65, {0x0C, 0x1E, 0x33, 0x33, 0x3F, 0x33, 0x33, 0x00}},
    {"SmallA", 97, {0x00, 0x00, 0x1E, 0x30, 0x3E, 0x33, 0x6E, 0x00}},
    {"LightShade", 176, {0x44, 0x11, 0x44, 0x11, 0x44, 0x11, 0x44, 0x11}},
    {"DoubleLineTopLeftCorner", 201, {0x00, 0x00, 0xFC, 0x0C, 0xEC, 0x6C, 0x6C, 0x6C}},
    {"FullBlock", 219, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    {"Blank255", 255, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
};

class FontSampleTest : public TextConsoleTest, public ::testing::WithParamInterface<FontSample> {};

// Checks the table and the bit order of drawing against independent data:
// a mirrored font or mirrored drawing fails here.
TEST_P(FontSampleTest, TableAndDrawnCellMatchTheReferenceRows) {
  const FontSample& sample = GetParam();
  for (std::size_t row = 0; row < 8; ++row) {
    EXPECT_EQ(kFont8x8[sample.byte][row], sample.rows[row]) << "table row " << row;
  }
  setTextColors(kForeground, kBackground);
  locate(3, 7);
  // A trailing blank keeps 255 from being printed on its own.
  print(bytes({sample.byte, ' '}));
  for (int32_t gy = 0; gy < kCell; ++gy) {
    for (int32_t gx = 0; gx < kCell; ++gx) {
      const bool set = ((sample.rows[static_cast<std::size_t>(gy)] >> gx) & 1) != 0;
      ASSERT_EQ(pixel(6 * kCell + gx, 2 * kCell + gy), set ? kForeground : kBackground)
          << "glyph pixel (" << gx << ", " << gy << ")";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Glyphs, FontSampleTest, ::testing::ValuesIn(kFontSamples),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

enum class Shows { Glyph, Background, Underline, Untouched };

struct CellExpectation {
  int32_t row;
  int32_t column;
  Shows shows;
  uint8_t glyph = 0;
};

struct CellCase {
  const char* name;
  Cursor start;
  std::string text;
  std::vector<CellExpectation> cells;
};

const std::vector<CellCase> kCellCases = {
    {"ZeroBlankAnd255InsideTextPaintBackground",
     {3, 1},
     bytes({'x', 0, 32, 255, 'y'}),
     {{3, 1, Shows::Glyph, 'x'},
      {3, 2, Shows::Background},
      {3, 3, Shows::Background},
      {3, 4, Shows::Background},
      {3, 5, Shows::Glyph, 'y'},
      {3, 6, Shows::Untouched}}},
    {"Lone255UnderlinesItsCell",
     {3, 5},
     bytes({255}),
     {{3, 5, Shows::Underline}, {3, 6, Shows::Untouched}}},
    {"Lone255AfterALineFeedUnderlines",
     {3, 1},
     bytes({'a', 'b', 10, 255}),
     {{3, 1, Shows::Glyph, 'a'}, {3, 2, Shows::Glyph, 'b'}, {4, 1, Shows::Underline}}},
    {"Lone255BeforeALineFeedUnderlines", {3, 1}, bytes({255, 10}), {{3, 1, Shows::Underline}}},
    {"Two255sDrawBlanks",
     {3, 1},
     bytes({255, 255}),
     {{3, 1, Shows::Background}, {3, 2, Shows::Background}}},
    // The wrap splits the run into two pieces; the second holds only the 255.
    {"Lone255PieceAfterAWrapUnderlines",
     {3, 40},
     bytes({'a', 255}),
     {{3, 40, Shows::Glyph, 'a'}, {4, 1, Shows::Underline}}},
    {"BellOccupiesNoCell",
     {3, 1},
     bytes({65, 7, 66}),
     {{3, 1, Shows::Glyph, 'A'}, {3, 2, Shows::Glyph, 'B'}, {3, 3, Shows::Untouched}}},
    {"BackspaceDoesNotErase",
     {3, 1},
     "ab\bc",
     {{3, 1, Shows::Glyph, 'a'}, {3, 2, Shows::Glyph, 'c'}}},
    {"CarriageReturnOverwritesFromColumn1",
     {3, 1},
     "abc\rX",
     {{3, 1, Shows::Glyph, 'X'}, {3, 2, Shows::Glyph, 'b'}, {3, 3, Shows::Glyph, 'c'}}},
    {"TabFromColumn33PaintsEightBlankCells",
     {3, 33},
     "\t",
     {{3, 32, Shows::Untouched},
      {3, 33, Shows::Background},
      {3, 36, Shows::Background},
      {3, 40, Shows::Background},
      {4, 1, Shows::Untouched}}},
    {"TabInColumn40PaintsOneBlankCell",
     {3, 40},
     "\t",
     {{3, 39, Shows::Untouched}, {3, 40, Shows::Background}, {4, 1, Shows::Untouched}}},
    {"TabBetweenGlyphsPadsToTheNextStop",
     {3, 1},
     "ab\tc",
     {{3, 2, Shows::Glyph, 'b'},
      {3, 3, Shows::Background},
      {3, 8, Shows::Background},
      {3, 9, Shows::Glyph, 'c'}}},
    {"GlyphInColumn40WrapsToColumn1",
     {3, 40},
     "ab",
     {{3, 40, Shows::Glyph, 'a'}, {4, 1, Shows::Glyph, 'b'}}},
    {"LineFeedStartsTheNextRowAtColumn1",
     {3, 5},
     "a\nb",
     {{3, 5, Shows::Glyph, 'a'}, {4, 1, Shows::Glyph, 'b'}, {4, 5, Shows::Untouched}}},
    {"ControlPicturesAreDrawn",
     {3, 1},
     bytes({1, 6, 11, 12, 14, 27}),
     {{3, 1, Shows::Glyph, 1},
      {3, 2, Shows::Glyph, 6},
      {3, 3, Shows::Glyph, 11},
      {3, 4, Shows::Glyph, 12},
      {3, 5, Shows::Glyph, 14},
      {3, 6, Shows::Glyph, 27}}},
};

class CellDrawingTest : public TextConsoleTest, public ::testing::WithParamInterface<CellCase> {};

TEST_P(CellDrawingTest, DrawsTheExpectedCells) {
  const CellCase& c = GetParam();
  fillWorkPage(kUnderColour);
  setTextColors(kForeground, kBackground);
  locate(c.start.row, c.start.column);
  print(c.text);
  for (const CellExpectation& cell : c.cells) {
    SCOPED_TRACE(::testing::Message() << "cell row " << cell.row << ", column " << cell.column);
    switch (cell.shows) {
      case Shows::Glyph:
        EXPECT_TRUE(cellShowsGlyph(cell.row, cell.column, cell.glyph, kForeground, kBackground));
        break;
      case Shows::Background:
        EXPECT_TRUE(cellFilledWith(cell.row, cell.column, kBackground));
        break;
      case Shows::Untouched:
        EXPECT_TRUE(cellFilledWith(cell.row, cell.column, kUnderColour));
        break;
      case Shows::Underline:
        for (int32_t gy = 0; gy < kCell; ++gy) {
          for (int32_t gx = 0; gx < kCell; ++gx) {
            const int32_t x = (cell.column - 1) * kCell + gx;
            const int32_t y = (cell.row - 1) * kCell + gy;
            EXPECT_EQ(pixel(x, y), gy == kCell - 1 ? kForeground : kUnderColour)
                << "pixel (" << x << ", " << y << ")";
          }
        }
        break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, CellDrawingTest, ::testing::ValuesIn(kCellCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(TextConsoleTest, BellSoundsTheFrontEndBeepOncePerByte) {
  locate(3, 1);
  print(bytes({65, 7, 66, 7}));
  EXPECT_EQ(frontEnd_.beeps(), 2);
  print("\a");
  EXPECT_EQ(frontEnd_.beeps(), 3);
}

TEST_F(TextConsoleTest, BellWithoutAFrontEndIsSilentAndHarmless) {
  setFrontEnd(nullptr);
  locate(3, 1);
  print(bytes({65, 7, 66}));
  setFrontEnd(&frontEnd_);
  EXPECT_EQ(frontEnd_.beeps(), 0);
  EXPECT_TRUE(cellShowsGlyph(3, 2, 'B', 15, 0));
}

struct ColourCase {
  int32_t foreground;
  int32_t background;
  uint8_t storedForeground;
  uint8_t storedBackground;
};

class TextColourTest : public TextConsoleTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(TextColourTest, KeepsTheLowEightBitsAndDrawsWithThem) {
  const ColourCase& c = GetParam();
  setTextColors(c.foreground, c.background);
  EXPECT_EQ(drawingContext().foreground, c.storedForeground);
  EXPECT_EQ(drawingContext().background, c.storedBackground);
  locate(2, 2);
  print("A");
  EXPECT_TRUE(cellShowsGlyph(2, 2, 'A', c.storedForeground, c.storedBackground));
}

INSTANTIATE_TEST_SUITE_P(Colours, TextColourTest,
                         ::testing::Values(ColourCase{15, 0, 15, 0}, ColourCase{-1, 256, 255, 0},
                                           ColourCase{300, -2, 44, 254},
                                           ColourCase{INT_MIN, INT_MAX, 0, 255}));

TEST_F(TextConsoleTest, ClearScreenFillsTheWorkPageHomesTheCursorAndLeavesTheVisiblePage) {
  paintStripes();
  locate(25, 1);
  print(std::string(kColumns, 'a'));
  ASSERT_TRUE(consoleState().pendingScroll);
  setTextColors(15, 4);
  clearScreen();
  EXPECT_EQ(cursor(), (Cursor{1, 1}));
  EXPECT_FALSE(consoleState().pendingScroll);
  for (int32_t y = 0; y < kScreenHeight; ++y) {
    for (int32_t x = 0; x < kScreenWidth; ++x) {
      ASSERT_EQ(pixel(x, y), 4) << "work page pixel (" << x << ", " << y << ")";
      ASSERT_EQ(pixel(x, y, 0), 0) << "visible page pixel (" << x << ", " << y << ")";
    }
  }
}

TEST_F(TextConsoleTest, RunsLongerThan1024BytesAreDrawnCompletely) {
  // 2001 glyphs from the top left: 50 rows' worth and one more, so the page
  // scrolls 25 rows while a long run is being drawn.
  std::string text(2000, 'A');
  text += 'B';
  locate(1, 1);
  print(text);
  EXPECT_EQ(cursor(), (Cursor{25, 2}));
  for (int32_t row = 1; row < kRows; ++row) {
    for (int32_t column = 1; column <= kColumns; ++column) {
      ASSERT_TRUE(cellShowsGlyph(row, column, 'A', 15, 0));
    }
  }
  EXPECT_TRUE(cellShowsGlyph(25, 1, 'B', 15, 0));
  for (int32_t column = 2; column <= kColumns; ++column) {
    ASSERT_TRUE(cellFilledWith(25, column, 0));
  }
}

// A run holds at most 1024 bytes, so a 255 that comes right after 1024
// glyphs forms a piece of its own and underlines; one byte earlier it shares
// a piece with its neighbours and is blank.
TEST_F(TextConsoleTest, ARunEndsAfter1024Bytes) {
  setTextColors(kForeground, kBackground);
  locate(1, 1);
  print(std::string(1024, 'A') + bytes({255}));
  // 1024 glyphs end at row 26, column 24, so the page scrolled one row.
  EXPECT_EQ(cursor(), (Cursor{25, 26}));
  EXPECT_TRUE(cellShowsGlyph(25, 24, 'A', kForeground, kBackground));
  EXPECT_EQ(pixel(24 * kCell, 24 * kCell + 7), kForeground) << "underline of the lone 255";
  EXPECT_EQ(pixel(24 * kCell, 24 * kCell), kBackground) << "scroll-filled top of the cell";

  clearScreen();
  locate(1, 1);
  print(std::string(1023, 'A') + bytes({255}) + "A");
  EXPECT_TRUE(cellFilledWith(25, 24, kBackground)) << "255 inside a longer piece is blank";
}

struct ChangedRowsCase {
  const char* name;
  int32_t workPage;
  Cursor start;
  std::string text;  // printed after the cursor is placed
  bool clearInstead;
  std::optional<std::pair<int32_t, int32_t>> marked;  // pixel rows, or none
};

const std::vector<ChangedRowsCase> kChangedRowsCases = {
    {"OneGlyphMarksItsCellRows", 0, {3, 5}, "A", false, std::pair{16, 23}},
    {"WrappedTextMarksBothRows", 0, {3, 40}, "AB", false, std::pair{16, 31}},
    {"LoneUnderlineMarksItsCellRows", 0, {3, 5}, bytes({255}), false, std::pair{16, 23}},
    {"LineFeedAloneMarksNothing", 0, {3, 5}, "\n", false, std::nullopt},
    {"BellAloneMarksNothing", 0, {3, 5}, "\a", false, std::nullopt},
    {"ScrollMarksEveryRow", 0, {25, 5}, "\nA", false, std::pair{0, 199}},
    {"ScrollWithoutGlyphsMarksEveryRow", 0, {25, 5}, "\n", false, std::pair{0, 199}},
    {"ClearScreenMarksEveryRow", 0, {3, 5}, "", true, std::pair{0, 199}},
    {"TextOnAHiddenWorkPageMarksNothing", 1, {3, 5}, "A", false, std::nullopt},
    {"ScrollOnAHiddenWorkPageMarksNothing", 1, {25, 5}, "\n\nA", false, std::nullopt},
    {"ClearingAHiddenWorkPageMarksNothing", 1, {3, 5}, "", true, std::nullopt},
};

class ChangedRowsTest : public TextConsoleTest,
                        public ::testing::WithParamInterface<ChangedRowsCase> {};

TEST_P(ChangedRowsTest, MarksTheRowsItDrewOnlyOnTheVisiblePage) {
  const ChangedRowsCase& c = GetParam();
  setPages(c.workPage, 0);
  clearChangedRows();
  locate(c.start.row, c.start.column);
  if (c.clearInstead) {
    clearScreen();
  } else {
    print(c.text);
  }
  const std::vector<uint8_t>& flags = display().changedRows;
  ASSERT_EQ(flags.size(), static_cast<std::size_t>(kScreenHeight));
  for (int32_t y = 0; y < kScreenHeight; ++y) {
    const bool expected = c.marked && y >= c.marked->first && y <= c.marked->second;
    EXPECT_EQ(flags[static_cast<std::size_t>(y)] != 0, expected) << "pixel row " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ChangedRowsTest, ::testing::ValuesIn(kChangedRowsCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace quillon::console_test
