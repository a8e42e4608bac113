#include "display/png_image.h"

#include <png.h>

#include <cstddef>
#include <cstdint>
#include <utility>

namespace quillon {
namespace {

constexpr std::size_t kChannels = 3;
// Larger pictures than this are not ours; refusing them keeps a damaged
// header from asking for gigabytes.
constexpr uint32_t kMaxDimension = 16384;

std::size_t pixelCount(int32_t width, int32_t height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

bool isWellFormed(const RgbImage& image) {
  return image.width > 0 && image.height > 0 &&
         static_cast<uint32_t>(image.width) <= kMaxDimension &&
         static_cast<uint32_t>(image.height) <= kMaxDimension &&
         image.rgb.size() == pixelCount(image.width, image.height) * kChannels;
}

}  // namespace

RgbImage renderPage(int32_t page) {
  RgbImage image;
  DisplayLock lock;
  const DisplayRecord* display = currentDisplay();
  if (display == nullptr || page < 0 || static_cast<std::size_t>(page) >= display->pages.size() ||
      display->width <= 0 || display->height <= 0 || display->pitch < display->width) {
    return image;
  }
  const std::vector<uint8_t>& pixels = display->pages[static_cast<std::size_t>(page)];
  const auto pitch = static_cast<std::size_t>(display->pitch);
  const auto width = static_cast<std::size_t>(display->width);
  const auto height = static_cast<std::size_t>(display->height);
  if (pixels.size() < pitch * height) return image;
  image.width = display->width;
  image.height = display->height;
  image.rgb.resize(width * height * kChannels);
  std::size_t out = 0;
  for (std::size_t y = 0; y < height; ++y) {
    for (std::size_t x = 0; x < width; ++x) {
      const Rgb& colour = display->palette[pixels[y * pitch + x]];
      image.rgb[out++] = colour.r;
      image.rgb[out++] = colour.g;
      image.rgb[out++] = colour.b;
    }
  }
  return image;
}

RgbImage imageFromPixels(const std::vector<uint32_t>& pixels, int32_t width, int32_t height) {
  RgbImage image;
  if (width <= 0 || height <= 0 || pixels.size() < pixelCount(width, height)) return image;
  image.width = width;
  image.height = height;
  image.rgb.resize(pixelCount(width, height) * kChannels);
  std::size_t out = 0;
  for (std::size_t i = 0; i < pixelCount(width, height); ++i) {
    const uint32_t pixel = pixels[i];
    image.rgb[out++] = static_cast<uint8_t>((pixel >> 16) & 0xFFu);
    image.rgb[out++] = static_cast<uint8_t>((pixel >> 8) & 0xFFu);
    image.rgb[out++] = static_cast<uint8_t>(pixel & 0xFFu);
  }
  return image;
}

// libpng's simplified interface reports errors by return value, so no
// setjmp/longjmp crosses these C++ frames.
bool writePng(const std::string& path, const RgbImage& image) {
  if (!isWellFormed(image)) return false;
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  const auto stride = static_cast<png_int_32>(static_cast<std::size_t>(image.width) * kChannels);
  const int written =
      png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), stride, nullptr);
  png_image_free(&png);
  return written != 0;
}

bool readPng(const std::string& path, RgbImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, path.c_str()) == 0) {
    png_image_free(&png);
    return false;
  }
  if (png.width == 0 || png.height == 0 || png.width > kMaxDimension ||
      png.height > kMaxDimension) {
    png_image_free(&png);
    return false;
  }
  // Gray, palette and 16-bit files come out as 8-bit RGB; an alpha channel
  // is composited onto black (the zeroed buffer).
  png.format = PNG_FORMAT_RGB;
  RgbImage result;
  result.width = static_cast<int32_t>(png.width);
  result.height = static_cast<int32_t>(png.height);
  result.rgb.assign(pixelCount(result.width, result.height) * kChannels, 0);
  const auto stride = static_cast<png_int_32>(static_cast<std::size_t>(png.width) * kChannels);
  if (png_image_finish_read(&png, nullptr, result.rgb.data(), stride, nullptr) == 0) {
    png_image_free(&png);
    return false;
  }
  image = std::move(result);
  return true;
}

}  // namespace quillon
