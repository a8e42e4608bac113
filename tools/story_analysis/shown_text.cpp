#include "story_analysis/shown_text.h"

#include "display/cp437.h"

namespace quillon::tool {
namespace {

constexpr unsigned char kFirstPrintable = 32;
constexpr unsigned char kDelete = 127;
constexpr unsigned char kUpperHalf = 128;

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string shownText(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= kUpperHalf) {
      appendUtf8(out, kCp437UpperHalf[byte - kUpperHalf]);
    } else if (byte < kFirstPrintable || byte == kDelete) {
      out += "{" + std::to_string(byte) + "}";
    } else {
      out += c;
    }
  }
  return out;
}

std::string quotedText(std::string_view bytes) { return "\"" + shownText(bytes) + "\""; }

}  // namespace quillon::tool
