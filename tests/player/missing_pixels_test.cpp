// A picture file shorter than its size: the pixels after its end are colour 0.
// However large the size, the pages must end up as drawing every pixel one by
// one would leave them, and drawing must end promptly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "player/picture_fixture.h"

namespace quillon::story_test {
namespace {

constexpr int32_t kLargest = std::numeric_limits<int32_t>::max();
constexpr int32_t kProgressLimit = 576;

struct PictureCase {
  const char* what;
  int32_t XS, YS;
  std::string fileText;
  std::vector<int32_t> values;  // the fields the file gives, in order
  int32_t PL = 45;              // map cell (40, 8)
};

int32_t valueAt(const PictureCase& c, int64_t T, int64_t TT) {
  const int64_t index = (TT - 1) * int64_t{c.XS} + (T - 1);
  return index < static_cast<int64_t>(c.values.size()) ? c.values[static_cast<std::size_t>(index)]
                                                       : 0;
}

bool showsProgress(int32_t XS, int32_t YS) {
  return static_cast<int32_t>(static_cast<uint32_t>(XS) * static_cast<uint32_t>(YS)) >
         kProgressLimit;
}

// Every pixel one by one, as a picture that fills its whole size is drawn.
void drawPixelByPixel(const PictureCase& c) {
  const int64_t cx = 8 * (c.PL % 40);
  const int64_t cy = 8 * (c.PL / 40);
  const bool progress = showsProgress(c.XS, c.YS);
  copyPage(kMapPage, kWorkPage);
  fillBox(static_cast<float>(cx), static_cast<float>(cy), static_cast<float>(cx + 7),
          static_cast<float>(cy + 7), 0);
  for (int64_t TT = 1; TT <= c.YS; ++TT) {
    for (int64_t T = 1; T <= c.XS; ++T) {
      const int32_t R = valueAt(c, T, TT);
      if (R == -1) continue;
      const BlockSpan x = thumbnailBlock(static_cast<int32_t>(T), c.XS);
      const BlockSpan y = thumbnailBlock(static_cast<int32_t>(TT), c.YS);
      fillBox(static_cast<float>(cx + x.first - 1), static_cast<float>(cy + y.first - 1),
              static_cast<float>(cx + x.last - 1), static_cast<float>(cy + y.last - 1), R);
    }
    if (progress && TT % 4 == 0) copyPage(kWorkPage, kVisiblePage);
  }
  copyPage(kWorkPage, kMapPage);
  copyPage(kBackgroundPage, kWorkPage);
  for (int64_t TT = 1; TT <= c.YS; ++TT) {
    for (int64_t T = 1; T <= c.XS; ++T) {
      const int32_t R = valueAt(c, T, TT);
      if (R == -1) continue;
      setPixel(static_cast<float>(159 - c.XS / 2 + T - 1),
               static_cast<float>(85 - c.YS / 2 + TT - 1), R);
    }
    if (progress && TT % 4 == 0) copyPage(kWorkPage, kVisiblePage);
  }
}

// The smallest and the largest picture row (or column) whose block covers
// cell row `p`; blocks only grow with the index, so both are binary searches.
std::pair<int64_t, int64_t> coveringRange(int32_t p, int32_t size) {
  int64_t low = 1;
  int64_t high = size;
  while (low < high) {  // smallest index whose block ends at or after p
    const int64_t middle = low + (high - low) / 2;
    if (thumbnailBlock(static_cast<int32_t>(middle), size).last >= p)
      high = middle;
    else
      low = middle + 1;
  }
  const int64_t first = low;
  low = 1;
  high = size;
  while (low < high) {  // largest index whose block starts at or before p
    const int64_t middle = low + (high - low + 1) / 2;
    if (thumbnailBlock(static_cast<int32_t>(middle), size).first <= p)
      low = middle;
    else
      high = middle - 1;
  }
  return {first, low};
}

// The colour each page pixel ends with, found pixel by pixel of the page
// rather than of the picture, so that any size can be checked: the last
// picture pixel in reading order that lands on it and is not transparent.
void drawPagePixelByPagePixel(const PictureCase& c) {
  const int64_t cx = 8 * (c.PL % 40);
  const int64_t cy = 8 * (c.PL / 40);
  std::vector<uint8_t>& map = pageBytes(kMapPage);
  for (int32_t y = 1; y <= 8; ++y) {
    for (int32_t x = 1; x <= 8; ++x) {
      int32_t colour = 0;  // the black cell
      if (c.XS > 0 && c.YS > 0) {
        const auto rows = coveringRange(y, c.YS);
        const auto columns = coveringRange(x, c.XS);
        bool found = false;
        for (int64_t TT = rows.second; TT >= rows.first && !found; --TT) {
          for (int64_t T = columns.second; T >= columns.first && !found; --T) {
            const int32_t R = valueAt(c, T, TT);
            if (R != -1) {
              colour = R;
              found = true;
            }
          }
        }
      }
      map[static_cast<std::size_t>((cy + y - 1) * kScreenWidth + cx + x - 1)] =
          static_cast<uint8_t>(colour);
    }
  }
  const auto fullPicture = [&](int64_t rowsDrawn) {
    std::vector<uint8_t> page = pageBytes(kBackgroundPage);
    const int64_t left = 159 - c.XS / 2;
    const int64_t top = 85 - c.YS / 2;
    for (int64_t y = 0; y < kScreenHeight; ++y) {
      for (int64_t x = 0; x < kScreenWidth; ++x) {
        const int64_t T = x - left + 1;
        const int64_t TT = y - top + 1;
        if (T < 1 || T > c.XS || TT < 1 || TT > rowsDrawn) continue;
        const int32_t R = valueAt(c, T, TT);
        if (R != -1) page[static_cast<std::size_t>(y * kScreenWidth + x)] = static_cast<uint8_t>(R);
      }
    }
    return page;
  };
  pageBytes(kWorkPage) = fullPicture(c.YS);
  // The last copy is the full picture pass's last fourth row.
  if (showsProgress(c.XS, c.YS) && c.YS >= 4) pageBytes(kVisiblePage) = fullPicture(c.YS / 4 * 4);
}

void expectSamePages(const PageSet& actual, const PageSet& expected) {
  EXPECT_TRUE(samePage(actual[kVisiblePage], expected[kVisiblePage], "visible page"));
  EXPECT_TRUE(samePage(actual[kWorkPage], expected[kWorkPage], "work page"));
  EXPECT_TRUE(samePage(actual[kMapPage], expected[kMapPage], "map page"));
}

std::string numbers(int32_t count, int32_t first) {
  std::string text;
  for (int32_t i = 0; i < count; ++i)
    text += std::to_string(first + i % 7) + (i % 10 == 9 ? "\n" : ",");
  return text;
}

std::vector<int32_t> numberValues(int32_t count, int32_t first) {
  std::vector<int32_t> values;
  for (int32_t i = 0; i < count; ++i) values.push_back(first + i % 7);
  return values;
}

std::vector<PictureCase> moderateCases() {
  return {
      {"400 x 300, 10 values", 400, 300, numbers(10, 40), numberValues(10, 40)},
      {"25 x 24 ends before the first shown row", 25, 24, numbers(7, 9), numberValues(7, 9)},
      {"26 x 23 ends with row 20", 26, 23, numbers(520, 9), numberValues(520, 9)},
      {"30 x 9 ends inside the last row", 30, 9, numbers(245, 9), numberValues(245, 9)},
      {"700 x 5 ends in row 2", 700, 5, numbers(1000, 32), numberValues(1000, 32)},
      {"3 x 2000 ends at once", 3, 2000, "", {}},
      {"exactly full", 12, 60, numbers(720, 20), numberValues(720, 20)},
      // Empty lines before the end are fields of value 0, not the end.
      {"separators before a last value", 5, 5, "1,2\n\n\n7\n", {1, 2, 0, 0, 7}},
      {"trailing separators", 5, 5, "1,2,3\n\n\n,,", {1, 2, 3}},
      {"transparent pixels just before the end", 40, 40, "-1,-1,5,-1\n", {-1, -1, 5, -1}},
      {"spaces after the last value", 30, 30, "6, 7   \t ", {6, 7}},
      {"end-of-text byte stops the file",
       30,
       30,
       "6,7\x1a"
       "8,9",
       {6, 7}},
  };
}

// Sizes that a page file can give but no picture file fills; each finishes
// at once instead of running through billions of pixels.
std::vector<PictureCase> hugeCases() {
  const std::string ten = numbers(10, 40);
  const std::vector<int32_t> tenValues = numberValues(10, 40);
  return {
      {"largest x largest", kLargest, kLargest, ten, tenValues},
      {"largest x 8", kLargest, 8, ten, tenValues},
      {"3 x largest, shown every fourth row", 3, kLargest, ten, tenValues},
      {"largest wide, transparent start", kLargest, 50, "-1,-1,-1,3,-1\n", {-1, -1, -1, 3, -1}},
      {"1000000 x 1000, 10 values", 1000000, 1000, ten, tenValues},
      {"0 x largest", 0, kLargest, ten, tenValues},
      {"negative wide x largest", -1073741000, kLargest, ten, tenValues},
  };
}

class MissingPixelsTest : public PictureTest {
 protected:
  // Draws `c` with the player, then with `reference` from the same pages.
  template <typename Reference>
  void compareWith(const PictureCase& c, Reference reference) {
    folder_.writeFile("sprites/short.pic", c.fileText);
    const PageSet start = capturePages();
    drawPagePicture(c.PL, "short.pic", c.XS, c.YS, nullptr, nullptr);
    const PageSet drawn = capturePages();
    restorePages(start);
    reference(c);
    expectSamePages(drawn, capturePages());
    restorePages(start);
  }
};

TEST_F(MissingPixelsTest, ShortFilesEndAsDrawingEveryPixelWould) {
  for (const PictureCase& c : moderateCases()) {
    SCOPED_TRACE(c.what);
    compareWith(c, drawPixelByPixel);
  }
}

// The page-pixel reference agrees with the pixel loop where both can run, so
// it can stand in for it where the loop would take hours.
TEST_F(MissingPixelsTest, PagePixelReferenceAgreesWithThePixelLoop) {
  for (const PictureCase& c : moderateCases()) {
    SCOPED_TRACE(c.what);
    folder_.writeFile("sprites/short.pic", c.fileText);
    const PageSet start = capturePages();
    drawPixelByPixel(c);
    const PageSet looped = capturePages();
    restorePages(start);
    drawPagePixelByPagePixel(c);
    expectSamePages(looped, capturePages());
    restorePages(start);
  }
}

TEST_F(MissingPixelsTest, HugeSizesWithShortFilesFinishWithTheSamePages) {
  for (const PictureCase& c : hugeCases()) {
    SCOPED_TRACE(c.what);
    compareWith(c, drawPagePixelByPagePixel);
  }
}

}  // namespace
}  // namespace quillon::story_test
