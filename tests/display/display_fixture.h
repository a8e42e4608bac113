#pragma once
// An open story display (320 x 200, 16 pages) on a headless front end, with
// helpers that read pages and changed-row flags directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "display/framebuffer.h"
#include "display/front_end.h"
#include "display/headless_front_end.h"

namespace quillon::display_test {

inline constexpr int32_t kVisible = 0;
inline constexpr int32_t kWork = 1;

// A rectangle of page pixels, ends included; empty when right < left.
struct PixelBox {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = -1;
  int32_t bottom = -1;
  bool contains(int32_t x, int32_t y) const {
    return x >= left && x <= right && y >= top && y <= bottom;
  }
};

inline DisplayRecord& display() { return *currentDisplay(); }

inline std::vector<uint8_t>& page(int32_t number) {
  return display().pages[static_cast<std::size_t>(number)];
}

inline uint8_t pixelAt(int32_t number, int32_t x, int32_t y) {
  return page(number)[static_cast<std::size_t>(y) * static_cast<std::size_t>(display().pitch) +
                      static_cast<std::size_t>(x)];
}

// A pattern that differs from pixel to pixel and from seed to seed.
inline void paintPatternInto(std::vector<uint8_t>& bytes, int32_t seed) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<uint8_t>((i * 7 + static_cast<std::size_t>(seed) * 31) & 0xFFu);
  }
}

inline void paintPattern(int32_t number, int32_t seed) { paintPatternInto(page(number), seed); }

inline void fillPage(int32_t number, uint8_t colour) {
  std::fill(page(number).begin(), page(number).end(), colour);
}

inline std::vector<int32_t> markedRows() {
  DisplayLock lock;
  std::vector<int32_t> rows;
  const auto& flags = display().changedRows;
  for (std::size_t y = 0; y < flags.size(); ++y) {
    if (flags[y] != 0) rows.push_back(static_cast<int32_t>(y));
  }
  return rows;
}

inline std::vector<int32_t> rowRange(int32_t first, int32_t last) {
  std::vector<int32_t> rows;
  for (int32_t y = first; y <= last; ++y) rows.push_back(y);
  return rows;
}

inline void clearMarks() {
  DisplayLock lock;
  std::fill(display().changedRows.begin(), display().changedRows.end(), uint8_t{0});
}

// Checks that page `number` holds `inside` in `box` and `outside` elsewhere,
// naming the first pixel that differs.
inline ::testing::AssertionResult pageShowsBox(int32_t number, const PixelBox& box, uint8_t inside,
                                               uint8_t outside) {
  for (int32_t y = 0; y < display().height; ++y) {
    for (int32_t x = 0; x < display().width; ++x) {
      const uint8_t expected = box.contains(x, y) ? inside : outside;
      const uint8_t actual = pixelAt(number, x, y);
      if (actual != expected) {
        return ::testing::AssertionFailure()
               << "page " << number << " pixel (" << x << ", " << y << ") is " << int{actual}
               << ", expected " << int{expected};
      }
    }
  }
  return ::testing::AssertionSuccess();
}

class OpenDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setFrontEnd(&frontEnd_);
    ASSERT_EQ(openScreen(kScreenWidth, kScreenHeight, kStoryDepth, kStoryPageCount), 0);
  }

  void TearDown() override {
    closeDisplay();
    setFrontEnd(nullptr);
  }

  HeadlessFrontEnd frontEnd_{false};
};

}  // namespace quillon::display_test
