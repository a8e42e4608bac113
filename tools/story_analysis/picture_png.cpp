#include "story_analysis/picture_png.h"

#include <png.h>

#include <cstring>
#include <limits>

namespace quillon::tool {
namespace {

constexpr int32_t kTransparent = -1;
constexpr uint32_t kIndexMask = 0xFF;
constexpr std::size_t kChannels = 4;
constexpr uint8_t kOpaque = 255;
// Far beyond any story picture; keeps a hostile file from exhausting memory.
constexpr uint64_t kLargestImage = uint64_t{1} << 26;

std::size_t pixelCount(int32_t width, int32_t height) {
  return width > 0 && height > 0
             ? static_cast<std::size_t>(width) * static_cast<std::size_t>(height)
             : 0;
}

int32_t nearestEntry(uint8_t r, uint8_t g, uint8_t b, const Palette& palette, bool& exact) {
  int32_t best = 0;
  int64_t bestDistance = std::numeric_limits<int64_t>::max();
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const int64_t dr = int64_t{palette[i].r} - r;
    const int64_t dg = int64_t{palette[i].g} - g;
    const int64_t db = int64_t{palette[i].b} - b;
    const int64_t distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int32_t>(i);
    }
  }
  exact = bestDistance == 0;
  return best;
}

}  // namespace

RgbaImage pictureToImage(const std::vector<int32_t>& values, int32_t width, int32_t height,
                         const Palette& palette) {
  RgbaImage image;
  image.width = width;
  image.height = height;
  const std::size_t count = pixelCount(width, height);
  image.rgba.assign(count * kChannels, 0);
  for (std::size_t i = 0; i < count && i < values.size(); ++i) {
    if (values[i] == kTransparent) continue;
    const Rgb& colour = palette[static_cast<uint32_t>(values[i]) & kIndexMask];
    uint8_t* pixel = &image.rgba[i * kChannels];
    pixel[0] = colour.r;
    pixel[1] = colour.g;
    pixel[2] = colour.b;
    pixel[3] = kOpaque;
  }
  return image;
}

ImportedPicture imageToPicture(const RgbaImage& image, const Palette& palette) {
  ImportedPicture picture;
  const std::size_t count = pixelCount(image.width, image.height);
  picture.values.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const uint8_t* pixel = &image.rgba[i * kChannels];
    if (pixel[3] < kOpaqueFrom) {
      picture.values.push_back(kTransparent);
      continue;
    }
    bool exact = false;
    picture.values.push_back(nearestEntry(pixel[0], pixel[1], pixel[2], palette, exact));
    if (!exact) ++picture.inexactPixels;
  }
  return picture;
}

std::string pictureFileText(const std::vector<int32_t>& values, int32_t width) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    text += std::to_string(values[i]);
    const bool rowEnds = width > 0 && (i + 1) % static_cast<std::size_t>(width) == 0;
    text += rowEnds || i + 1 == values.size() ? "\n" : ",";
  }
  return text;
}

bool writeRgbaPng(const std::string& path, const RgbaImage& image, std::string& error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGBA;
  if (png_image_write_to_file(&png, path.c_str(), 0, image.rgba.data(), 0, nullptr) == 0) {
    error = png.message;
    return false;
  }
  return true;
}

bool readRgbaPng(const std::string& path, RgbaImage& image, std::string& error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, path.c_str()) == 0) {
    error = png.message;
    return false;
  }
  png.format = PNG_FORMAT_RGBA;
  if (uint64_t{png.width} * uint64_t{png.height} > kLargestImage) {
    png_image_free(&png);
    error = "image too large";
    return false;
  }
  image.width = static_cast<int32_t>(png.width);
  image.height = static_cast<int32_t>(png.height);
  image.rgba.assign(PNG_IMAGE_SIZE(png), 0);
  if (png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr) == 0) {
    error = png.message;
    return false;
  }
  return true;
}

}  // namespace quillon::tool
