// The whole console as a picture: every glyph in several colours, wrapped
// text, box drawing, the lone-255 underline and text over filled boxes, as
// the presenter shows it after a copy onto the visible page.
#include <string>

#include "display/png_image.h"
#include "display/text_console.h"
#include "support/golden.h"
#include "text_console_fixture.h"

namespace quillon::console_test {
namespace {

struct Colours {
  int32_t foreground;
  int32_t background;
};

// One row of 32 glyphs per colour pair, byte values 32 * i to 32 * i + 31.
constexpr Colours kGlyphRowColours[] = {{15, 1}, {14, 4}, {10, 0}, {0, 7},
                                        {12, 8}, {11, 5}, {13, 2}, {40, 15}};
constexpr int32_t kGlyphsPerRow = 32;
constexpr int32_t kFirstGlyphRow = 3;
constexpr int32_t kFirstGlyphColumn = 5;

bool isControl(int byte) { return byte == 7 || byte == 8 || byte == 9 || byte == 10 || byte == 13; }

std::string hexLabel(int value) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[(value >> 4) & 15], kDigits[value & 15]};
}

void drawGlyphTable() {
  for (int32_t line = 0; line < 8; ++line) {
    const int32_t row = kFirstGlyphRow + line;
    setTextColors(7, 1);
    locate(row, 2);
    printText(hexLabel(line * kGlyphsPerRow));
    setTextColors(kGlyphRowColours[line].foreground, kGlyphRowColours[line].background);
    // The five bytes that move the cursor or ring cannot be shown as glyphs;
    // their cells keep the screen colour.
    std::string segment;
    int32_t segmentColumn = kFirstGlyphColumn;
    for (int32_t i = 0; i <= kGlyphsPerRow; ++i) {
      const int byte = line * kGlyphsPerRow + i;
      if (i == kGlyphsPerRow || isControl(byte)) {
        if (!segment.empty()) {
          locate(row, segmentColumn);
          printText(segment);
        }
        segment.clear();
        segmentColumn = kFirstGlyphColumn + i + 1;
        continue;
      }
      segment.push_back(static_cast<char>(byte));
    }
  }
}

void drawSamples() {
  setTextColors(15, 1);
  locate(1, 2);
  printText("Quillon console, code page 437");
  // 44 characters: the sentence wraps into the next row.
  locate(12, 1);
  printText("The quick brown fox jumps over the lazy dog.");
  setTextColors(14, 1);
  locate(15, 2);
  printText("\xC9\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xBB");
  locate(16, 2);
  printText("\xBA Box!  \xBA\r\n");
  printText(" \xC8\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xBC");
  setTextColors(11, 1);
  locate(15, 13);
  printText("\xB0\xB0\xB1\xB1\xB2\xB2\xDB\xDB\xDF\xDC");
  locate(16, 13);
  printText("\xDA\xC4\xC2\xC4\xBF \x18\x19\x1A\x1B \x03\x04\x05\x06");
  setTextColors(12, 1);
  locate(17, 13);
  printText("underline:");
  printText("\xFF");
  printText("\xFF");
}

void drawBoxes() {
  fillBox(232, 120, 311, 191, 40);
  fillBox(244, 132, 299, 179, 2);
  fillBox(0, 199, 319, 199, 14);
  fillBox(271.6f, 150.4f, 271.6f, 150.4f, 15);
  // Text over a box replaces the pixels under its cells.
  setTextColors(15, 2);
  locate(19, 33);
  printText("on box");
}

TEST_F(TextConsoleTest, AllGlyphsAndBoxesMatchTheGoldenPicture) {
  setTextColors(15, 1);
  clearScreen();
  drawGlyphTable();
  drawSamples();
  drawBoxes();
  ASSERT_EQ(copyPage(kWorkPage, 0), 0);

  const std::vector<uint32_t>& shown = frontEnd_.presentNow();
  const RgbImage picture =
      imageFromPixels(shown, frontEnd_.presenter().width(), frontEnd_.presenter().height());
  ASSERT_EQ(picture.width, kScreenWidth);
  ASSERT_EQ(picture.height, kScreenHeight);
  EXPECT_EQ(picture.rgb, renderPage(0).rgb) << "presented window and rendered page differ";
  EXPECT_TRUE(matchesGolden(picture, "console_all_glyphs.png"));
}

}  // namespace
}  // namespace quillon::console_test
