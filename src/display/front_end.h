#pragma once
// The window behind one small interface; openScreen and resetScreen use it.
#include <cstdint>
#include <string>

namespace quillon {

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;
  // Opens the window and starts its presenter; 0 on success.
  virtual int32_t openWindow(const std::string& title, int32_t width, int32_t height, int32_t depth,
                             bool fullScreen) = 0;
  virtual void closeWindow() = 0;
  // Sounds the 1000 Hz, 250 ms bell without blocking the caller.
  virtual void beep() = 0;
  // Async-signal-safe part of closing, for the fatal-signal path (restoring
  // what the process exit would not restore by itself).
  virtual void closeFromSignal() {}
};

// The front end the display opens; nullptr means no window can be opened.
void setFrontEnd(FrontEnd* frontEnd);
FrontEnd* currentFrontEnd();

}  // namespace quillon
