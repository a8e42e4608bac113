#include "display/cp437.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace quillon {
namespace {

TEST(Cp437, AsciiMapsToItself) {
  for (char32_t character = 0; character < 128; ++character) {
    EXPECT_EQ(unicodeToCp437(character), character) << "U+" << static_cast<uint32_t>(character);
  }
}

// Known points of the upper half, independent of the generated table.
TEST(Cp437, UpperHalfCharactersGiveTheirBytes) {
  struct Case {
    char32_t character;
    uint8_t byte;
  };
  const Case cases[] = {
      {U'\u00C7', 128},  // C cedilla, the first byte of the upper half
      {U'\u00E9', 130},  // e acute
      {U'\u00C4', 142}, {U'\u00A3', 156}, {U'\u2592', 177}, {U'\u2502', 179},
      {U'\u2588', 219}, {U'\u03B1', 224}, {U'\u00DF', 225}, {U'\u03C0', 227},
      {U'\u00B0', 248}, {U'\u25A0', 254}, {U'\u00A0', 255},  // no-break space, the last byte
  };
  for (const Case& entry : cases) {
    EXPECT_EQ(unicodeToCp437(entry.character), entry.byte)
        << "U+" << std::hex << static_cast<uint32_t>(entry.character);
  }
}

TEST(Cp437, CharactersTheCodePageLacksBecomeAQuestionMark) {
  for (char32_t character : {char32_t{0x80}, U'\u00C0', U'\u00FE', U'\u20AC', U'\u0430', U'\uFFFD',
                             U'\U0001F600', char32_t{0x10FFFF}, char32_t{0xFFFFFFFF}}) {
    EXPECT_EQ(unicodeToCp437(character), kQuestionMark)
        << "U+" << std::hex << static_cast<uint32_t>(character);
  }
}

TEST(Cp437, EveryUpperHalfByteRoundTripsThroughItsCodePoint) {
  for (uint32_t byte = 128; byte < 256; ++byte) {
    const char32_t character = kCp437UpperHalf[byte - 128];
    EXPECT_GE(character, char32_t{128}) << byte;
    EXPECT_EQ(unicodeToCp437(character), byte) << byte;
  }
}

}  // namespace
}  // namespace quillon
