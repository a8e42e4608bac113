// The display record and drawing context, opening and closing the display,
// and the choice of work and visible page.
#include "display/framebuffer.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>

#include "display/front_end.h"
#include "display/palette.h"
#include "display/presenter.h"
#include "display/text_console.h"
#include "display/window_title.h"
#include "errors/error_numbers.h"
#include "errors/runtime_error.h"

namespace quillon {

namespace {

constexpr int32_t kFontCellSize = 8;
constexpr int32_t kMaxOneBytePixelDepth = 8;
constexpr int32_t kValidDepths[] = {1, 2, 4, 8, 15, 16, 24, 32};
constexpr uint32_t kVisiblePageFactor = 256;
constexpr uint8_t kDefaultForeground = 15;
constexpr uint8_t kDefaultBackground = 0;
// Far beyond the program's 16 pages of 64,000 bytes; refusing larger requests
// keeps a wild argument from exhausting memory.
constexpr uint64_t kMaxDisplayBytes = uint64_t{256} * 1024 * 1024;

// Swapped under the display lock, since the presenter reads it.
std::unique_ptr<DisplayRecord> gDisplay;
DrawingContext gContext;
// The front end whose window belongs to the open display.
FrontEnd* gWindowFrontEnd = nullptr;
std::string gWindowTitle;
bool gTitleChosen = false;
bool gCloserRegistered = false;

bool isValidDepth(int32_t depth) {
  return std::find(std::begin(kValidDepths), std::end(kValidDepths), depth) !=
         std::end(kValidDepths);
}

void closeDisplayForEnding(bool inSignalHandler) {
  if (!inSignalHandler) {
    closeDisplay();
    return;
  }
  if (FrontEnd* frontEnd = currentFrontEnd()) {
    frontEnd->closeFromSignal();
  }
}

void registerDisplayCloserOnce() {
  if (!gCloserRegistered) {
    registerCloser(CloserStage::Display, closeDisplayForEnding);
    gCloserRegistered = true;
  }
}

std::string chooseWindowTitle() {
  const std::string path = executablePath();
  return path.empty() ? std::string(kModuleName) : windowTitleFromPath(path);
}

// Every page starts with all bytes 0, so all pages are black.
std::unique_ptr<DisplayRecord> makeRecord(int32_t width, int32_t height, int32_t depth,
                                          int32_t pageCount) {
  try {
    auto record = std::make_unique<DisplayRecord>();
    record->width = width;
    record->height = height;
    record->depth = depth;
    record->bytesPerPixel = 1;
    record->pitch = width;
    record->pageCount = pageCount;
    const std::size_t pageBytes =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    record->pages.assign(static_cast<std::size_t>(pageCount), std::vector<uint8_t>(pageBytes, 0));
    record->visiblePage = 0;
    record->changedRows.assign(static_cast<std::size_t>(height), 0);
    record->textColumns = width / kFontCellSize;
    record->textRows = height / kFontCellSize;
    return record;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void markAllRowsChanged(DisplayRecord& display) {
  std::fill(display.changedRows.begin(), display.changedRows.end(), uint8_t{1});
}

bool isPage(const DisplayRecord& display, int32_t page) {
  return page >= 0 && page < display.pageCount;
}

int32_t openDisplay(int32_t width, int32_t height, int32_t depth, int32_t pageCount,
                    const Palette& palette) {
  if (width <= 0 || height <= 0 || !isValidDepth(depth)) {
    return kIllegalFunctionCall;
  }
  pageCount = std::max(pageCount, 1);
  // Pages hold one byte per pixel; deeper modes are refused rather than
  // pretended.
  if (depth > kMaxOneBytePixelDepth) {
    return kIllegalFunctionCall;
  }
  const uint64_t totalBytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) *
                              static_cast<uint64_t>(pageCount);
  if (totalBytes > kMaxDisplayBytes) {
    return kIllegalFunctionCall;
  }

  registerDisplayCloserOnce();
  closeDisplay();
  std::unique_ptr<DisplayRecord> record = makeRecord(width, height, depth, pageCount);
  if (!record) {
    return kIllegalFunctionCall;
  }
  if (!gTitleChosen) {
    gWindowTitle = chooseWindowTitle();
    gTitleChosen = true;
  }
  FrontEnd* frontEnd = currentFrontEnd();
  if (frontEnd == nullptr) {
    return kIllegalFunctionCall;
  }
  {
    DisplayLock lock;
    gDisplay = std::move(record);
  }
  if (frontEnd->openWindow(gWindowTitle, width, height, depth, false) != 0) {
    DisplayLock lock;
    gDisplay.reset();
    return kIllegalFunctionCall;
  }
  gWindowFrontEnd = frontEnd;

  {
    DisplayLock lock;
    gDisplay->palette = palette;
    for (std::size_t i = 0; i < palette.size(); ++i) {
      setWindowPalette(static_cast<int32_t>(i), palette[i].r, palette[i].g, palette[i].b);
    }
    gDisplay->visiblePage = 0;
  }
  gContext = DrawingContext{};
  gContext.workPage = 0;
  gContext.clipLeft = 0;
  gContext.clipTop = 0;
  gContext.clipWidth = width;
  gContext.clipHeight = height;
  gContext.foreground = kDefaultForeground;
  gContext.background = kDefaultBackground;
  resetConsole(width / kFontCellSize, height / kFontCellSize);
  return kNoError;
}

}  // namespace

DisplayRecord* currentDisplay() { return gDisplay.get(); }

DrawingContext& drawingContext() { return gContext; }

int32_t openScreen(int32_t width, int32_t height, int32_t depth, int32_t pageCount) {
  return openDisplay(width, height, depth, pageCount, defaultPalette());
}

int32_t resetScreen() {
  return openDisplay(kScreenWidth, kScreenHeight, kResetDepth, kResetPageCount,
                     sixteenColourPalette());
}

void closeDisplay() {
  if (!gDisplay) {
    return;
  }
  // The presenter must have stopped before the pages it reads go away.
  if (gWindowFrontEnd != nullptr) {
    gWindowFrontEnd->closeWindow();
    gWindowFrontEnd = nullptr;
  }
  std::unique_ptr<DisplayRecord> old;
  {
    DisplayLock lock;
    old = std::move(gDisplay);
  }
}

int32_t setPages(int32_t work, int32_t visible) {
  DisplayRecord* display = gDisplay.get();
  if (display == nullptr) {
    return -1;
  }
  // Wrapped so that page counts far beyond 16 can't overflow the result.
  const int32_t previous =
      static_cast<int32_t>(static_cast<uint32_t>(display->visiblePage) * kVisiblePageFactor +
                           static_cast<uint32_t>(gContext.workPage));
  if (work < 0 && visible < 0) {
    work = 0;
    visible = 0;
  }
  if (isPage(*display, work)) {
    gContext.workPage = work;
  }
  if (isPage(*display, visible) && visible != display->visiblePage) {
    DisplayLock lock;
    display->visiblePage = visible;
    markAllRowsChanged(*display);
  }
  return previous;
}

void markWorkRowsChanged(int32_t y1, int32_t y2) {
  DisplayRecord* display = gDisplay.get();
  if (display == nullptr || gContext.workPage != display->visiblePage) {
    return;
  }
  y1 = std::max(y1, 0);
  y2 = std::min(y2, display->height - 1);
  if (y1 > y2) {
    return;
  }
  std::fill(display->changedRows.begin() + y1, display->changedRows.begin() + y2 + 1, uint8_t{1});
}

}  // namespace quillon
