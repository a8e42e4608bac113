#pragma once
// Indexed framebuffer: video pages of 8-bit colour indices, one palette,
// a work page for drawing and a visible page the front end shows.
#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

namespace quillon {

inline constexpr int32_t kScreenWidth = 320;
inline constexpr int32_t kScreenHeight = 200;
inline constexpr int32_t kStoryDepth = 8;
inline constexpr int32_t kStoryPageCount = 16;
inline constexpr int32_t kResetDepth = 4;
inline constexpr int32_t kResetPageCount = 8;

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};
using Palette = std::array<Rgb, 256>;

struct DisplayRecord {
  int32_t width = 0;
  int32_t height = 0;
  int32_t depth = 0;
  int32_t bytesPerPixel = 1;
  int32_t pitch = 0;
  int32_t pageCount = 0;
  std::vector<std::vector<uint8_t>> pages;
  int32_t visiblePage = 0;
  Palette palette{};
  std::vector<uint8_t> changedRows;  // one flag per row of the visible page
  int32_t textColumns = 0;
  int32_t textRows = 0;
};

struct DrawingContext {
  int32_t workPage = 0;
  int32_t clipLeft = 0;
  int32_t clipTop = 0;
  int32_t clipWidth = 0;
  int32_t clipHeight = 0;
  uint8_t foreground = 15;
  uint8_t background = 0;
};

int32_t openScreen(int32_t width, int32_t height, int32_t depth, int32_t pageCount);
int32_t setPages(int32_t work, int32_t visible);
int32_t copyPage(int32_t from, int32_t to);
void setPixel(float x, float y, int32_t colour);
void fillBox(float x1, float y1, float x2, float y2, int32_t colour);
int32_t resetScreen();
// The end-of-program close: closeWindow, then release the pages.
void closeDisplay();

// Rounds half away from zero; returns false for values that cannot lie on
// any page (NaN, infinities, magnitudes beyond the int32 range).
bool convertCoordinate(float value, int32_t& out);

// The display lock. lockDisplay/unlockDisplay nest on the calling thread;
// the presenter takes displayMutex() directly for a whole pass.
void lockDisplay();
void unlockDisplay();
std::mutex& displayMutex();

// Holds the display lock for a scope on the calling thread.
class DisplayLock {
 public:
  DisplayLock() { lockDisplay(); }
  ~DisplayLock() { unlockDisplay(); }
  DisplayLock(const DisplayLock&) = delete;
  DisplayLock& operator=(const DisplayLock&) = delete;
};

// Current display, or nullptr when none is open. Read the visible page,
// palette and changed-row flags only under the display lock.
DisplayRecord* currentDisplay();
DrawingContext& drawingContext();
// Marks rows y1..y2 changed when the work page is the visible page; caller
// holds the display lock.
void markWorkRowsChanged(int32_t y1, int32_t y2);

}  // namespace quillon
