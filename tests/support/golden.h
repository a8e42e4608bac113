#pragma once
// Compares a rendered screen with a reference PNG under tests/golden/.
#include <gtest/gtest.h>

#include <string>

#include "display/png_image.h"

namespace quillon {

// Succeeds when `actual` equals tests/golden/<goldenName> pixel for pixel.
// On a mismatch the message names the differing pixels and their text cells,
// and the actual image is written to <goldenName>.actual.png in the current
// directory. With QUILLON_UPDATE_GOLDEN=1 the golden file is (re)written
// instead. Found by argument-dependent lookup from any namespace.
::testing::AssertionResult matchesGolden(const RgbImage& actual, const std::string& goldenName);

}  // namespace quillon
