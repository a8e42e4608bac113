#include "display/text_console.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "display/font.h"
#include "display/framebuffer.h"
#include "display/front_end.h"

namespace quillon {
namespace {

constexpr int32_t kCellSize = 8;
constexpr std::size_t kMaxRunLength = 1024;
constexpr int32_t kTabStop = 8;
constexpr uint8_t kBell = 7;
constexpr uint8_t kBackspace = 8;
constexpr uint8_t kTab = 9;
constexpr uint8_t kLineFeed = 10;
constexpr uint8_t kCarriageReturn = 13;
constexpr uint8_t kBlank = 32;
// Printed on its own, this byte underlines its cell instead of blanking it.
constexpr uint8_t kUnderlineByte = 255;

ConsoleState gConsole;

uint8_t lowByte(int32_t value) {
  return static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFFu);
}

// The work page of the current display and the part of it the text grid
// covers; empty when there is nothing safe to draw into.
struct WorkSurface {
  uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;
  int32_t gridColumns = 0;  // cells that lie wholly inside the page
  int32_t gridRows = 0;
  bool valid() const { return pixels != nullptr; }
};

WorkSurface workSurface() {
  WorkSurface surface;
  DisplayRecord* display = currentDisplay();
  if (display == nullptr || display->width <= 0 || display->height <= 0 ||
      display->pitch < display->width) {
    return surface;
  }
  const int32_t work = drawingContext().workPage;
  if (work < 0 || static_cast<std::size_t>(work) >= display->pages.size()) return surface;
  std::vector<uint8_t>& page = display->pages[static_cast<std::size_t>(work)];
  const std::size_t needed =
      static_cast<std::size_t>(display->pitch) * static_cast<std::size_t>(display->height);
  if (page.size() < needed) return surface;
  surface.pixels = page.data();
  surface.width = display->width;
  surface.height = display->height;
  surface.pitch = display->pitch;
  surface.gridColumns = std::min(gConsole.columns, display->width / kCellSize);
  surface.gridRows = std::min(gConsole.rows, display->height / kCellSize);
  return surface;
}

uint8_t* pixelRow(const WorkSurface& surface, int32_t y) {
  return surface.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(surface.pitch);
}

void fillRows(const WorkSurface& surface, int32_t firstY, int32_t lastY, uint8_t colour) {
  for (int32_t y = firstY; y <= lastY; ++y) {
    std::memset(pixelRow(surface, y), colour, static_cast<std::size_t>(surface.width));
  }
}

// Draws one cell; cells outside the page are dropped.
void drawCell(const WorkSurface& surface, int32_t row, int32_t column, uint8_t byte,
              bool underlineOnly) {
  if (row < 0 || column < 0 || row >= surface.gridRows || column >= surface.gridColumns) return;
  const DrawingContext& context = drawingContext();
  const int32_t left = column * kCellSize;
  const int32_t top = row * kCellSize;
  if (underlineOnly) {
    std::memset(pixelRow(surface, top + kCellSize - 1) + left, context.foreground,
                static_cast<std::size_t>(kCellSize));
    return;
  }
  const Glyph& glyph = kFont8x8[byte];
  for (int32_t glyphRow = 0; glyphRow < kCellSize; ++glyphRow) {
    uint8_t* out = pixelRow(surface, top + glyphRow) + left;
    const uint32_t bits = glyph[static_cast<std::size_t>(glyphRow)];
    for (int32_t bit = 0; bit < kCellSize; ++bit) {
      out[bit] = ((bits >> bit) & 1u) != 0 ? context.foreground : context.background;
    }
  }
}

// One printText call: the cursor may stand below the bottom row until the
// grid scrolls, so its row is kept wide enough for any text length.
class Printer {
 public:
  explicit Printer(const WorkSurface& surface)
      : surface_(surface),
        column_(std::clamp(gConsole.column, 0, gConsole.columns - 1)),
        row_(std::clamp(gConsole.row, 0, gConsole.rows - 1)) {}

  void consumePendingScroll() {
    if (!gConsole.pendingScroll) return;
    gConsole.pendingScroll = false;
    column_ = 0;
    row_ = gConsole.rows;
    scrollIfBelowGrid();
  }

  void print(const uint8_t* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
      const uint8_t byte = text[i];
      switch (byte) {
        case kBell:
          if (FrontEnd* frontEnd = currentFrontEnd()) frontEnd->beep();
          break;
        case kBackspace:
          flushRun();
          filledBottomRight_ = false;
          if (column_ > 0) --column_;
          break;
        case kLineFeed:
          flushRun();
          filledBottomRight_ = false;
          column_ = 0;
          ++row_;
          break;
        case kCarriageReturn:
          flushRun();
          filledBottomRight_ = false;
          column_ = 0;
          break;
        case kTab:
          appendTab();
          break;
        default:
          if (runLength_ + 1 > kMaxRunLength) flushRun();
          run_[runLength_++] = byte;
          break;
      }
    }
    flushRun();
  }

  void finish() {
    if (filledBottomRight_) {
      // Keep the filled last cell on screen until more text actually comes.
      row_ = gConsole.rows - 1;
      column_ = gConsole.columns - 1;
      gConsole.pendingScroll = true;
    } else {
      scrollIfBelowGrid();
    }
    gConsole.column = column_;
    gConsole.row = static_cast<int32_t>(row_);
    if (scrolled_) {
      markWorkRowsChanged(0, surface_.height - 1);
    } else if (drewRows_ && firstDrawnRow_ < surface_.gridRows) {
      const int32_t lastRow = std::min(lastDrawnRow_, surface_.gridRows - 1);
      markWorkRowsChanged(firstDrawnRow_ * kCellSize, lastRow * kCellSize + kCellSize - 1);
    }
  }

 private:
  void appendTab() {
    // The column the cursor will have once the run so far is drawn.
    const auto pendingColumn =
        static_cast<int32_t>((static_cast<std::size_t>(column_) + runLength_) %
                             static_cast<std::size_t>(gConsole.columns));
    const auto blanks = static_cast<std::size_t>(kTabStop - pendingColumn % kTabStop);
    if (runLength_ + blanks > kMaxRunLength) flushRun();
    for (std::size_t k = 0; k < blanks; ++k) run_[runLength_++] = kBlank;
  }

  void flushRun() {
    std::size_t position = 0;
    while (position < runLength_) {
      scrollIfBelowGrid();
      const std::size_t room = static_cast<std::size_t>(gConsole.columns - column_);
      const std::size_t pieceLength = std::min(runLength_ - position, room);
      const auto row = static_cast<int32_t>(row_);
      const bool underline = pieceLength == 1 && run_[position] == kUnderlineByte;
      for (std::size_t k = 0; k < pieceLength; ++k) {
        drawCell(surface_, row, column_ + static_cast<int32_t>(k), run_[position + k], underline);
      }
      noteDrawnRow(row);
      position += pieceLength;
      column_ += static_cast<int32_t>(pieceLength);
      filledBottomRight_ = false;
      if (column_ >= gConsole.columns) {
        filledBottomRight_ = row == gConsole.rows - 1;
        column_ = 0;
        ++row_;
      }
    }
    runLength_ = 0;
  }

  void noteDrawnRow(int32_t row) {
    if (!drewRows_) {
      firstDrawnRow_ = row;
      lastDrawnRow_ = row;
      drewRows_ = true;
      return;
    }
    firstDrawnRow_ = std::min(firstDrawnRow_, row);
    lastDrawnRow_ = std::max(lastDrawnRow_, row);
  }

  void scrollIfBelowGrid() {
    if (row_ < gConsole.rows) return;
    scrollUp(row_ - gConsole.rows + 1);
    row_ = gConsole.rows - 1;
  }

  void scrollUp(int64_t rows) {
    scrolled_ = true;
    if (!surface_.valid()) return;
    const uint8_t background = drawingContext().background;
    const int32_t gridHeight = surface_.gridRows * kCellSize;
    if (rows >= surface_.gridRows) {
      fillRows(surface_, 0, gridHeight - 1, background);
      return;
    }
    const int32_t shift = static_cast<int32_t>(rows) * kCellSize;
    for (int32_t y = 0; y + shift < gridHeight; ++y) {
      std::memcpy(pixelRow(surface_, y), pixelRow(surface_, y + shift),
                  static_cast<std::size_t>(surface_.width));
    }
    fillRows(surface_, gridHeight - shift, gridHeight - 1, background);
  }

  const WorkSurface& surface_;
  std::array<uint8_t, kMaxRunLength> run_{};
  std::size_t runLength_ = 0;
  int32_t column_ = 0;
  int64_t row_ = 0;
  bool filledBottomRight_ = false;
  bool scrolled_ = false;
  bool drewRows_ = false;
  int32_t firstDrawnRow_ = 0;
  int32_t lastDrawnRow_ = 0;
};

}  // namespace

void setTextColors(int32_t foreground, int32_t background) {
  DrawingContext& context = drawingContext();
  context.foreground = lowByte(foreground);
  context.background = lowByte(background);
}

void clearScreen() {
  DisplayLock lock;
  const WorkSurface surface = workSurface();
  if (surface.valid()) {
    fillRows(surface, 0, surface.height - 1, drawingContext().background);
    markWorkRowsChanged(0, surface.height - 1);
  }
  gConsole.column = 0;
  gConsole.row = 0;
  gConsole.pendingScroll = false;
}

void locate(int32_t row, int32_t column) {
  gConsole.pendingScroll = false;
  const bool rowOk = row == 0 || (row >= 1 && row <= gConsole.rows);
  const bool columnOk = column == 0 || (column >= 1 && column <= gConsole.columns);
  if (!rowOk || !columnOk) return;
  if (row != 0) gConsole.row = row - 1;
  if (column != 0) gConsole.column = column - 1;
}

void printText(std::string_view text) {
  if (text.empty()) return;
  DisplayLock lock;
  // Without a grid there is no cell to put a character in.
  if (gConsole.columns <= 0 || gConsole.rows <= 0) return;
  const WorkSurface surface = workSurface();
  if (!surface.valid()) return;
  Printer printer(surface);
  printer.consumePendingScroll();
  printer.print(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  printer.finish();
}

void resetConsole(int32_t columns, int32_t rows) {
  gConsole = ConsoleState{};
  gConsole.columns = std::max(columns, 0);
  gConsole.rows = std::max(rows, 0);
}

const ConsoleState& consoleState() { return gConsole; }

}  // namespace quillon
