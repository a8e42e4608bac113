#pragma once
// Error numbers the player raises; rows of the runtime error table.
#include <cstdint>

namespace quillon {

inline constexpr int32_t kNoError = 0;
inline constexpr int32_t kIllegalFunctionCall = 1;
inline constexpr int32_t kFileNotFound = 2;
inline constexpr int32_t kOutOfMemory = 4;
inline constexpr int32_t kOutOfBounds = 6;

// The numbers that fatal signals and processor faults end the program with.
inline constexpr int32_t kInterruptedSignal = 9;
inline constexpr int32_t kIllegalInstructionSignal = 10;
inline constexpr int32_t kFloatingPointErrorSignal = 11;
inline constexpr int32_t kSegmentationViolationSignal = 12;
inline constexpr int32_t kTerminationRequestSignal = 13;
inline constexpr int32_t kAbnormalTerminationSignal = 14;

// Rows 0 to kErrorTableRows - 1 of the error table have a text.
inline constexpr int32_t kErrorTableRows = 18;

}  // namespace quillon
