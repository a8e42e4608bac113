#pragma once
// Tells a close request from the close button apart from one a window
// manager makes of Alt+F4, which must change nothing.
#include <cstdint>

namespace quillon {

// How long after an Alt+F4 key-down a close request is taken as its echo.
inline constexpr uint32_t kAltF4EchoMilliseconds = 500;

class CloseRequestFilter {
 public:
  // An Alt+F4 key-down at `nowMs` (SDL ticks).
  void altF4Pressed(uint32_t nowMs);
  // A close request at `nowMs`; `altF4Held` when Alt and F4 are down right
  // now. True when the request is the user's and queues the close key.
  bool closeRequestQueues(uint32_t nowMs, bool altF4Held);

 private:
  bool pending_ = false;
  uint32_t pressedAt_ = 0;
};

}  // namespace quillon
