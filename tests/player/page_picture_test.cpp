// Drawing a page's picture: the map thumbnail, the full picture on the
// background, and what the visible page shows while they are drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/picture_fixture.h"

namespace quillon::story_test {
namespace {

// Colours the small picture uses, by letter; '.' is the black cell.
uint8_t colourOf(char letter) {
  switch (letter) {
    case 'R':
      return 4;
    case 'G':
      return 2;
    case 'B':
      return 1;
    case 'Y':
      return 14;
    case 'W':
      return 15;
    default:
      return 0;
  }
}

std::vector<int32_t> filled(std::size_t count, int32_t colour) {
  return std::vector<int32_t>(count, colour);
}

TEST_F(PictureTest, SmallPictureGivesOverlappingThumbnailBlocksAndACentredPicture) {
  folder_.writePicture("small.pic", kSmallPicture, kSmallPictureWidth);
  const PageSet before = capturePages();
  draw(41, "small.pic", 3, 2);  // page 41: map cell (8, 8)

  // Blocks of neighbours share an edge column or row and the later pixel
  // wins; the transparent pixel lets the black cell show through.
  const char* const expectedCell[8] = {
      "RRGGGBBB", "RRGGGBBB", "RRGGGBBB", "RRGGGBBB",
      "YYYGGWWW", "YYY..WWW", "YYY..WWW", "YYY..WWW",
  };
  std::vector<uint8_t> expectedMap = before[kMapPage];
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      expectedMap[static_cast<std::size_t>((8 + y) * kScreenWidth + 8 + x)] =
          colourOf(expectedCell[y][x]);
    }
  }
  EXPECT_TRUE(samePage(pageBytes(kMapPage), expectedMap, "map page"));

  // 3 x 2 lands at (159 - 1, 85 - 1); the transparent pixel keeps the background.
  std::vector<uint8_t> expectedWork = before[kBackgroundPage];
  const int32_t picture[2][3] = {{4, 2, 1}, {14, -1, 15}};
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 3; ++x) {
      if (picture[y][x] < 0) continue;
      expectedWork[static_cast<std::size_t>((84 + y) * kScreenWidth + 158 + x)] =
          static_cast<uint8_t>(picture[y][x]);
    }
  }
  EXPECT_TRUE(samePage(pageBytes(kWorkPage), expectedWork, "work page"));
  // Six pixels are never shown while drawn.
  EXPECT_TRUE(samePage(pageBytes(kVisiblePage), before[kVisiblePage], "visible page"));
  EXPECT_TRUE(copies_.empty());
  // Slot 3 was closed again, so it can be opened.
  EXPECT_EQ(openForInput(picturePath("small.pic"), kPictureSlot), 0);
}

// The name gives the size where it can; the full picture shows how large the
// picture was drawn.
TEST_F(PictureTest, SizeFromTheNameReplacesThePageFileSize) {
  struct Case {
    const char* name;
    int32_t XX, YY;
    int32_t left, top, right, bottom;  // expected extent on the work page
  };
  const Case cases[] = {
      {"tree3216.VIS", 5, 5, 143, 77, 174, 92},
      {"tree3216.vis", 5, 5, 157, 83, 161, 87},
      {"tree3216.VISX", 5, 5, 157, 83, 161, 87},
      {"bkgd2424.VIS", 3, 3, 147, 73, 170, 96},
  };
  constexpr uint8_t kColour = 9;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    folder_.writePicture(c.name, filled(32 * 32, kColour), 32);
    copyPage(kBackgroundPage, kWorkPage);
    const std::vector<uint8_t> background = pageBytes(kBackgroundPage);
    draw(3, c.name, c.XX, c.YY);
    std::vector<uint8_t> expected = background;
    for (int32_t y = c.top; y <= c.bottom; ++y) {
      for (int32_t x = c.left; x <= c.right; ++x) {
        expected[static_cast<std::size_t>(y * kScreenWidth + x)] = kColour;
      }
    }
    EXPECT_TRUE(samePage(pageBytes(kWorkPage), expected, "work page"));
  }
}

// A name whose width characters are letters gives width 0: nothing is read or
// drawn but the black cell.
TEST_F(PictureTest, LettersInPlaceOfTheWidthDrawNoColumn) {
  folder_.writePicture("treeAB16.VIS", filled(64, 9), 8);
  const PageSet before = capturePages();
  draw(0, "treeAB16.VIS", 8, 8);
  EXPECT_TRUE(samePage(pageBytes(kWorkPage), before[kBackgroundPage], "work page"));
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(pixelOf(pageBytes(kMapPage), x, y), 0);
  }
}

TEST_F(PictureTest, ZeroOrNegativeSizeLeavesOnlyABlackCell) {
  struct Case {
    int32_t XX, YY;
  };
  const Case cases[] = {{0, 5}, {5, 0}, {-3, 4}, {4, -3}, {-30, -30}, {0, 0}};
  folder_.writePicture("some.pic", filled(100, 9), 10);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.XX << " x " << c.YY);
    const PageSet before = capturePages();
    draw(42, "some.pic", c.XX, c.YY);  // cell (16, 8)
    std::vector<uint8_t> expectedMap = before[kMapPage];
    for (int32_t y = 8; y < 16; ++y) {
      for (int32_t x = 16; x < 24; ++x)
        expectedMap[static_cast<std::size_t>(y * kScreenWidth + x)] = 0;
    }
    EXPECT_TRUE(samePage(pageBytes(kMapPage), expectedMap, "map page"));
    EXPECT_TRUE(samePage(pageBytes(kWorkPage), before[kBackgroundPage], "work page"));
    EXPECT_TRUE(samePage(pageBytes(kVisiblePage), before[kVisiblePage], "visible page"));
    restorePages(before);
  }
}

TEST_F(PictureTest, PixelsMissingFromAShortFileAreDrawnInColourZero) {
  folder_.writePicture("short.pic", filled(5, 9), 4);  // 4 x 3 wants 12 values
  const PageSet before = capturePages();
  draw(7, "short.pic", 4, 3);
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      const int32_t index = y * 4 + x;
      EXPECT_EQ(pixelOf(pageBytes(kWorkPage), 157 + x, 84 + y), index < 5 ? 9 : 0)
          << "pixel " << index;
    }
  }
  // Around the picture the background is untouched.
  EXPECT_EQ(pixelOf(pageBytes(kWorkPage), 161, 84), pixelOf(before[kBackgroundPage], 161, 84));
}

// A picture as wide as the page starts one pixel left of it.
TEST_F(PictureTest, FullWidthPictureLosesItsFirstColumnOffThePage) {
  std::vector<int32_t> row = filled(320, 11);
  row[0] = 9;
  row[1] = 10;
  row[319] = 12;
  folder_.writePicture("wide.pic", row, 320);
  const PageSet before = capturePages();
  draw(0, "wide.pic", 320, 1);
  const std::vector<uint8_t>& work = pageBytes(kWorkPage);
  EXPECT_EQ(pixelOf(work, 0, 85), 10);
  EXPECT_EQ(pixelOf(work, 1, 85), 11);
  EXPECT_EQ(pixelOf(work, 318, 85), 12);
  EXPECT_EQ(pixelOf(work, 319, 85), pixelOf(before[kBackgroundPage], 319, 85));
}

// Page 1000's cell lies below the map: the map page does not change at all.
TEST_F(PictureTest, PageThousandDrawsItsThumbnailBelowTheMap) {
  folder_.writePicture("small.pic", kSmallPicture, kSmallPictureWidth);
  const PageSet before = capturePages();
  draw(1000, "small.pic", 3, 2);
  EXPECT_TRUE(samePage(pageBytes(kMapPage), before[kMapPage], "map page"));
  EXPECT_EQ(pixelOf(pageBytes(kWorkPage), 158, 84), 4);
}

std::vector<VisibleCopy> everyFourthRow(int64_t lastRow) {
  std::vector<VisibleCopy> copies;
  for (int32_t pass = 1; pass <= 2; ++pass) {
    for (int64_t row = 4; row <= lastRow; row += 4) copies.emplace_back(pass, row);
  }
  return copies;
}

// Pictures of more than 576 pixels (a wrapped 32-bit product) are shown
// every fourth row of both passes; smaller ones are never shown while drawn.
TEST_F(PictureTest, LargePicturesAreShownEveryFourthRow) {
  struct Case {
    const char* what;
    int32_t XS, YS;
    std::size_t values;
    std::vector<VisibleCopy> copies;
    int64_t shownRows;  // picture rows on the visible page at the end; -1: unchanged
  };
  const Case cases[] = {
      {"24 x 24", 24, 24, 576, {}, -1},
      {"25 x 24", 25, 24, 600, everyFourthRow(24), 24},
      {"26 x 23", 26, 23, 598, everyFourthRow(20), 20},
      // A short file: the rows after its end are drawn at once, with only the
      // last copy they would have made.
      {"25 x 24, 30 values", 25, 24, 30, {{1, 24}, {2, 24}}, 24},
      {"26 x 23, 30 values", 26, 23, 30, {{1, 20}, {2, 20}}, 20},
      {"577 x 1", 577, 1, 577, {}, -1},
      {"24 x 25", 24, 25, 600, everyFourthRow(24), 24},
      // Rows without pixels still count, with a product that wraps positive.
      {"-1073741000 x 4", -1073741000, 4, 0, {{1, 4}, {2, 4}}, 0},
      {"-2 x -300", -2, -300, 0, {}, -1},
  };
  constexpr uint8_t kColour = 13;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    copies_.clear();
    folder_.writePicture("big.pic", filled(c.values, kColour), c.XS > 0 ? c.XS : 1);
    const PageSet before = capturePages();
    draw(5, "big.pic", c.XS, c.YS);
    EXPECT_EQ(copies_, c.copies);
    if (c.shownRows < 0) {
      EXPECT_TRUE(samePage(pageBytes(kVisiblePage), before[kVisiblePage], "visible page"));
    } else {
      // The background with the picture's first `shownRows` rows.
      std::vector<uint8_t> expected = before[kBackgroundPage];
      const int64_t left = 159 - c.XS / 2;
      const int64_t top = 85 - c.YS / 2;
      for (int64_t row = 0; row < c.shownRows; ++row) {
        for (int64_t column = 0; column < c.XS; ++column) {
          const bool inFile = row * c.XS + column < static_cast<int64_t>(c.values);
          expected[static_cast<std::size_t>((top + row) * kScreenWidth + left + column)] =
              inFile ? kColour : 0;
        }
      }
      EXPECT_TRUE(samePage(pageBytes(kVisiblePage), expected, "visible page"));
    }
    restorePages(before);
  }
}

TEST_F(PictureTest, BackgroundTilesTheWholePageRowByRow) {
  std::vector<int32_t> tile = backgroundTile();
  folder_.writePicture("bkgd2424.VIS", tile, kTileSize);
  std::fill(pageBytes(kWorkPage).begin(), pageBytes(kWorkPage).end(), uint8_t{0});
  tileBackground();

  std::vector<VisibleCopy> expectedCopies;
  for (int64_t row = 1; row <= kTileSize; ++row) expectedCopies.emplace_back(0, row);
  EXPECT_EQ(copies_, expectedCopies);
  std::vector<uint8_t> expected(static_cast<std::size_t>(kScreenWidth * kScreenHeight));
  for (int32_t y = 0; y < kScreenHeight; ++y) {
    for (int32_t x = 0; x < kScreenWidth; ++x) {
      const int32_t value =
          tile[static_cast<std::size_t>((y % kTileSize) * kTileSize + x % kTileSize)];
      // Transparent pixels keep the colour 0 the page held.
      expected[static_cast<std::size_t>(y * kScreenWidth + x)] =
          static_cast<uint8_t>(value < 0 ? 0 : value);
    }
  }
  for (const int32_t page : {kVisiblePage, kWorkPage, kMapPage, kBackgroundPage}) {
    EXPECT_TRUE(samePage(pageBytes(page), expected, "tiled page")) << "page " << page;
  }
  EXPECT_EQ(openForInput(picturePath("bkgd2424.VIS"), 1), 0) << "slot 1 left open";
}

}  // namespace
}  // namespace quillon::story_test
