// Rounding of drawing coordinates half away from zero.
#include "display/coordinate_conversion.h"

#include <algorithm>
#include <cmath>

#include "display/framebuffer.h"

namespace quillon {

namespace {

constexpr double kInt32Lowest = -2147483648.0;
constexpr double kInt32Highest = 2147483647.0;
constexpr double kCornerLimit = 2147483648.0;  // 2^31, just past every page

// A float plus or minus 0.5 is formed in double. It is exact except for
// tiny magnitudes, where the sum stays near 0.5 and truncates to 0 anyway, so
// the rounding of the sum never crosses an integer.
double roundHalfAwayFromZero(double value) {
  return value > 0.0 ? std::trunc(value + 0.5) : std::trunc(value - 0.5);
}

}  // namespace

bool convertCoordinate(float value, int32_t& out) {
  if (!std::isfinite(value)) {
    return false;
  }
  const double rounded = roundHalfAwayFromZero(static_cast<double>(value));
  if (rounded < kInt32Lowest || rounded > kInt32Highest) {
    return false;
  }
  out = static_cast<int32_t>(rounded);
  return true;
}

bool convertCorner(float value, int64_t& out) {
  if (std::isnan(value)) {
    return false;
  }
  const double clamped = std::clamp(static_cast<double>(value), -kCornerLimit, kCornerLimit);
  out = static_cast<int64_t>(roundHalfAwayFromZero(clamped));
  return true;
}

}  // namespace quillon
