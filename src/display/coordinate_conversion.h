#pragma once
// Conversion of drawing coordinates to whole pixels; convertCoordinate itself
// is declared with the drawing operations.
#include <cstdint>

namespace quillon {

// A box corner: rounds like convertCoordinate but clamps infinite and huge
// values to +-2^31 first, so a box reaching far off the page still covers the
// part that lies on it. Returns false only for NaN.
bool convertCorner(float value, int64_t& out);

}  // namespace quillon
