// Drawing into the work page and copying whole pages: setPixel, fillBox and
// copyPage, all clipped to the drawing context's clip rectangle.
#include <algorithm>
#include <cstring>

#include "display/coordinate_conversion.h"
#include "display/framebuffer.h"

namespace quillon {

namespace {

constexpr uint32_t kColourMask = 0xFFu;

uint8_t colourByte(int32_t colour) {
  return static_cast<uint8_t>(static_cast<uint32_t>(colour) & kColourMask);
}

std::size_t pixelOffset(const DisplayRecord& display, int64_t x, int64_t y) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(display.pitch) +
         static_cast<std::size_t>(x);
}

// Clip bounds in page coordinates, right and bottom exclusive.
struct ClipBounds {
  int64_t left;
  int64_t top;
  int64_t right;
  int64_t bottom;
};

ClipBounds clipBounds(const DrawingContext& context) {
  return {context.clipLeft, context.clipTop, int64_t{context.clipLeft} + context.clipWidth,
          int64_t{context.clipTop} + context.clipHeight};
}

// Takes the display lock only when asked: copies onto hidden pages need none.
class OptionalDisplayLock {
 public:
  explicit OptionalDisplayLock(bool take) : taken_(take) {
    if (taken_) {
      lockDisplay();
    }
  }
  ~OptionalDisplayLock() {
    if (taken_) {
      unlockDisplay();
    }
  }
  OptionalDisplayLock(const OptionalDisplayLock&) = delete;
  OptionalDisplayLock& operator=(const OptionalDisplayLock&) = delete;

 private:
  bool taken_;
};

}  // namespace

void setPixel(float x, float y, int32_t colour) {
  DisplayRecord* display = currentDisplay();
  if (display == nullptr) {
    return;
  }
  const uint8_t value = colourByte(colour);
  int32_t column = 0;
  int32_t row = 0;
  if (!convertCoordinate(x, column) || !convertCoordinate(y, row)) {
    return;
  }
  const DrawingContext& context = drawingContext();
  const ClipBounds clip = clipBounds(context);
  const int64_t pageX = int64_t{column} + clip.left;
  const int64_t pageY = int64_t{row} + clip.top;
  if (pageX < clip.left || pageY < clip.top || pageX >= clip.right || pageY >= clip.bottom) {
    return;
  }
  DisplayLock lock;
  auto& page = display->pages[static_cast<std::size_t>(context.workPage)];
  page[pixelOffset(*display, pageX, pageY)] = value;
  if (context.workPage == display->visiblePage) {
    display->changedRows[static_cast<std::size_t>(pageY)] = 1;
  }
}

void fillBox(float x1, float y1, float x2, float y2, int32_t colour) {
  DisplayRecord* display = currentDisplay();
  if (display == nullptr) {
    return;
  }
  const uint8_t value = colourByte(colour);
  int64_t left = 0;
  int64_t top = 0;
  int64_t right = 0;
  int64_t bottom = 0;
  if (!convertCorner(x1, left) || !convertCorner(y1, top) || !convertCorner(x2, right) ||
      !convertCorner(y2, bottom)) {
    return;
  }
  const DrawingContext& context = drawingContext();
  const ClipBounds clip = clipBounds(context);
  left += clip.left;
  right += clip.left;
  top += clip.top;
  bottom += clip.top;
  if (right < left) {
    std::swap(left, right);
  }
  if (bottom < top) {
    std::swap(top, bottom);
  }
  if (right < clip.left || bottom < clip.top || left >= clip.right || top >= clip.bottom) {
    return;
  }
  left = std::max(left, clip.left);
  top = std::max(top, clip.top);
  right = std::min(right, clip.right - 1);
  bottom = std::min(bottom, clip.bottom - 1);

  DisplayLock lock;
  auto& page = display->pages[static_cast<std::size_t>(context.workPage)];
  const auto width = static_cast<std::size_t>(right - left + 1);
  for (int64_t y = top; y <= bottom; ++y) {
    std::memset(page.data() + pixelOffset(*display, left, y), value, width);
  }
  markWorkRowsChanged(static_cast<int32_t>(top), static_cast<int32_t>(bottom));
}

int32_t copyPage(int32_t from, int32_t to) {
  DisplayRecord* display = currentDisplay();
  if (display == nullptr) {
    return 1;
  }
  const DrawingContext& context = drawingContext();
  if (from < 0) {
    from = context.workPage;
  }
  if (to < 0) {
    to = display->visiblePage;
  }
  if (from >= display->pageCount || to >= display->pageCount) {
    return 1;
  }
  if (from == to) {
    return 0;
  }
  // Onto the visible page the copy and the marking are one step for the
  // presenter, which never sees a half-copied page.
  const bool ontoVisible = to == display->visiblePage;
  OptionalDisplayLock lock(ontoVisible);
  const auto& source = display->pages[static_cast<std::size_t>(from)];
  auto& target = display->pages[static_cast<std::size_t>(to)];
  const ClipBounds clip = clipBounds(context);
  const auto rowBytes = static_cast<std::size_t>(clip.right - clip.left);
  for (int64_t y = clip.top; y < clip.bottom; ++y) {
    const std::size_t offset = pixelOffset(*display, clip.left, y);
    std::memcpy(target.data() + offset, source.data() + offset, rowBytes);
  }
  if (ontoVisible) {
    std::fill(display->changedRows.begin() + clip.top, display->changedRows.begin() + clip.bottom,
              uint8_t{1});
  }
  return 0;
}

}  // namespace quillon
