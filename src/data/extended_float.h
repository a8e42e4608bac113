#pragma once
// Exact binary floating arithmetic with a 64-bit significand, round to
// nearest, ties to even, done in integers so that every platform agrees.
#include <cstdint>

namespace quillon {

// A non-negative value significand * 2^exponent, significand normalised so
// that its top bit is set (or zero for the value 0).
struct Extended64 {
  uint64_t significand = 0;
  int32_t exponent = 0;
};

// numerator / denominator rounded to a 64-bit significand (denominator > 0).
Extended64 extendedRatio(uint64_t numerator, uint64_t denominator);
// value * factor rounded to a 64-bit significand.
Extended64 extendedMultiply(Extended64 value, uint64_t factor);
// floor(value); values at or above 2^63 saturate to INT64_MAX.
int64_t extendedFloor(Extended64 value);

}  // namespace quillon
