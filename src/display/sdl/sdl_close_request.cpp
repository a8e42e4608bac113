#include "display/sdl/sdl_close_request.h"

namespace quillon {

void CloseRequestFilter::altF4Pressed(uint32_t nowMs) {
  pending_ = true;
  pressedAt_ = nowMs;
}

bool CloseRequestFilter::closeRequestQueues(uint32_t nowMs, bool altF4Held) {
  // Tick counters wrap; the unsigned difference stays right across the wrap.
  const bool echo = pending_ && nowMs - pressedAt_ <= kAltF4EchoMilliseconds;
  pending_ = false;
  return !(echo || altF4Held);
}

}  // namespace quillon
