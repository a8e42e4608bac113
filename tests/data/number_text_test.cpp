// Numeric text: leadingNumber, the C-locale strtod and the rounding of
// floating values into 32-bit integers.
#include "data/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "data/record_reader.h"

namespace quillon {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int32_t kOutOfRange = std::numeric_limits<int32_t>::min();

struct TextCase {
  std::string text;
  double expected;
};

// Exact comparison: the conversions must be correctly rounded; NaN matches NaN.
void expectSameDouble(double actual, double expected) {
  if (std::isnan(expected)) {
    EXPECT_TRUE(std::isnan(actual)) << actual;
  } else {
    EXPECT_EQ(actual, expected);
  }
}

TEST(LeadingNumberTest, TwoCharacterPicturePiecesGiveTheirValues) {
  const std::vector<TextCase> cases = {
      {"24", 24},  {"5x", 5}, {" 7", 7}, {"7 ", 7}, {"-3", -3}, {"+3", 3}, {".5", 0.5},
      {".7", 0.7}, {"9.", 9}, {"1e", 1}, {"1d", 1}, {"&7", 7},  {"&8", 0}, {"&H", 0},
      {"0x", 0},   {"ab", 0}, {"  ", 0}, {"", 0},   {"&", 0},   {"&b", 0}, {"-.", 0},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE("\"" + c.text + "\"");
    expectSameDouble(leadingNumber(c.text), c.expected);
  }
}

TEST(LeadingNumberTest, LongerTextsFollowStrtodAndRadixRules) {
  const std::vector<TextCase> cases = {
      {"1d2", 100},
      {"2D-1", 0.2},
      {"&HFFFFFFFFFFFFFFFF", -1},
      // Radix values accumulate in 64 bits here, not 32.
      {"&H100000000", 4294967296.0},
      {"&H0123456789012345678901234567890123456789",
       static_cast<double>(INT64_C(0x4567890123456789))},
      {"&O17x", 15},
      {"1e999", kInfinity},
      {"-1e999", -kInfinity},
      {"1e-999", 0},
      {"nan.", kNaN},
      {"-NaN(abc_1)", kNaN},
      {"INFINITY", kInfinity},
      {"-inf", -kInfinity},
      {"infinit", kInfinity},
      {"1" + std::string(999, '0'), kInfinity},
      {"1" + std::string(300, '0'), 1e300},
      {"0." + std::string(999, '0') + "1", 0},
      {std::string(400, '0') + "12.5", 12.5},
      // Correct rounding at the edges of the double format.
      {"9007199254740993", 9007199254740992.0},
      {"0.1", 0.1},
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
      {"1.7976931348623159e308", kInfinity},
      {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
      // "0x" right after the skipped spaces is 0; behind a sign or other
      // white space, strtod reads a hexadecimal number.
      {" 0x10", 0},
      {"\t0x10", 16},
      {"-0x1p-2", -0.25},
      {"+0X1.8P1", 3},
      {"-0x", 0},
      {"-0xg", 0},
      {"0x1p3", 0},
      {"-0x1p99999", -kInfinity},
      {" \t5", 5},
      {"\v-2.5x", -2.5},
      {"--5", 0},
      {"+-5", 0},
      {"1e+2.5", 100},
      {"1.5e", 1.5},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE("\"" + c.text.substr(0, 60) + "\"");
    expectSameDouble(leadingNumber(c.text), c.expected);
  }
}

TEST(LeadingNumberTest, NegativeZeroKeepsItsSign) {
  EXPECT_TRUE(std::signbit(leadingNumber("-0")));
  EXPECT_TRUE(std::signbit(leadingNumber("-1e-999")));
  EXPECT_FALSE(std::signbit(leadingNumber("0")));
}

TEST(RoundToInt32Test, RoundsTiesToEvenAndRejectsWhatDoesNotFit) {
  struct Case {
    double value;
    int32_t expected;
  };
  const std::vector<Case> cases = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {0.49999999999999994, 0},
      {-3.7, -4},
      {2147483647.0, 2147483647},
      {2147483647.4999998, 2147483647},
      {2147483647.5, kOutOfRange},
      {-2147483648.0, -2147483648},
      {-2147483648.5, -2147483648},
      {-2147483648.5000005, kOutOfRange},
      {4503599627370497.0, kOutOfRange},
      {1e300, kOutOfRange},
      {-1e300, kOutOfRange},
      {kInfinity, kOutOfRange},
      {-kInfinity, kOutOfRange},
      {kNaN, kOutOfRange},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(roundToInt32(c.value), c.expected);
  }
}

// A locale with a decimal comma must not change how story files read.
TEST(NumberTextLocaleTest, ConversionsIgnoreTheUsersLocale) {
  const char* previous = std::setlocale(LC_ALL, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  const char* chosen = nullptr;
  for (const char* name :
       {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8"}) {
    if ((chosen = std::setlocale(LC_ALL, name)) != nullptr) break;
  }
  if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
  const double half = leadingNumber("2.5");
  const double comma = leadingNumber("2,5");
  const int32_t rounded = convertIntegerToken("3.5", true);
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(half, 2.5);
  EXPECT_EQ(comma, 2);
  EXPECT_EQ(rounded, 4);
}

}  // namespace
}  // namespace quillon
