// The golden-image comparison itself: a failing comparison has to point at
// the differing pixels and text cells, or nobody can act on it.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "display/png_image.h"
#include "support/golden.h"

namespace quillon {
namespace {

constexpr char kGoldenName[] = "console_all_glyphs.png";

bool updatingGoldens() {
  const char* value = std::getenv("QUILLON_UPDATE_GOLDEN");
  return value != nullptr && std::string(value) == "1";
}

RgbImage goldenPicture() {
  RgbImage image;
  const std::filesystem::path path =
      std::filesystem::path(QUILLON_TEST_SOURCE_DIR) / "golden" / kGoldenName;
  EXPECT_TRUE(readPng(path.string(), image)) << path;
  return image;
}

void setRgb(RgbImage& image, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
  const auto offset = (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                       static_cast<std::size_t>(x)) *
                      3;
  image.rgb[offset] = r;
  image.rgb[offset + 1] = g;
  image.rgb[offset + 2] = b;
}

class GoldenCompareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // These cases hand deliberately wrong pictures to the comparison, which
    // in update mode would overwrite the golden file with them.
    if (updatingGoldens()) GTEST_SKIP() << "golden files are being updated";
    // The comparison writes its actual pictures into the current directory;
    // a folder of our own keeps them apart from the real golden tests'.
    previous_ = std::filesystem::current_path();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::path(::testing::TempDir()) /
              ("quillon_golden_" + std::string(info->name()) + "_" +
               std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder_);
    std::filesystem::current_path(folder_);
  }

  void TearDown() override {
    if (folder_.empty()) return;
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::filesystem::path previous_;
  std::filesystem::path folder_;
};

TEST_F(GoldenCompareTest, IdenticalPictureMatches) {
  EXPECT_TRUE(matchesGolden(goldenPicture(), kGoldenName));
}

TEST_F(GoldenCompareTest, MismatchNamesTheDifferingPixelsTheirCellsAndColours) {
  RgbImage picture = goldenPicture();
  ASSERT_EQ(picture.width, 320);
  const uint8_t original[3] = {picture.rgb[(9 * 320 + 17) * 3], picture.rgb[(9 * 320 + 17) * 3 + 1],
                               picture.rgb[(9 * 320 + 17) * 3 + 2]};
  setRgb(picture, 17, 9, 1, 2, 3);
  setRgb(picture, 319, 199, 200, 201, 202);
  const ::testing::AssertionResult result = matchesGolden(picture, kGoldenName);
  ASSERT_FALSE(result);
  const std::string message = result.message();
  EXPECT_NE(message.find("2 of 64000 pixels differ"), std::string::npos) << message;
  const std::string first = "pixel (17, 9) in text cell row 2, column 3: expected (" +
                            std::to_string(original[0]) + ", " + std::to_string(original[1]) +
                            ", " + std::to_string(original[2]) + "), actual (1, 2, 3)";
  EXPECT_NE(message.find(first), std::string::npos) << message;
  EXPECT_NE(message.find("pixel (319, 199) in text cell row 25, column 40"), std::string::npos)
      << message;
  const std::filesystem::path actual =
      std::filesystem::current_path() / "console_all_glyphs.actual.png";
  EXPECT_NE(message.find(actual.string()), std::string::npos) << message;
  RgbImage written;
  ASSERT_TRUE(readPng(actual.string(), written));
  EXPECT_EQ(written.rgb, picture.rgb);
}

TEST_F(GoldenCompareTest, SizeMismatchIsReported) {
  RgbImage small{3, 2, std::vector<uint8_t>(18, 7)};
  const ::testing::AssertionResult result = matchesGolden(small, kGoldenName);
  ASSERT_FALSE(result);
  EXPECT_NE(std::string(result.message()).find("expected 320 x 200, actual 3 x 2"),
            std::string::npos)
      << result.message();
}

TEST_F(GoldenCompareTest, MissingGoldenFailsAndSaysHowToCreateIt) {
  RgbImage small{3, 2, std::vector<uint8_t>(18, 7)};
  const ::testing::AssertionResult result = matchesGolden(small, "no_such_picture.png");
  ASSERT_FALSE(result);
  const std::string message = result.message();
  EXPECT_NE(message.find("does not exist"), std::string::npos) << message;
  EXPECT_NE(message.find("QUILLON_UPDATE_GOLDEN=1"), std::string::npos) << message;
}

}  // namespace
}  // namespace quillon
