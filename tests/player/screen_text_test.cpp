#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "player/story_screen.h"

namespace quillon {
namespace {

constexpr int32_t kPages = 1000;

TEST(CentringColumn, RoundsHalfColumnsToTheEvenColumn) {
  struct Case {
    std::size_t length;
    int32_t column;
  };
  const Case cases[] = {
      {0, 21}, {1, 20}, {2, 20},  {3, 20},  {4, 19}, {5, 18},  {6, 18},  {7, 18},
      {8, 17}, {9, 16}, {10, 16}, {11, 16}, {35, 4}, {36, 3},  {37, 2},  {38, 2},
      {39, 2}, {40, 1}, {41, 0},  {42, 0},  {43, 0}, {44, -1}, {45, -2},
  };
  for (const Case& entry : cases) {
    EXPECT_EQ(centringColumn(entry.length), entry.column) << "length " << entry.length;
  }
}

// Lengths no screen line reaches still give a defined, very negative column.
TEST(CentringColumn, HugeLengthsGiveNegativeColumnsWithoutOverflow) {
  constexpr int32_t kMinimum = std::numeric_limits<int32_t>::min();
  struct Case {
    std::size_t length;
    int32_t column;
  };
  const Case cases[] = {
      {1001, -480},
      {1003, -480},
      {4294967296u, -2147483627},
      {4294967338u, kMinimum},
      {4294967339u, kMinimum},
      {4294967340u, kMinimum},
      {std::size_t{1} << 40, kMinimum},
      {std::numeric_limits<std::size_t>::max(), kMinimum},
  };
  for (const Case& entry : cases) {
    EXPECT_EQ(centringColumn(entry.length), entry.column) << "length " << entry.length;
  }
}

TEST(PercentageLabel, ShowsTheTruncatedShareWithUpTo16Digits) {
  struct Case {
    int32_t PC;
    const char* label;
  };
  const Case cases[] = {
      {0, "0%"},
      {1, "0.1%"},
      {10, "1%"},
      {43, "4.3%"},
      {63, "6.29%"},
      {82, "8.199999999999999%"},
      {100, "10%"},
      {655, "65.48999999999999%"},
      {999, "99.90000000000001%"},
      {1000, "100%"},
  };
  for (const Case& entry : cases) {
    EXPECT_EQ(percentageLabel(entry.PC, kPages), entry.label) << "PC " << entry.PC;
  }
}

// The label reads 10 * PC - 1 thousandths where the rounded share falls just
// below PC / 1000; that happens for exactly 55 counts with 64-bit rounding.
TEST(PercentageLabel, RoundedShareLosesAHundredthForExactly55Counts) {
  std::vector<int32_t> shortCounts;
  for (int32_t PC = 0; PC <= kPages; ++PC) {
    const std::string label = percentageLabel(PC, kPages);
    double shown = -1;
    std::from_chars(label.data(), label.data() + label.size() - 1, shown);
    const auto hundredths = static_cast<int64_t>(std::llround(shown * 100));
    if (hundredths == 10 * PC - 1) {
      shortCounts.push_back(PC);
    } else {
      EXPECT_EQ(hundredths, 10 * PC) << "PC " << PC << " label " << label;
    }
  }
  ASSERT_EQ(shortCounts.size(), 55u);
  EXPECT_EQ(shortCounts[0], 63);
  EXPECT_EQ(shortCounts[1], 77);
  EXPECT_EQ(shortCounts[2], 91);
  EXPECT_EQ(shortCounts.back(), 814);
}

TEST(PercentageLabel, LabelsAreShortOrSeventeenDigitsLongAndPlainDecimal) {
  for (int32_t PC = 0; PC <= kPages; ++PC) {
    const std::string label = percentageLabel(PC, kPages);
    SCOPED_TRACE(label);
    EXPECT_TRUE((label.size() >= 2 && label.size() <= 6) || label.size() == 18);
    EXPECT_EQ(label.back(), '%');
    EXPECT_EQ(label.find_first_not_of("0123456789."), label.size() - 1);
    EXPECT_NE(label.front(), '.');
    EXPECT_NE(label[label.size() - 2], '.');
    if (label.find('.') != std::string::npos) {
      EXPECT_NE(label[label.size() - 2], '0');
    }
  }
}

// Independent reference: the same steps in hardware 64-bit-significand
// arithmetic, the last division in double, printed as %.16g.
std::string longDoubleLabel(int32_t PC, int32_t MP) {
  const long double share = static_cast<long double>(PC) / static_cast<long double>(MP);
  const long double scaled = share * 10000.0L;
  const double floored = static_cast<double>(std::floor(scaled));
  char text[64];
  std::snprintf(text, sizeof text, "%.16g%%", floored / 100.0);
  return text;
}

TEST(PercentageLabel, AgreesWithHardwareExtendedPrecisionForEveryCount) {
  if constexpr (std::numeric_limits<long double>::digits != 64) {
    GTEST_SKIP() << "long double has no 64-bit significand here";
  } else {
    for (int32_t MP : {kPages, 7, 999, 1024, 3000}) {
      for (int32_t PC = 0; PC <= kPages; ++PC) {
        ASSERT_EQ(percentageLabel(PC, MP), longDoubleLabel(PC, MP)) << PC << " / " << MP;
      }
    }
  }
}

// Counts outside 0..MP never occur in the player; they must still give a
// label instead of a crash.
TEST(PercentageLabel, OutOfRangeCountsGiveDefinedLabels) {
  struct Case {
    int32_t PC;
    int32_t MP;
    const char* label;
  };
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  const Case cases[] = {
      {5, 0, "0%"},
      {0, 0, "0%"},
      {0, -5, "0%"},
      {-5, 1000, "-0.5%"},
      {-63, 1000, "-6.3%"},  // floor goes down: the rounded share lies below 0.063
      {2000, 1000, "200%"},
      {kMax, 1, "214748364700%"},
      {kMin, -1, "214748364800%"},
      {kMin, 1, "-214748364800%"},
      {1, kMin, "-0.01%"},
      {1, kMax, "0%"},
  };
  for (const Case& entry : cases) {
    EXPECT_EQ(percentageLabel(entry.PC, entry.MP), entry.label) << entry.PC << " / " << entry.MP;
  }
}

}  // namespace
}  // namespace quillon
