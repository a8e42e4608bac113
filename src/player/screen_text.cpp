#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

#include "data/extended_float.h"
#include "player/story_screen.h"

namespace quillon {

namespace {

// The centring column (40 - L) * 0.5 + 1, doubled, is 42 - L: an integer.
inline constexpr int64_t kDoubledCentre = kTextColumns + 2;
inline constexpr uint64_t kPercentScale = 10000;  // percent with two decimals
inline constexpr int64_t kHundredths = 100;
inline constexpr int kLabelDigits = 16;

// Half of an integer, rounded to nearest with ties to even.
int64_t halfTiesToEven(int64_t doubled) {
  const int64_t low = (doubled - (doubled & 1)) / 2;  // floor of the half
  if ((doubled & 1) == 0) return doubled / 2;
  return (low & 1) == 0 ? low : low + 1;
}

uint64_t magnitude(int32_t value) {
  return value < 0 ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

bool isInteger(Extended64 value) {
  if (value.exponent >= 0 || value.significand == 0) return true;
  if (value.exponent <= -64) return false;
  const uint64_t fraction = value.significand & ((uint64_t{1} << -value.exponent) - 1);
  return fraction == 0;
}

}  // namespace

int32_t centringColumn(std::size_t length) {
  constexpr auto kMinimum = std::numeric_limits<int32_t>::min();
  // Beyond this length the column lies below the int32 range anyway.
  constexpr std::size_t kLongest = std::size_t{1} << 33;
  if (length > kLongest) return kMinimum;
  const int64_t column = halfTiesToEven(kDoubledCentre - static_cast<int64_t>(length));
  return column < kMinimum ? kMinimum : static_cast<int32_t>(column);
}

std::string percentageLabel(int32_t PC, int32_t MP) {
  // Only 0 <= PC <= MP, MP > 0 occurs; other values still get a defined label
  // (a share of no pages is 0).
  int64_t hundredths = 0;
  if (MP != 0) {
    const Extended64 share = extendedRatio(magnitude(PC), magnitude(MP));
    const Extended64 scaled = extendedMultiply(share, kPercentScale);
    hundredths = extendedFloor(scaled);
    if ((PC < 0) != (MP < 0)) {
      // The floor of a negative share lies one further down when not whole.
      hundredths = -hundredths - (isInteger(scaled) ? 0 : 1);
    }
  }
  // hundredths stays below 2^53, so the division is one correctly rounded step.
  const double percent = static_cast<double>(hundredths) / static_cast<double>(kHundredths);
  char text[32];
  const std::to_chars_result result =
      std::to_chars(text, text + sizeof text, percent, std::chars_format::general, kLabelDigits);
  std::string label(text, result.ec == std::errc{} ? result.ptr : text);
  label += '%';
  return label;
}

}  // namespace quillon
