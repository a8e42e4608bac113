// topng and frompng: pictures through the default palette and back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "display/palette.h"
#include "story_analysis/picture_png.h"
#include "support/story_fixture.h"
#include "tool_runner.h"

namespace quillon::tool_test {
namespace {

using story_test::makeTemporaryDirectory;

// Red, green, blue / yellow, transparent, white.
const std::vector<int32_t> k3x2 = {4, 2, 1, 14, -1, 15};

class PictureFolder : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = makeTemporaryDirectory("quillon-png"); }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(path(name), std::ios::binary) << text;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::filesystem::path folder_;
};

TEST_F(PictureFolder, RoundTripKeepsColoursAndTransparency) {
  write("tile0302.VIS", tool::pictureFileText(k3x2, 3));
  const ChildResult toPng = runTool({"topng", path("tile0302.VIS"), path("tile.png")});
  ASSERT_EQ(toPng.exitStatus, tool::kExitOk) << toPng.stderrBytes;

  tool::RgbaImage image;
  std::string error;
  ASSERT_TRUE(tool::readRgbaPng(path("tile.png"), image, error)) << error;
  ASSERT_EQ(image.width, 3);
  ASSERT_EQ(image.height, 2);
  const Palette& palette = defaultPalette();
  for (std::size_t i = 0; i < k3x2.size(); ++i) {
    SCOPED_TRACE(i);
    const uint8_t* pixel = &image.rgba[i * 4];
    if (k3x2[i] == -1) {
      EXPECT_EQ(pixel[3], 0);
      continue;
    }
    const Rgb& expected = palette[static_cast<std::size_t>(k3x2[i])];
    EXPECT_EQ(pixel[0], expected.r);
    EXPECT_EQ(pixel[1], expected.g);
    EXPECT_EQ(pixel[2], expected.b);
    EXPECT_EQ(pixel[3], 255);
  }

  const ChildResult fromPng = runTool({"frompng", path("tile.png"), path("back0302.VIS")});
  ASSERT_EQ(fromPng.exitStatus, tool::kExitOk) << fromPng.stderrBytes;
  EXPECT_EQ(read("back0302.VIS"), "4,2,1\n14,-1,15\n");
}

// Black is entry 0 and also 16 on the grey ramp: the lowest index wins, and
// an off-palette colour takes its nearest entry.
TEST_F(PictureFolder, ImportTakesTheNearestPaletteEntry) {
  const Palette& palette = defaultPalette();
  tool::RgbaImage image{3, 1, {}};
  const Rgb& red = palette[4];
  image.rgba = {0,
                0,
                0,
                255,  // black
                static_cast<uint8_t>(red.r - 3),
                red.g,
                red.b,
                255,  // nearly red
                10,
                200,
                30,
                100};  // less than half opaque
  const tool::ImportedPicture picture = tool::imageToPicture(image, palette);
  EXPECT_EQ(picture.values, (std::vector<int32_t>{0, 4, -1}));
  EXPECT_EQ(picture.inexactPixels, 1);
}

TEST_F(PictureFolder, SizesComeFromTheNameOrFromSize) {
  write("plain.pic", "1,2,3,4,5,6\n");
  write("tile0302.VIS", "1,2,3,4,5,6\n");
  struct Case {
    std::vector<std::string> arguments;
    int status;
    int width;
    int height;
  };
  const std::vector<Case> cases = {
      {{"topng", path("plain.pic"), path("a.png")}, tool::kExitUsage, 0, 0},
      {{"topng", path("plain.pic"), path("a.png"), "--size", "2x3"}, tool::kExitOk, 2, 3},
      {{"topng", path("plain.pic"), path("a.png"), "--size", "2by3"}, tool::kExitUsage, 0, 0},
      // As in the player, the name wins over any size given.
      {{"topng", path("tile0302.VIS"), path("a.png"), "--size", "6x1"}, tool::kExitOk, 3, 2},
      {{"topng", path("miss0302.VIS"), path("a.png")}, tool::kExitFindings, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[1] + (c.arguments.size() > 3 ? " " + c.arguments[4] : ""));
    std::filesystem::remove(path("a.png"));
    const ChildResult run = runTool(c.arguments);
    EXPECT_EQ(run.exitStatus, c.status) << run.stderrBytes;
    if (c.status != tool::kExitOk) continue;
    tool::RgbaImage image;
    std::string error;
    ASSERT_TRUE(tool::readRgbaPng(path("a.png"), image, error)) << error;
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
  }
}

TEST_F(PictureFolder, ExportDrawsMissingValuesInColourZero) {
  write("part0302.VIS", "15,15\n");
  const ChildResult run = runTool({"topng", path("part0302.VIS"), path("part.png")});
  ASSERT_EQ(run.exitStatus, tool::kExitOk);
  EXPECT_NE(run.stderrBytes.find("fewer than 6"), std::string::npos);
  tool::RgbaImage image;
  std::string error;
  ASSERT_TRUE(tool::readRgbaPng(path("part.png"), image, error));
  EXPECT_EQ(image.rgba[2 * 4 + 3], 255);  // opaque black, not transparent
  EXPECT_EQ(image.rgba[2 * 4 + 0], 0);
}

// The story reader refuses relative paths that leave the working directory;
// the tool's own paths are the user's and may.
TEST_F(PictureFolder, TakesPathsOutsideTheWorkingDirectory) {
  write("tile0302.VIS", tool::pictureFileText(k3x2, 3));
  std::filesystem::create_directory(folder_ / "work");
  const std::string work = path("work");
  const ChildResult run = runTool({"topng", "../tile0302.VIS", "../tile.png"},
                                  [work] { std::filesystem::current_path(work); });
  EXPECT_EQ(run.exitStatus, tool::kExitOk) << run.stderrBytes;
  EXPECT_TRUE(std::filesystem::exists(path("tile.png")));
}

TEST_F(PictureFolder, ImportRefusesANameWhoseSizeDiffersFromTheImage) {
  write("tile0302.VIS", tool::pictureFileText(k3x2, 3));
  ASSERT_EQ(runTool({"topng", path("tile0302.VIS"), path("tile.png")}).exitStatus, 0);
  const ChildResult run = runTool({"frompng", path("tile.png"), path("tile0203.VIS")});
  EXPECT_EQ(run.exitStatus, tool::kExitFindings);
  EXPECT_NE(run.stderrBytes.find("gives the size 2x3"), std::string::npos) << run.stderrBytes;
  EXPECT_FALSE(std::filesystem::exists(path("tile0203.VIS")));
}

}  // namespace
}  // namespace quillon::tool_test
