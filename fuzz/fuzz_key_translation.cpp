// Key-down translation with any scan code, modifiers and characters, and the
// key string each result becomes.
//
// Input layout: bytes 0..3 scan code, byte 4 flags (extended, Shift, Ctrl,
// Alt), bytes 5..8 the produced character, bytes 9..12 the base character.
#include <cstdint>
#include <string>

#include "display/key_queue.h"
#include "display/key_translation.h"
#include "fuzz_support.h"

namespace {

using namespace quillon;

constexpr std::size_t kInputBytes = 13;

uint32_t uint32At(const uint8_t* bytes) {
  uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) bits |= uint32_t{bytes[i]} << (8 * i);
  return bits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < kInputBytes) return 0;
  // Small scan codes are the interesting ones; the fuzzer finds both kinds.
  const auto scanCode = static_cast<int32_t>(uint32At(data));
  const uint8_t flags = data[4];
  const KeyModifiers modifiers{(flags & 2) != 0, (flags & 4) != 0, (flags & 8) != 0};
  const uint32_t produced = uint32At(data + 5);
  const uint32_t base = uint32At(data + 9);

  const int32_t code = translateKeyDown(scanCode, (flags & 1) != 0, modifiers, produced, base);
  // No code, a character, or 255 with an extended code 1..255 above it.
  const bool character = code >= 0 && code <= 255;
  const bool extended =
      code > 255 && (code & 0xFF) == 0xFF && (code >> 8) >= 1 && (code >> 8) <= 255;
  fuzz::expect(character || extended, "a key code outside the key code forms");
  // Outside the extended cluster's own table a character result is the
  // produced character itself.
  if (character && !((flags & 1) != 0 && produced == 0) && produced <= 255) {
    fuzz::expect(code == 0 || code == static_cast<int32_t>(produced),
                 "a character result that is not the produced character");
  }

  const std::string key = keyStringFromCode(code);
  if (code == 0) {
    fuzz::expect(key.empty(), "no code gives a key");
  } else if (character) {
    fuzz::expect(key.size() == 1 && static_cast<unsigned char>(key[0]) == code,
                 "a character's key string");
  } else {
    fuzz::expect(key.size() == 2 && static_cast<unsigned char>(key[0]) == 255 &&
                     static_cast<unsigned char>(key[1]) == (code >> 8),
                 "an extended key string");
  }
  // Any 32-bit code makes a key string of at most two bytes.
  fuzz::expect(keyStringFromCode(static_cast<int32_t>(uint32At(data + 5))).size() <= 2,
               "a key string longer than two bytes");
  return 0;
}
