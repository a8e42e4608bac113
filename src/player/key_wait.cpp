#include "player/key_wait.h"

#include "display/key_queue.h"

namespace quillon {

std::string waitForKey() {
  for (;;) {
    std::string key = pollKey();
    if (!key.empty()) return key;
    waitForKeyCode();
  }
}

}  // namespace quillon
