// Drawing into pages: coordinate rounding, colour reduction, clipping, box
// corner order, page copies and the rows they mark changed.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

#include "display/framebuffer.h"
#include "display_fixture.h"

namespace quillon::display_test {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kFloatMax = std::numeric_limits<float>::max();
constexpr float kTiny = std::numeric_limits<float>::denorm_min();
// The largest float below 0.5: rounding its sum with 0.5 sloppily gives 1.
const float kJustBelowHalf = std::nextafter(0.5f, 0.0f);

struct CoordinateCase {
  float value;
  std::optional<int32_t> expected;  // nullopt: lies on no page
};

void PrintTo(const CoordinateCase& c, std::ostream* out) { *out << "value " << c.value; }

class ConvertCoordinateTest : public ::testing::TestWithParam<CoordinateCase> {};

TEST_P(ConvertCoordinateTest, RoundsHalfAwayFromZeroAndRefusesValuesOffEveryPage) {
  const CoordinateCase& c = GetParam();
  int32_t out = 12345;
  const bool converted = convertCoordinate(c.value, out);
  ASSERT_EQ(converted, c.expected.has_value());
  if (c.expected) {
    EXPECT_EQ(out, *c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ConvertCoordinateTest,
    ::testing::Values(CoordinateCase{2.5f, 3}, CoordinateCase{-2.5f, -3}, CoordinateCase{0.49f, 0},
                      CoordinateCase{-0.5f, -1}, CoordinateCase{319.5f, 320},
                      CoordinateCase{0.5f, 1}, CoordinateCase{0.0f, 0}, CoordinateCase{-0.0f, 0},
                      CoordinateCase{kJustBelowHalf, 0}, CoordinateCase{-kJustBelowHalf, 0},
                      CoordinateCase{kTiny, 0}, CoordinateCase{-kTiny, 0},
                      // 2^23 - 0.5 is the largest float with a half fraction.
                      CoordinateCase{8388607.5f, 8388608}, CoordinateCase{-8388607.5f, -8388608},
                      CoordinateCase{2147483520.0f, 2147483520},
                      CoordinateCase{-2147483648.0f, std::numeric_limits<int32_t>::min()},
                      CoordinateCase{2147483648.0f, std::nullopt},
                      CoordinateCase{-2147483904.0f, std::nullopt},
                      CoordinateCase{kFloatMax, std::nullopt},
                      CoordinateCase{-kFloatMax, std::nullopt}, CoordinateCase{kInf, std::nullopt},
                      CoordinateCase{-kInf, std::nullopt}, CoordinateCase{kNaN, std::nullopt}));

struct PixelCase {
  std::string name;
  float x;
  float y;
  std::optional<PixelBox> written;  // the one pixel written, if any
};

void PrintTo(const PixelCase& c, std::ostream* out) { *out << c.name; }

class SetPixelTest : public OpenDisplayTest, public ::testing::WithParamInterface<PixelCase> {};

// Every case must write exactly the one expected pixel or nothing at all;
// the off-page values must also stay free of undefined behaviour.
TEST_P(SetPixelTest, WritesTheRoundedPointOnlyInsideThePage) {
  const PixelCase& c = GetParam();
  setPages(kWork, kVisible);
  setPixel(c.x, c.y, 7);
  EXPECT_TRUE(pageShowsBox(kWork, c.written.value_or(PixelBox{}), 7, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Points, SetPixelTest,
    ::testing::Values(PixelCase{"RightEdgeRoundsDown", 319.4f, 0.0f, PixelBox{319, 0, 319, 0}},
                      PixelCase{"RightEdgeHalfRoundsOff", 319.5f, 0.0f, std::nullopt},
                      PixelCase{"LeftEdgeRoundsToZero", -0.4f, 5.0f, PixelBox{0, 5, 0, 5}},
                      PixelCase{"LeftEdgeHalfRoundsOff", -0.5f, 5.0f, std::nullopt},
                      PixelCase{"BottomEdgeRoundsDown", 1.5f, 199.4f, PixelBox{2, 199, 2, 199}},
                      PixelCase{"BottomEdgeHalfRoundsOff", 0.0f, 199.5f, std::nullopt},
                      PixelCase{"TinyValuesRoundToZero", kTiny, -kTiny, PixelBox{0, 0, 0, 0}},
                      PixelCase{"HugeX", 1e30f, 5.0f, std::nullopt},
                      PixelCase{"HugeNegativeY", 5.0f, -1e30f, std::nullopt},
                      PixelCase{"BeyondInt32", 2147483648.0f, 0.0f, std::nullopt},
                      PixelCase{"LargestFloat", kFloatMax, kFloatMax, std::nullopt},
                      PixelCase{"InfiniteX", kInf, 0.0f, std::nullopt},
                      PixelCase{"NegativeInfiniteY", 0.0f, -kInf, std::nullopt},
                      PixelCase{"NaNX", kNaN, 0.0f, std::nullopt},
                      PixelCase{"NaNY", 3.0f, kNaN, std::nullopt}),
    [](const auto& testCase) { return testCase.param.name; });

struct ColourCase {
  int32_t colour;
  uint8_t stored;
};

class SetPixelColourTest : public OpenDisplayTest,
                           public ::testing::WithParamInterface<ColourCase> {};

TEST_P(SetPixelColourTest, StoresTheLowEightBitsOfTheColour) {
  fillPage(0, 9);  // so that a stored 0 is seen
  setPixel(4.0f, 6.0f, GetParam().colour);
  EXPECT_EQ(pixelAt(0, 4, 6), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Colours, SetPixelColourTest,
                         ::testing::Values(ColourCase{7, 7}, ColourCase{256, 0},
                                           ColourCase{300, 44}, ColourCase{-2, 254},
                                           ColourCase{-1, 255},
                                           ColourCase{std::numeric_limits<int32_t>::min(), 0},
                                           ColourCase{std::numeric_limits<int32_t>::max(), 255}));

struct BoxCase {
  std::string name;
  float x1, y1, x2, y2;
  std::optional<PixelBox> filled;
};

void PrintTo(const BoxCase& c, std::ostream* out) { *out << c.name; }

class FillBoxTest : public OpenDisplayTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(FillBoxTest, FillsTheOrderedClippedBox) {
  const BoxCase& c = GetParam();
  setPages(kWork, kVisible);
  fillBox(c.x1, c.y1, c.x2, c.y2, 300);  // stored as 44
  EXPECT_TRUE(pageShowsBox(kWork, c.filled.value_or(PixelBox{}), 44, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, FillBoxTest,
    ::testing::Values(
        BoxCase{"CornersInOrder", 5, 15, 10, 20, PixelBox{5, 15, 10, 20}},
        BoxCase{"CornersSwapped", 10, 20, 5, 15, PixelBox{5, 15, 10, 20}},
        BoxCase{"OnlyXSwapped", 10, 15, 5, 20, PixelBox{5, 15, 10, 20}},
        BoxCase{"OnlyYSwapped", 5, 20, 10, 15, PixelBox{5, 15, 10, 20}},
        BoxCase{"OnePixel", 3, 4, 3, 4, PixelBox{3, 4, 3, 4}},
        BoxCase{"ClippedTopLeft", -10, -10, 2, 2, PixelBox{0, 0, 2, 2}},
        BoxCase{"ClippedBottomRight", 300, 190, 400, 300, PixelBox{300, 190, 319, 199}},
        BoxCase{"WholeOffRight", 320, 0, 400, 10, std::nullopt},
        BoxCase{"WholeOffBottom", 0, 200, 10, 250, std::nullopt},
        BoxCase{"WholeOffLeft", -20, 0, -1, 10, std::nullopt},
        BoxCase{"WholeOffTop", 0, -20, 10, -1, std::nullopt},
        BoxCase{"WholePage", 0, 0, 319, 199, PixelBox{0, 0, 319, 199}},
        BoxCase{"RoundedCorners", 0.5f, -0.4f, 2.4f, 1.5f, PixelBox{1, 0, 2, 2}},
        // Corners far off the page still cover the part on it.
        BoxCase{"InfiniteWidth", -kInf, 10, kInf, 12, PixelBox{0, 10, 319, 12}},
        BoxCase{"InfiniteCornersSwapped", kInf, kInf, -kInf, -kInf, PixelBox{0, 0, 319, 199}},
        BoxCase{"HugeCorners", -1e30f, 3, 1e30f, 4, PixelBox{0, 3, 319, 4}},
        BoxCase{"BeyondInt32", 3e9f, 0, -3e9f, 1, PixelBox{0, 0, 319, 1}},
        BoxCase{"LargestFloats", kFloatMax, 0, -kFloatMax, 0, PixelBox{0, 0, 319, 0}},
        BoxCase{"HugeButOffPage", 1e30f, 0, kInf, 10, std::nullopt},
        BoxCase{"NaNCorner", kNaN, 0, 5, 5, std::nullopt},
        BoxCase{"NaNOtherCorner", 0, 0, 5, kNaN, std::nullopt}),
    [](const auto& testCase) { return testCase.param.name; });

// Only drawing into the visible page concerns the presenter.
TEST_F(OpenDisplayTest, DrawingMarksOnlyTheRowsItWritesOnTheVisiblePage) {
  struct Case {
    const char* name;
    int32_t workPage;
    void (*draw)();
    std::vector<int32_t> marked;
  };
  const Case cases[] = {
      {"pixel on visible", kVisible, [] { setPixel(3, 17, 1); }, {17}},
      {"pixel on work", kWork, [] { setPixel(3, 17, 1); }, {}},
      {"clipped pixel", kVisible, [] { setPixel(3, 200, 1); }, {}},
      {"box on visible", kVisible, [] { fillBox(0, 30, 5, 25, 1); }, rowRange(25, 30)},
      {"clipped box", kVisible, [] { fillBox(0, -5, 5, 2, 1); }, rowRange(0, 2)},
      {"box on work", kWork, [] { fillBox(0, 30, 5, 25, 1); }, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    setPages(c.workPage, kVisible);
    clearMarks();
    c.draw();
    EXPECT_EQ(markedRows(), c.marked);
  }
}

struct CopyCase {
  std::string name;
  int32_t from;
  int32_t to;
  int32_t result;
  std::optional<int32_t> copiedFrom;  // the page whose content `to` then holds
  int32_t target;                     // the page to check
  bool marksAll;
};

void PrintTo(const CopyCase& c, std::ostream* out) { *out << c.name; }

class CopyPageTest : public OpenDisplayTest, public ::testing::WithParamInterface<CopyCase> {};

// Work page 1, visible page 0; every page holds its own pattern.
TEST_P(CopyPageTest, CopiesWholePagesAndMarksTheVisiblePage) {
  const CopyCase& c = GetParam();
  setPages(kWork, kVisible);
  for (int32_t number = 0; number < kStoryPageCount; ++number) paintPattern(number, number);
  clearMarks();
  EXPECT_EQ(copyPage(c.from, c.to), c.result);
  for (int32_t number = 0; number < kStoryPageCount; ++number) {
    std::vector<uint8_t> expected(page(number).size());
    paintPatternInto(expected, number == c.target && c.copiedFrom ? *c.copiedFrom : number);
    EXPECT_TRUE(page(number) == expected) << "page " << number;
  }
  EXPECT_EQ(markedRows(), c.marksAll ? rowRange(0, kScreenHeight - 1) : std::vector<int32_t>{});
}

INSTANTIATE_TEST_SUITE_P(
    Copies, CopyPageTest,
    ::testing::Values(CopyCase{"WorkOntoVisible", 1, 0, 0, 1, 0, true},
                      CopyCase{"OntoHiddenPage", 1, 2, 0, 1, 2, false},
                      CopyCase{"VisibleOntoHidden", 0, 3, 0, 0, 3, false},
                      CopyCase{"LastPage", 15, 0, 0, 15, 0, true},
                      CopyCase{"SamePage", 3, 3, 0, std::nullopt, 3, false},
                      CopyCase{"NegativeMeansWorkAndVisible", -1, -5, 0, 1, 0, true},
                      CopyCase{"NegativeSourceIsWork", -1, 4, 0, 1, 4, false},
                      CopyCase{"NegativeTargetIsVisibleSame", 0, -1, 0, std::nullopt, 0, false},
                      CopyCase{"TargetOutOfRange", 2, 16, 1, std::nullopt, 2, false},
                      CopyCase{"SourceOutOfRange", 16, 2, 1, std::nullopt, 2, false},
                      CopyCase{"FarOutOfRange", std::numeric_limits<int32_t>::max(), 0, 1,
                               std::nullopt, 0, false}),
    [](const auto& testCase) { return testCase.param.name; });

}  // namespace
}  // namespace quillon::display_test
