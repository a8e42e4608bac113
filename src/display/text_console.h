#pragma once
// A 40 x 25 text console drawn into the work page in the 8x8 font.
#include <cstdint>
#include <string_view>

namespace quillon {

struct ConsoleState {
  int32_t columns = 40;
  int32_t rows = 25;
  int32_t column = 0;  // zero-based cursor
  int32_t row = 0;     // zero-based cursor
  bool pendingScroll = false;
};

void setTextColors(int32_t foreground, int32_t background);
void clearScreen();
void locate(int32_t row, int32_t column);
void printText(std::string_view text);

// Set up by openScreen/resetScreen: grid size, cursor home, no pending scroll.
void resetConsole(int32_t columns, int32_t rows);
const ConsoleState& consoleState();

}  // namespace quillon
