#pragma once
// The presenter thread's loop: a presentation pass about every 10 ms, or
// sooner when window events arrive, and the handling of those events.
#include <atomic>

#include "display/sdl/sdl_window.h"

namespace quillon {

inline constexpr int kPresentationIntervalMs = 10;

// Runs on the thread that opened `window` until `running` is cleared.
void runPresenterLoop(SdlWindow& window, const std::atomic<bool>& running);

}  // namespace quillon
