// Pages and presented images as RGB pictures and PNG files.
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "display/framebuffer.h"
#include "display/front_end.h"
#include "display/headless_front_end.h"
#include "display/png_image.h"
#include "display_fixture.h"

namespace quillon {
namespace {

class PngFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ =
        std::filesystem::path(::testing::TempDir()) /
        ("quillon_png_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::string path(const std::string& name) const { return (folder_ / name).string(); }

  std::filesystem::path folder_;
};

// A 3 x 2 picture with a different colour in every pixel and channel.
RgbImage threeByTwo() {
  return RgbImage{3, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3, 128, 129, 130, 250, 251, 252}};
}

TEST_F(PngFileTest, WrittenPictureReadsBackUnchanged) {
  const RgbImage image = threeByTwo();
  ASSERT_TRUE(writePng(path("a.png"), image));
  RgbImage back;
  ASSERT_TRUE(readPng(path("a.png"), back));
  EXPECT_EQ(back.width, 3);
  EXPECT_EQ(back.height, 2);
  EXPECT_EQ(back.rgb, image.rgb);
}

struct ForeignFormat {
  const char* name;
  png_uint_32 format;
  std::vector<uint8_t> pixels;    // 2 x 1 pixels in `format`
  std::vector<uint8_t> colormap;  // RGB entries for colour-mapped files
  std::vector<uint8_t> expected;  // the 2 x 1 RGB result
};

const std::vector<ForeignFormat> kForeignFormats = {
    {"Gray", PNG_FORMAT_GRAY, {0, 200}, {}, {0, 0, 0, 200, 200, 200}},
    {"OpaqueRgba",
     PNG_FORMAT_RGBA,
     {10, 20, 30, 255, 40, 50, 60, 255},
     {},
     {10, 20, 30, 40, 50, 60}},
    // Transparent pixels come out black.
    {"TransparentRgba",
     PNG_FORMAT_RGBA,
     {10, 20, 30, 0, 40, 50, 60, 255},
     {},
     {0, 0, 0, 40, 50, 60}},
    {"Palette", PNG_FORMAT_RGB_COLORMAP, {1, 0}, {9, 8, 7, 170, 0, 0}, {170, 0, 0, 9, 8, 7}},
};

class PngForeignFormatTest : public PngFileTest,
                             public ::testing::WithParamInterface<ForeignFormat> {};

TEST_P(PngForeignFormatTest, ReadsAsEightBitRgb) {
  const ForeignFormat& c = GetParam();
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = 2;
  png.height = 1;
  png.format = c.format;
  png.colormap_entries = static_cast<png_uint_32>(c.colormap.size() / 3);
  ASSERT_NE(png_image_write_to_file(&png, path("f.png").c_str(), 0, c.pixels.data(), 0,
                                    c.colormap.empty() ? nullptr : c.colormap.data()),
            0)
      << png.message;
  RgbImage image;
  ASSERT_TRUE(readPng(path("f.png"), image));
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 1);
  EXPECT_EQ(image.rgb, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, PngForeignFormatTest, ::testing::ValuesIn(kForeignFormats),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(PngFileTest, ReadRefusesMissingAndDamagedFilesAndKeepsTheImage) {
  ASSERT_TRUE(writePng(path("good.png"), threeByTwo()));
  std::ifstream in(path("good.png"), std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream(path("text.png"), std::ios::binary) << "not a picture\n";
  std::ofstream(path("cut.png"), std::ios::binary) << whole.substr(0, whole.size() / 2);

  for (const char* name : {"missing.png", "text.png", "cut.png"}) {
    RgbImage image = threeByTwo();
    EXPECT_FALSE(readPng(path(name), image)) << name;
    EXPECT_EQ(image.rgb, threeByTwo().rgb) << name;
  }
}

TEST_F(PngFileTest, WriteRefusesMalformedImages) {
  const std::vector<RgbImage> malformed = {
      RgbImage{0, 2, {}},
      RgbImage{3, -2, std::vector<uint8_t>(18)},
      RgbImage{3, 2, std::vector<uint8_t>(17)},
      RgbImage{3, 2, std::vector<uint8_t>(19)},
  };
  for (const RgbImage& image : malformed) {
    EXPECT_FALSE(writePng(path("bad.png"), image)) << image.width << " x " << image.height;
  }
  EXPECT_FALSE(writePng(path("no/such/folder/x.png"), threeByTwo()));
}

TEST(ImageFromPixelsTest, UnpacksRedGreenBlueInOrder) {
  const RgbImage image = imageFromPixels({0x112233u, 0xFFA0B1C2u}, 2, 1);
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 1);
  EXPECT_EQ(image.rgb, (std::vector<uint8_t>{0x11, 0x22, 0x33, 0xA0, 0xB1, 0xC2}));
}

TEST(ImageFromPixelsTest, RefusesTooFewPixelsAndEmptySizes) {
  EXPECT_TRUE(imageFromPixels({1, 2, 3}, 2, 2).rgb.empty());
  EXPECT_TRUE(imageFromPixels({1, 2, 3}, 0, 2).rgb.empty());
  EXPECT_TRUE(imageFromPixels({1, 2, 3}, -1, -3).rgb.empty());
}

using RenderPageTest = display_test::OpenDisplayTest;

TEST_F(RenderPageTest, TurnsColourIndicesIntoPaletteColours) {
  setPages(2, 0);
  setPixel(1, 0, 4);
  setPixel(319, 199, 40);
  const RgbImage image = renderPage(2);
  ASSERT_EQ(image.width, kScreenWidth);
  ASSERT_EQ(image.height, kScreenHeight);
  ASSERT_EQ(image.rgb.size(), static_cast<std::size_t>(kScreenWidth * kScreenHeight * 3));
  const auto at = [&](int32_t x, int32_t y) {
    const auto offset = static_cast<std::size_t>((y * kScreenWidth + x) * 3);
    return Rgb{image.rgb[offset], image.rgb[offset + 1], image.rgb[offset + 2]};
  };
  EXPECT_EQ(at(0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(at(1, 0), (Rgb{170, 0, 0}));
  EXPECT_EQ(at(319, 199), (Rgb{255, 0, 0}));
  EXPECT_EQ(renderPage(0).rgb, std::vector<uint8_t>(image.rgb.size(), 0)) << "page 0 untouched";
}

TEST_F(RenderPageTest, PagesThatDoNotExistGiveAnEmptyImage) {
  for (int32_t page : {-1, 16, 1000}) {
    const RgbImage image = renderPage(page);
    EXPECT_EQ(image.width, 0) << page;
    EXPECT_TRUE(image.rgb.empty()) << page;
  }
  closeDisplay();
  EXPECT_TRUE(renderPage(0).rgb.empty()) << "no display open";
}

}  // namespace
}  // namespace quillon
