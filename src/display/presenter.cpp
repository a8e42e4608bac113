// The presentation pass: the changed rows of the visible page, converted
// through the window's palette into the image a window shows.
#include "display/presenter.h"

#include <algorithm>

namespace quillon {

namespace {

// The colours handed to the window; guarded by the display mutex.
struct WindowPalette {
  Palette colours{};
  bool changed = false;
};
WindowPalette gWindowPalette;

constexpr int32_t kPaletteEntries = 256;

uint32_t pixelFromRgb(const Rgb& colour) {
  return (uint32_t{colour.r} << 16) | (uint32_t{colour.g} << 8) | uint32_t{colour.b};
}

RowSpan changedSpan(const std::vector<uint8_t>& flags) {
  const auto first = std::find(flags.begin(), flags.end(), uint8_t{1});
  if (first == flags.end()) {
    return {};
  }
  const auto last = std::find(flags.rbegin(), flags.rend(), uint8_t{1});
  return {static_cast<int32_t>(first - flags.begin()),
          static_cast<int32_t>(flags.rend() - last - 1)};
}

}  // namespace

void setWindowPaletteLocked(int32_t index, uint8_t r, uint8_t g, uint8_t b) {
  if (index < 0 || index >= kPaletteEntries) {
    return;
  }
  gWindowPalette.colours[static_cast<std::size_t>(index)] = Rgb{r, g, b};
  gWindowPalette.changed = true;
}

void setWindowPalette(int32_t index, uint8_t r, uint8_t g, uint8_t b) {
  DisplayLock lock;
  setWindowPaletteLocked(index, r, g, b);
}

RowSpan Presenter::presentPassLocked() {
  DisplayRecord* display = currentDisplay();
  if (display == nullptr) {
    return {};
  }
  if (display->width != width_ || display->height != height_) {
    width_ = display->width;
    height_ = display->height;
    image_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
    allChanged_ = true;
  }
  if (gWindowPalette.changed) {
    palette_ = gWindowPalette.colours;
    gWindowPalette.changed = false;
    allChanged_ = true;
  }
  const RowSpan span = allChanged_ ? RowSpan{0, height_ - 1} : changedSpan(display->changedRows);
  const auto& page = display->pages[static_cast<std::size_t>(display->visiblePage)];
  const auto width = static_cast<std::size_t>(width_);
  const auto pitch = static_cast<std::size_t>(display->pitch);
  for (int32_t y = span.first; y <= span.last; ++y) {
    const auto row = static_cast<std::size_t>(y);
    const uint8_t* source = page.data() + row * pitch;
    uint32_t* target = image_.data() + row * width;
    for (std::size_t x = 0; x < width; ++x) {
      target[x] = pixelFromRgb(palette_[source[x]]);
    }
  }
  std::fill(display->changedRows.begin(), display->changedRows.end(), uint8_t{0});
  allChanged_ = false;
  return span;
}

}  // namespace quillon
