#pragma once
// The default 256-colour palette and the 16-colour palette of the reset display.
#include "display/framebuffer.h"

namespace quillon {

// Widens a 6-bit level to 8 bits: floor(v * 255 / 63).
uint8_t widenLevel(uint8_t level6);
const Palette& defaultPalette();
const Palette& sixteenColourPalette();

}  // namespace quillon
