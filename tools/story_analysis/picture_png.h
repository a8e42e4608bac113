#pragma once
// Pictures to and from PNG through the default palette: -1 is a fully
// transparent pixel, every other value the palette entry of its low 8 bits.
#include <cstdint>
#include <string>
#include <vector>

#include "display/framebuffer.h"

namespace quillon::tool {

struct RgbaImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgba;  // width*height*4 bytes, rows top to bottom
};

// Pixels with less than half coverage become transparent when imported.
inline constexpr uint8_t kOpaqueFrom = 128;

RgbaImage pictureToImage(const std::vector<int32_t>& values, int32_t width, int32_t height,
                         const Palette& palette);

struct ImportedPicture {
  std::vector<int32_t> values;
  int64_t inexactPixels = 0;  // opaque pixels whose colour is not in the palette
};
// Nearest palette entry by squared RGB distance; the lowest index on a tie.
ImportedPicture imageToPicture(const RgbaImage& image, const Palette& palette);

// Picture file text: one line of comma-separated values per row.
std::string pictureFileText(const std::vector<int32_t>& values, int32_t width);

// false with a reason in `error` when the file can't be read or written.
bool writeRgbaPng(const std::string& path, const RgbaImage& image, std::string& error);
bool readRgbaPng(const std::string& path, RgbaImage& image, std::string& error);

}  // namespace quillon::tool
