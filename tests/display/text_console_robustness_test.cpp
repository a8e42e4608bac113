// Arbitrary cursor positions, texts and grids must never write outside the
// work page or leave the cursor off the grid (run under the sanitizers too).
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "display/text_console.h"
#include "text_console_fixture.h"

namespace quillon::console_test {
namespace {

constexpr int32_t kUntouchedPage = 15;  // never made the work page below

int32_t interestingCoordinate(std::mt19937& random) {
  static const std::vector<int32_t> kValues = {INT_MIN, -41, -1, 0,  1,  2,      24,
                                               25,      26,  39, 40, 41, INT_MAX};
  if (random() % 4 == 0) return static_cast<int32_t>(random());
  return kValues[random() % kValues.size()];
}

std::string randomText(std::mt19937& random) {
  // Mostly short texts rich in control bytes, sometimes long ones that cross
  // the run limit several times.
  const std::size_t length = random() % 8 == 0 ? random() % 5000 : random() % 60;
  std::string text;
  for (std::size_t i = 0; i < length; ++i) {
    const auto pick = random() % 10;
    uint8_t byte = 0;
    if (pick < 3) {
      static const uint8_t kControls[] = {7, 8, 9, 10, 13, 255};
      byte = kControls[random() % sizeof kControls];
    } else {
      byte = static_cast<uint8_t>(random());
    }
    text.push_back(static_cast<char>(byte));
  }
  return text;
}

TEST_F(TextConsoleTest, ArbitraryLocatesAndTextsKeepTheCursorOnTheGridAndOtherPagesIntact) {
  std::mt19937 random(20240607u);
  for (int step = 0; step < 3000; ++step) {
    switch (random() % 8) {
      case 0:
        setPages(static_cast<int32_t>(random() % 15), 0);
        break;
      case 1:
        setTextColors(static_cast<int32_t>(random()), static_cast<int32_t>(random()));
        break;
      case 2:
      case 3:
        locate(interestingCoordinate(random), interestingCoordinate(random));
        break;
      default:
        print(randomText(random));
        break;
    }
    const ConsoleState& state = consoleState();
    ASSERT_GE(state.row, 0) << "step " << step;
    ASSERT_LT(state.row, kRows) << "step " << step;
    ASSERT_GE(state.column, 0) << "step " << step;
    ASSERT_LT(state.column, kColumns) << "step " << step;
    ASSERT_TRUE(!state.pendingScroll || (state.row == kRows - 1 && state.column == kColumns - 1))
        << "step " << step;
  }
  for (uint8_t byte : display().pages[kUntouchedPage]) {
    ASSERT_EQ(byte, 0);
  }
}

// The grid normally comes from the page size; a grid that does not fit the
// page, or no grid at all, must still be harmless.
struct GridCase {
  const char* name;
  int32_t columns;
  int32_t rows;
  int32_t expectedColumns;
  int32_t expectedRows;
};

class ConsoleGridTest : public TextConsoleTest, public ::testing::WithParamInterface<GridCase> {};

TEST_P(ConsoleGridTest, PrintingAndLocatingStayInsideThePage) {
  const GridCase& c = GetParam();
  locate(7, 7);
  resetConsole(c.columns, c.rows);
  const ConsoleState& state = consoleState();
  EXPECT_EQ(state.columns, c.expectedColumns);
  EXPECT_EQ(state.rows, c.expectedRows);
  EXPECT_EQ(state.column, 0);
  EXPECT_EQ(state.row, 0);
  EXPECT_FALSE(state.pendingScroll);
  locate(c.rows, c.columns);
  print(std::string(3000, 'W') + "\n\n\t\b\xFF");
  locate(c.rows, c.columns);
  print("\t\t\t\xFF");
  for (uint8_t byte : display().pages[kUntouchedPage]) {
    ASSERT_EQ(byte, 0);
  }
  resetConsole(kColumns, kRows);
}

INSTANTIATE_TEST_SUITE_P(Grids, ConsoleGridTest,
                         ::testing::Values(GridCase{"NoGrid", 0, 0, 0, 0},
                                           GridCase{"NegativeGrid", -5, -5, 0, 0},
                                           GridCase{"LargerThanThePage", 100, 100, 100, 100},
                                           GridCase{"OneCell", 1, 1, 1, 1},
                                           GridCase{"NarrowerThanATabStop", 3, 25, 3, 25}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(TextConsoleWithoutDisplayTest, DrawsNothingAndDoesNotCrash) {
  ASSERT_EQ(currentDisplay(), nullptr);
  setTextColors(1, 2);
  locate(3, 3);
  printText("hello\n\a\t\xFF");
  clearScreen();
  EXPECT_EQ(consoleState().row, 0);
  EXPECT_EQ(consoleState().column, 0);
}

}  // namespace
}  // namespace quillon::console_test
