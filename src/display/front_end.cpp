// The front end the display opens its window through.
#include "display/front_end.h"

#include <atomic>

namespace quillon {

namespace {

// Atomic because the fatal-signal path reads it from any thread.
std::atomic<FrontEnd*> gFrontEnd{nullptr};

}  // namespace

void setFrontEnd(FrontEnd* frontEnd) { gFrontEnd.store(frontEnd); }

FrontEnd* currentFrontEnd() { return gFrontEnd.load(); }

}  // namespace quillon
