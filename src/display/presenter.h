#pragma once
// The presentation pass shared by every front end: takes palette changes,
// converts the changed-row span of the visible page to RGB and clears the flags.
#include <cstdint>
#include <vector>

#include "display/framebuffer.h"

namespace quillon {

struct RowSpan {
  int32_t first = 0;
  int32_t last = -1;  // empty when last < first
  bool empty() const { return last < first; }
};

// Hands one palette entry to the presenter and sets "palette changed".
void setWindowPalette(int32_t index, uint8_t r, uint8_t g, uint8_t b);
// The same for a caller that already holds displayMutex() (a presenter pass).
void setWindowPaletteLocked(int32_t index, uint8_t r, uint8_t g, uint8_t b);

class Presenter {
 public:
  // Caller holds displayMutex(). Converts rows of the visible page whose flags
  // are set (or all rows after a palette change or markAllChanged) into the
  // 0xRRGGBB image and returns the span it converted.
  RowSpan presentPassLocked();
  // Forces the next pass to convert every row (activation, mode switch).
  void markAllChanged() { allChanged_ = true; }
  // The image a window would show: width*height pixels, 0x00RRGGBB.
  const std::vector<uint32_t>& image() const { return image_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

 private:
  std::vector<uint32_t> image_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  Palette palette_{};
  bool allChanged_ = true;
};

}  // namespace quillon
