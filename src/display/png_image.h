#pragma once
// RGB images of video pages or of the presented window, as PNG files.
#include <cstdint>
#include <string>
#include <vector>

#include "display/framebuffer.h"

namespace quillon {

struct RgbImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;  // width*height*3 bytes, rows top to bottom
};

// A video page of the current display through its palette; empty if none.
RgbImage renderPage(int32_t page);
// A 0x00RRGGBB image (as a presenter keeps it).
RgbImage imageFromPixels(const std::vector<uint32_t>& pixels, int32_t width, int32_t height);
bool writePng(const std::string& path, const RgbImage& image);
bool readPng(const std::string& path, RgbImage& image);

}  // namespace quillon
