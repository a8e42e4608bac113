#include "data/extended_float.h"

#include <bit>
#include <limits>

namespace quillon {

namespace {

// __extension__ keeps -Wpedantic quiet about the 128-bit integer of GCC and Clang.
__extension__ typedef unsigned __int128 Wide;

inline constexpr int32_t kSignificandBits = 64;

int32_t bitWidth(Wide value) {
  const auto high = static_cast<uint64_t>(value >> 64);
  if (high != 0) return 64 + static_cast<int32_t>(std::bit_width(high));
  return static_cast<int32_t>(std::bit_width(static_cast<uint64_t>(value)));
}

// (mantissa + sticky) * 2^exponent rounded to 64 bits, to nearest, ties to
// even. `sticky` says that nonzero bits lie below the mantissa's last bit;
// callers pass it only with a mantissa of more than 64 bits, so that it
// falls below the rounding bit.
Extended64 roundToExtended(Wide mantissa, int32_t exponent, bool sticky) {
  if (mantissa == 0) return Extended64{};
  const int32_t width = bitWidth(mantissa);
  if (width <= kSignificandBits) {
    const int32_t shift = kSignificandBits - width;
    return Extended64{static_cast<uint64_t>(mantissa << shift), exponent - shift};
  }
  const int32_t drop = width - kSignificandBits;
  const Wide kept = mantissa >> drop;
  const Wide rest = mantissa & ((Wide{1} << drop) - 1);
  const Wide half = Wide{1} << (drop - 1);
  const bool roundUp = rest > half || (rest == half && (sticky || (kept & 1) != 0));
  Wide rounded = kept + (roundUp ? 1 : 0);
  int32_t resultExponent = exponent + drop;
  if ((rounded >> kSignificandBits) != 0) {  // carried into a 65th bit
    rounded >>= 1;
    ++resultExponent;
  }
  return Extended64{static_cast<uint64_t>(rounded), resultExponent};
}

}  // namespace

Extended64 extendedRatio(uint64_t numerator, uint64_t denominator) {
  if (numerator == 0 || denominator == 0) return Extended64{};
  // Normalise both to a top bit at 63, so that the quotient of the numerator
  // shifted by 64 has 64 or 65 bits.
  const auto numeratorWidth = static_cast<int32_t>(std::bit_width(numerator));
  const auto denominatorWidth = static_cast<int32_t>(std::bit_width(denominator));
  const uint64_t n = numerator << (kSignificandBits - numeratorWidth);
  const uint64_t d = denominator << (kSignificandBits - denominatorWidth);
  const Wide dividend = Wide{n} << kSignificandBits;
  Wide quotient = dividend / d;
  Wide remainder = dividend - quotient * d;
  int32_t exponent = numeratorWidth - denominatorWidth - kSignificandBits;
  if ((quotient >> kSignificandBits) == 0) {
    // One more quotient bit, so that the rounding bit is exact.
    remainder <<= 1;
    quotient <<= 1;
    if (remainder >= d) {
      remainder -= d;
      quotient |= 1;
    }
    --exponent;
  }
  return roundToExtended(quotient, exponent, remainder != 0);
}

Extended64 extendedMultiply(Extended64 value, uint64_t factor) {
  return roundToExtended(Wide{value.significand} * factor, value.exponent, false);
}

int64_t extendedFloor(Extended64 value) {
  constexpr int64_t kMaximum = std::numeric_limits<int64_t>::max();
  if (value.significand == 0) return 0;
  if (value.exponent >= 0) {
    if (value.exponent >= kSignificandBits - 1 ||
        (value.significand >> (kSignificandBits - 1 - value.exponent)) != 0) {
      return kMaximum;
    }
    return static_cast<int64_t>(value.significand << value.exponent);
  }
  if (value.exponent <= -kSignificandBits) return 0;
  return static_cast<int64_t>(value.significand >> -value.exponent);
}

}  // namespace quillon
