// The text console under arbitrary calls: locate, printText, setTextColors,
// clearScreen and setPages with any arguments, in any order.
//
// Input layout: a sequence of commands, each an operation byte followed by
// its arguments. An integer argument is one byte: values -64..63 stand for
// themselves (the grid's edges are there), other byte values take the next
// four bytes as any 32-bit value. A text is a length byte and that many bytes.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "display/framebuffer.h"
#include "display/text_console.h"
#include "fuzz_support.h"

namespace {

using namespace quillon;

constexpr int32_t kWork = 1;
constexpr int32_t kVisible = 0;

class Input {
 public:
  Input(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return position_ >= size_; }
  uint8_t byte() { return position_ < size_ ? data_[position_++] : 0; }
  int32_t integer() {
    const auto small = static_cast<int8_t>(byte());
    if (small >= -64 && small < 64) return small;
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= uint32_t{byte()} << (8 * i);
    return static_cast<int32_t>(bits);
  }
  std::string_view text() {
    const std::size_t length = std::min<std::size_t>(byte(), size_ - position_);
    const std::string_view bytes(reinterpret_cast<const char*>(data_ + position_), length);
    position_ += length;
    return bytes;
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// Pages that text may have been drawn on since the last reset.
std::array<bool, kStoryPageCount> gDrawnOn{};

void resetDisplay() {
  for (int32_t page = 0; page < kStoryPageCount; ++page) {
    if (gDrawnOn[static_cast<std::size_t>(page)]) {
      auto& bytes = fuzz::pageBytes(page);
      std::fill(bytes.begin(), bytes.end(), uint8_t{0});
    }
  }
  gDrawnOn.fill(false);
  setPages(kWork, kVisible);
  setTextColors(15, 0);
  clearScreen();
}

void expectCursorOnGrid() {
  const ConsoleState& console = consoleState();
  fuzz::expect(console.row >= 0 && console.row < console.rows, "the cursor row left the grid");
  fuzz::expect(console.column >= 0 && console.column < console.columns,
               "the cursor column left the grid");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::openHeadlessDisplay();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  resetDisplay();
  Input input(data, size);
  while (!input.empty()) {
    switch (input.byte() % 5) {
      case 0: {
        const int32_t row = input.integer();
        locate(row, input.integer());
        break;
      }
      case 1: {
        const int32_t foreground = input.integer();
        setTextColors(foreground, input.integer());
        break;
      }
      case 2:
        gDrawnOn[static_cast<std::size_t>(drawingContext().workPage)] = true;
        printText(input.text());
        break;
      case 3:
        gDrawnOn[static_cast<std::size_t>(drawingContext().workPage)] = true;
        clearScreen();
        break;
      default: {
        const int32_t work = input.integer();
        setPages(work, input.integer());
        break;
      }
    }
    expectCursorOnGrid();
  }
  // Text is drawn on the work page only: every other page is still black.
  for (int32_t page = 0; page < kStoryPageCount; ++page) {
    if (gDrawnOn[static_cast<std::size_t>(page)]) continue;
    static const std::vector<uint8_t> kBlack(fuzz::pageBytes(page).size(), 0);
    fuzz::expect(fuzz::pageBytes(page) == kBlack, "text reached a page that was not the work page");
  }
  return 0;
}
