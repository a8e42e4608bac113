#include "display/cp437.h"

#include <cstddef>

namespace quillon {

namespace {
inline constexpr char32_t kLastAscii = 127;
inline constexpr std::size_t kUpperHalfStart = 128;
}  // namespace

uint8_t unicodeToCp437(char32_t character) {
  if (character <= kLastAscii) return static_cast<uint8_t>(character);
  // One key press at a time comes through here: a scan of 128 entries is cheap.
  for (std::size_t index = 0; index < kCp437UpperHalf.size(); ++index) {
    if (kCp437UpperHalf[index] == character) {
      return static_cast<uint8_t>(kUpperHalfStart + index);
    }
  }
  return kQuestionMark;
}

}  // namespace quillon
