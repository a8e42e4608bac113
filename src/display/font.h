#pragma once
// The 8x8 code page 437 font; in a row byte bit 0 is the leftmost pixel.
#include <array>
#include <cstdint>

namespace quillon {

using Glyph = std::array<uint8_t, 8>;
using FontTable = std::array<Glyph, 256>;
extern const FontTable kFont8x8;

}  // namespace quillon
