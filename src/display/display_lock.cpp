// The display lock: one operating-system mutex shared with the presenter,
// made re-entrant for drawing code by a per-thread nesting count.
#include <mutex>

#include "display/framebuffer.h"

namespace quillon {

namespace {

std::mutex gDisplayMutex;
// Only the thread that counts up from 0 owns the mutex; nested calls count.
thread_local int32_t tLockDepth = 0;

}  // namespace

std::mutex& displayMutex() { return gDisplayMutex; }

void lockDisplay() {
  if (tLockDepth == 0) {
    gDisplayMutex.lock();
  }
  ++tLockDepth;
}

void unlockDisplay() {
  // An unbalanced unlock must not release a mutex this thread does not hold.
  if (tLockDepth == 0) {
    return;
  }
  --tLockDepth;
  if (tLockDepth == 0) {
    gDisplayMutex.unlock();
  }
}

}  // namespace quillon
