#include "data/extended_float.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "data/picture.h"

namespace quillon {
namespace {

constexpr uint64_t kTopBit = uint64_t{1} << 63;
constexpr uint64_t kAllOnes = std::numeric_limits<uint64_t>::max();
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();
constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();

// long double has a 64-bit significand on x86; only there can it serve as an
// independent reference for the integer arithmetic.
constexpr bool kLongDoubleIsExtended = std::numeric_limits<long double>::digits == 64;

void expectExtended(Extended64 actual, uint64_t significand, int32_t exponent) {
  EXPECT_EQ(actual.significand, significand) << std::hex << actual.significand;
  EXPECT_EQ(actual.exponent, exponent);
}

TEST(ExtendedFloat, RatioRoundsToTheNearest64BitSignificand) {
  struct Case {
    uint64_t numerator;
    uint64_t denominator;
    uint64_t significand;
    int32_t exponent;
  };
  const Case cases[] = {
      {0, 7, 0, 0},
      {1, 1, kTopBit, -63},
      {8, 1, kTopBit, -60},
      {1, 3, 0xAAAAAAAAAAAAAAABu, -65},  // 0.0101... rounds up
      {2, 3, 0xAAAAAAAAAAAAAAABu, -64},
      {1, 5, 0xCCCCCCCCCCCCCCCDu, -66},
      {8, 82, 0xC7CE0C7CE0C7CE0Cu, -67},  // remainder 0.49 units: down
      {kAllOnes, 1, kAllOnes, 0},
      {kAllOnes, 2, kAllOnes, -1},
      {kAllOnes, kAllOnes, kTopBit, -63},
      // 2^-64 + 2^-128 + ...: just above half a unit in the last place.
      {1, kAllOnes, kTopBit + 1, -127},
      {kAllOnes - 1, kAllOnes, kAllOnes, -64},
  };
  for (const Case& entry : cases) {
    SCOPED_TRACE(testing::Message() << entry.numerator << " / " << entry.denominator);
    expectExtended(extendedRatio(entry.numerator, entry.denominator), entry.significand,
                   entry.exponent);
  }
}

TEST(ExtendedFloat, MultiplyRoundsTiesToEven) {
  struct Case {
    Extended64 value;
    uint64_t factor;
    uint64_t significand;
    int32_t exponent;
  };
  const Case cases[] = {
      {{kTopBit + 3, 0}, 0, 0, 0},
      {{kTopBit + 3, -5}, 1, kTopBit + 3, -5},
      {{kTopBit + 3, -5}, 4, kTopBit + 3, -3},
      // 0x1_8000_0000_0000_0009: a tie, the even neighbour is below.
      {{kTopBit + 3, 0}, 3, 0xC000000000000004u, 1},
      // 0x1_8000_0000_0000_0003: a tie, the even neighbour is above.
      {{kTopBit + 1, 0}, 3, 0xC000000000000002u, 1},
      // 2^66 - 1: rounding up carries into a new top bit.
      {{0x9249249249249249u, 0}, 7, kTopBit, 3},
      // (2^64 - 1)^2 = 2^128 - 2^65 + 1: the low half is far below half.
      {{kAllOnes, 0}, kAllOnes, kAllOnes - 1, 64},
      {{0xAAAAAAAAAAAAAAABu, -65}, 3, kTopBit, -63},
  };
  for (const Case& entry : cases) {
    SCOPED_TRACE(testing::Message()
                 << std::hex << entry.value.significand << " * " << std::dec << entry.factor);
    expectExtended(extendedMultiply(entry.value, entry.factor), entry.significand, entry.exponent);
  }
}

TEST(ExtendedFloat, FloorTakesTheIntegerPartAndSaturates) {
  struct Case {
    Extended64 value;
    int64_t floor;
  };
  const Case cases[] = {
      {{0, 0}, 0},
      {{0, 100}, 0},
      {{kTopBit, -63}, 1},
      {{kTopBit, -64}, 0},
      {{kAllOnes, -63}, 1},
      {{kAllOnes, -62}, 3},
      {{kAllOnes, -1}, kInt64Max},
      {{kTopBit, -1}, int64_t{1} << 62},
      {{kTopBit, 0}, kInt64Max},
      {{kTopBit, 1000}, kInt64Max},
      {{1, 62}, int64_t{1} << 62},
      {{1, 63}, kInt64Max},
      {{kAllOnes, -64}, 0},
      {{kAllOnes, -1000}, 0},
  };
  for (const Case& entry : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << entry.value.significand << " * 2^" << std::dec
                                    << entry.value.exponent);
    EXPECT_EQ(extendedFloor(entry.value), entry.floor);
  }
}

long double asLongDouble(Extended64 value) {
  return std::ldexp(static_cast<long double>(value.significand), value.exponent);
}

TEST(ExtendedFloat, RatioAndMultiplyAgreeWithHardwareExtendedPrecision) {
  if constexpr (!kLongDoubleIsExtended) {
    GTEST_SKIP() << "long double has no 64-bit significand here";
  } else {
    std::mt19937_64 random(20240611);
    for (int sample = 0; sample < 200000; ++sample) {
      // Mix full-width values with small ones, which the player uses.
      const int numeratorBits = static_cast<int>(random() % 64) + 1;
      const int denominatorBits = static_cast<int>(random() % 64) + 1;
      const uint64_t numerator = random() >> (64 - numeratorBits);
      const uint64_t denominator = (random() >> (64 - denominatorBits)) | 1;
      const uint64_t factor = random() >> (random() % 64);
      const Extended64 ratio = extendedRatio(numerator, denominator);
      const long double expectedRatio =
          static_cast<long double>(numerator) / static_cast<long double>(denominator);
      ASSERT_EQ(asLongDouble(ratio), expectedRatio) << numerator << " / " << denominator;
      ASSERT_EQ(asLongDouble(extendedMultiply(ratio, factor)),
                expectedRatio * static_cast<long double>(factor))
          << numerator << " / " << denominator << " * " << factor;
    }
  }
}

// Integer-only reference with exact fractions: floor((index - 1) * 8 / size) + 1.
BlockSpan exactFractionBlock(int64_t index, int64_t size) {
  auto edge = [size](int64_t position) {
    const int64_t value = position * AA / size + 1;
    return static_cast<int32_t>(value < 1 ? 1 : (value > AA ? AA : value));
  };
  return BlockSpan{edge(index - 1), edge(index)};
}

// The rounded ratio moves an edge for width 82 at column 41 and for width 90
// at column 45, and nowhere else below 100: cell column 4 (or 6) then shows
// the later picture column.
TEST(ThumbnailBlock, RoundedRatioMovesEdgesOnlyAtWidths82And90BelowAHundred) {
  struct Difference {
    int32_t size;
    int32_t index;
    BlockSpan block;
  };
  const Difference differences[] = {
      {82, 41, {4, 4}},
      {82, 42, {4, 5}},
      {90, 45, {4, 4}},
      {90, 46, {4, 5}},
  };
  for (int32_t size = 1; size < 100; ++size) {
    for (int32_t index = 1; index <= size; ++index) {
      SCOPED_TRACE(testing::Message() << "size " << size << " index " << index);
      BlockSpan expected = exactFractionBlock(index, size);
      for (const Difference& difference : differences) {
        if (difference.size == size && difference.index == index) expected = difference.block;
      }
      const BlockSpan block = thumbnailBlock(index, size);
      ASSERT_EQ(block.first, expected.first);
      ASSERT_EQ(block.last, expected.last);
    }
  }
}

TEST(ThumbnailBlock, SmallPicturesGiveWideBlocksCoveringTheCell) {
  struct Case {
    int32_t size;
    int32_t index;
    BlockSpan block;
  };
  const Case cases[] = {
      {1, 1, {1, 8}}, {2, 1, {1, 5}}, {2, 2, {5, 8}}, {3, 1, {1, 3}},  {3, 2, {3, 6}},
      {3, 3, {6, 8}}, {8, 1, {1, 2}}, {8, 8, {8, 8}}, {24, 1, {1, 1}}, {24, 24, {8, 8}},
  };
  for (const Case& entry : cases) {
    SCOPED_TRACE(testing::Message() << "size " << entry.size << " index " << entry.index);
    const BlockSpan block = thumbnailBlock(entry.index, entry.size);
    EXPECT_EQ(block.first, entry.block.first);
    EXPECT_EQ(block.last, entry.block.last);
  }
}

BlockSpan longDoubleBlock(int32_t index, int32_t size) {
  const long double ratio = 8.0L / static_cast<long double>(size);
  auto edge = [ratio](int64_t position) {
    const long double value = std::floor(static_cast<long double>(position) * ratio) + 1.0L;
    return static_cast<int32_t>(value < 1.0L ? 1.0L : (value > 8.0L ? 8.0L : value));
  };
  return BlockSpan{edge(int64_t{index} - 1), edge(index)};
}

TEST(ThumbnailBlock, AgreesWithHardwareExtendedPrecisionForEveryWidthUpTo10000) {
  if constexpr (!kLongDoubleIsExtended) {
    GTEST_SKIP() << "long double has no 64-bit significand here";
  } else {
    for (int32_t size = 1; size <= 10000; ++size) {
      for (int32_t index = 1; index <= size; ++index) {
        const BlockSpan block = thumbnailBlock(index, size);
        const BlockSpan expected = longDoubleBlock(index, size);
        ASSERT_TRUE(block.first == expected.first && block.last == expected.last)
            << "size " << size << " index " << index << ": " << block.first << ".." << block.last
            << " instead of " << expected.first << ".." << expected.last;
      }
    }
  }
}

// The largest sizes a 32-bit integer holds: no overflow, edges in the cell,
// the last column reaching the cell's edge.
TEST(ThumbnailBlock, HugeSizesStayInsideTheCell) {
  for (int32_t size : {kInt32Max, kInt32Max - 1, 1 << 30, 1000000007}) {
    const std::vector<int32_t> indexes = {1, 2, size / 8, size / 8 + 1, size / 2, size - 1, size};
    for (int32_t index : indexes) {
      SCOPED_TRACE(testing::Message() << "size " << size << " index " << index);
      const BlockSpan block = thumbnailBlock(index, size);
      EXPECT_GE(block.first, 1);
      EXPECT_LE(block.last, 8);
      EXPECT_LE(block.first, block.last);
      if constexpr (kLongDoubleIsExtended) {
        const BlockSpan expected = longDoubleBlock(index, size);
        EXPECT_EQ(block.first, expected.first);
        EXPECT_EQ(block.last, expected.last);
      }
    }
    EXPECT_EQ(thumbnailBlock(1, size).first, 1);
    EXPECT_EQ(thumbnailBlock(size, size).last, 8);
  }
}

}  // namespace
}  // namespace quillon
