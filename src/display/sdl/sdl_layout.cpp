#include "display/sdl/sdl_layout.h"

#include <algorithm>

namespace quillon {

int32_t displayHoldingPoint(const std::vector<ScreenRect>& displays, int32_t x, int32_t y) {
  for (std::size_t i = 0; i < displays.size(); ++i) {
    const ScreenRect& d = displays[i];
    if (x >= d.x && y >= d.y && x - d.x < d.w && y - d.y < d.h) {
      return static_cast<int32_t>(i);
    }
  }
  return 0;
}

ScreenRect integerScaledRect(int32_t imageWidth, int32_t imageHeight, int32_t outputWidth,
                             int32_t outputHeight) {
  if (imageWidth <= 0 || imageHeight <= 0) {
    return ScreenRect{};
  }
  const int32_t factor =
      std::max(1, std::min(outputWidth / imageWidth, outputHeight / imageHeight));
  const int32_t w = imageWidth * factor;
  const int32_t h = imageHeight * factor;
  return ScreenRect{(outputWidth - w) / 2, (outputHeight - h) / 2, w, h};
}

}  // namespace quillon
