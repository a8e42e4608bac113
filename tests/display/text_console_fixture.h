#pragma once
// A 320 x 200 story display on the headless front end, drawing into page 1
// as the player does, with helpers that read pages and text cells directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>

#include "display/font.h"
#include "display/framebuffer.h"
#include "display/front_end.h"
#include "display/headless_front_end.h"
#include "display/text_console.h"

namespace quillon::console_test {

inline constexpr int32_t kWorkPage = 1;
inline constexpr int32_t kColumns = 40;
inline constexpr int32_t kRows = 25;
inline constexpr int32_t kCell = 8;

// Text with any byte values, zeros included.
inline std::string bytes(std::initializer_list<int> values) {
  std::string text;
  for (int value : values) text.push_back(static_cast<char>(static_cast<uint8_t>(value)));
  return text;
}

struct Cursor {
  int32_t row = 0;  // one-based, as locate takes it
  int32_t column = 0;
  bool operator==(const Cursor&) const = default;
};

inline void PrintTo(const Cursor& cursor, std::ostream* out) {
  *out << "(row " << cursor.row << ", column " << cursor.column << ")";
}

class TextConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setFrontEnd(&frontEnd_);
    ASSERT_EQ(openScreen(kScreenWidth, kScreenHeight, kStoryDepth, kStoryPageCount), 0);
    setPages(kWorkPage, 0);
  }

  void TearDown() override {
    closeDisplay();
    setFrontEnd(nullptr);
  }

  static DisplayRecord& display() { return *currentDisplay(); }

  static uint8_t pixel(int32_t x, int32_t y, int32_t page = kWorkPage) {
    const DisplayRecord& record = display();
    return record
        .pages[static_cast<std::size_t>(page)][static_cast<std::size_t>(y * record.pitch + x)];
  }

  static void setPixelByte(int32_t x, int32_t y, uint8_t colour, int32_t page = kWorkPage) {
    DisplayRecord& record = display();
    record.pages[static_cast<std::size_t>(page)][static_cast<std::size_t>(y * record.pitch + x)] =
        colour;
  }

  static Cursor cursor() {
    const ConsoleState& state = consoleState();
    return {state.row + 1, state.column + 1};
  }

  static void print(const std::string& text) { printText(text); }

  // Every pixel row y of the work page gets colour kStripeBase + y, so after
  // a scroll the top-left pixel tells by how many pixel rows it moved.
  static constexpr uint8_t kStripeBase = 16;
  static void paintStripes() {
    for (int32_t y = 0; y < kScreenHeight; ++y) {
      for (int32_t x = 0; x < kScreenWidth; ++x) {
        setPixelByte(x, y, static_cast<uint8_t>(kStripeBase + y));
      }
    }
  }

  static void fillWorkPage(uint8_t colour) {
    for (int32_t y = 0; y < kScreenHeight; ++y) {
      for (int32_t x = 0; x < kScreenWidth; ++x) setPixelByte(x, y, colour);
    }
  }

  // Checks that the cell at (row, column), one-based, shows `glyphByte`.
  static ::testing::AssertionResult cellShowsGlyph(int32_t row, int32_t column, uint8_t glyphByte,
                                                   uint8_t foreground, uint8_t background) {
    const Glyph& glyph = kFont8x8[glyphByte];
    for (int32_t gy = 0; gy < kCell; ++gy) {
      for (int32_t gx = 0; gx < kCell; ++gx) {
        const bool set = ((glyph[static_cast<std::size_t>(gy)] >> gx) & 1) != 0;
        const uint8_t expected = set ? foreground : background;
        const int32_t x = (column - 1) * kCell + gx;
        const int32_t y = (row - 1) * kCell + gy;
        if (pixel(x, y) != expected) {
          return ::testing::AssertionFailure()
                 << "cell row " << row << ", column " << column << " glyph " << int{glyphByte}
                 << ": pixel (" << x << ", " << y << ") is " << int{pixel(x, y)} << ", expected "
                 << int{expected};
        }
      }
    }
    return ::testing::AssertionSuccess();
  }

  static ::testing::AssertionResult cellFilledWith(int32_t row, int32_t column, uint8_t colour) {
    for (int32_t gy = 0; gy < kCell; ++gy) {
      for (int32_t gx = 0; gx < kCell; ++gx) {
        const int32_t x = (column - 1) * kCell + gx;
        const int32_t y = (row - 1) * kCell + gy;
        if (pixel(x, y) != colour) {
          return ::testing::AssertionFailure()
                 << "cell row " << row << ", column " << column << ": pixel (" << x << ", " << y
                 << ") is " << int{pixel(x, y)} << ", expected " << int{colour};
        }
      }
    }
    return ::testing::AssertionSuccess();
  }

  // Clears the changed-row flags as a presentation pass would.
  static void clearChangedRows() {
    lockDisplay();
    std::fill(display().changedRows.begin(), display().changedRows.end(), uint8_t{0});
    unlockDisplay();
  }

  HeadlessFrontEnd frontEnd_{false};
};

}  // namespace quillon::console_test
