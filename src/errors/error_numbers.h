#pragma once
// Error numbers the player raises; rows of the runtime error table.
#include <cstdint>

namespace quillon {

inline constexpr int32_t kNoError = 0;
inline constexpr int32_t kIllegalFunctionCall = 1;
inline constexpr int32_t kFileNotFound = 2;
inline constexpr int32_t kOutOfMemory = 4;
inline constexpr int32_t kOutOfBounds = 6;

} // namespace quillon
