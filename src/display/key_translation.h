#pragma once
// Translation of a key-down to a key code, from its PC set 1 scan code.
#include <cstdint>

namespace quillon {

struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// Result of the translation: 0 for no code; 1..255 a character code;
// above 255 an extended key code (255 + 256 * code). Only extended codes
// are queued on key-down; characters come from character events.
int32_t translateKeyDown(int32_t scanCode, bool extended, KeyModifiers modifiers, uint32_t produced,
                         uint32_t base);

}  // namespace quillon
