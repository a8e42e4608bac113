// The size a picture's name gives, and where its file is looked for.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "data/picture.h"

namespace quillon {
namespace {

TEST(PicturePath, IsTheNameInTheSpritesDirectory) {
  EXPECT_EQ(picturePath("bkgd2424.VIS"), "sprites\\bkgd2424.VIS");
  // An empty name names the directory itself.
  EXPECT_EQ(picturePath(""), "sprites\\");
}

TEST(SizeFromName, TwelveCharacterNamesEndingInVisGiveTheirSize) {
  struct Case {
    const char* name;
    int32_t width, height;  // from a page file that gives 5 x 6
  };
  const Case cases[] = {
      {"tree3216.VIS", 32, 16},
      {"bkgd2424.VIS", 24, 24},
      // Only exactly ".VIS", upper case, at the end of 12 characters.
      {"tree3216.vis", 5, 6},
      {"tree3216.VISX", 5, 6},
      {"ree3216.VIS", 5, 6},
      {"tree3216.VIs", 5, 6},
      {"", 5, 6},
      // The two characters are read as the start of a number.
      {"treeAB16.VIS", 0, 16},
      {"tree5x7 .VIS", 5, 7},
      {"tree 7-3.VIS", 7, -3},
      {"tree+3&7.VIS", 3, 7},
      {"tree9.1e.VIS", 9, 1},
      {"tree&8&H.VIS", 0, 0},
      {"tree0x  .VIS", 0, 0},
      // Fractions are stored rounded to nearest, ties to even.
      {"tree.5.7.VIS", 0, 1},
  };
  for (const Case& c : cases) {
    int32_t width = 5;
    int32_t height = 6;
    applySizeFromName(c.name, width, height);
    EXPECT_EQ(width, c.width) << c.name;
    EXPECT_EQ(height, c.height) << c.name;
  }
}

}  // namespace
}  // namespace quillon
