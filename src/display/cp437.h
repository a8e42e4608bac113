#pragma once
// Unicode to code page 437.
#include <array>
#include <cstdint>

namespace quillon {

inline constexpr uint8_t kQuestionMark = 63;
// Code points of bytes 128..255; bytes 0..127 are ASCII.
extern const std::array<char32_t, 128> kCp437UpperHalf;
// The code page 437 byte of a character, or 63 when the code page lacks it.
uint8_t unicodeToCp437(char32_t character);

}  // namespace quillon
