#pragma once
// Where the window and the image go: the display under the mouse pointer, and
// the whole-number scaling of the image in full-screen presentation.
#include <cstdint>
#include <vector>

namespace quillon {

struct ScreenRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t w = 0;
  int32_t h = 0;
  bool operator==(const ScreenRect&) const = default;
};

// Index of the first display whose bounds hold the point; 0 (the primary
// display) when none does.
int32_t displayHoldingPoint(const std::vector<ScreenRect>& displays, int32_t x, int32_t y);

// The image scaled by the largest whole factor that fits the output (at
// least 1) and centred on it.
ScreenRect integerScaledRect(int32_t imageWidth, int32_t imageHeight, int32_t outputWidth,
                             int32_t outputHeight);

}  // namespace quillon
