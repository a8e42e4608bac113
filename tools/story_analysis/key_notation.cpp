#include "story_analysis/key_notation.h"

#include <array>
#include <charconv>

#include "display/cp437.h"
#include "display/key_queue.h"

namespace quillon::tool {
namespace {

constexpr int32_t kLastByte = 255;
constexpr int32_t kFirstExtended = 1;
constexpr int32_t kRepeatLimit = 10000;
constexpr char kOpen = '{';
constexpr char kClose = '}';
constexpr char kRepeat = '*';
constexpr std::string_view kExtendedPrefix = "ext ";

struct NamedKey {
  std::string_view name;
  int32_t code;
};

// The first name of a code is the one reports use.
constexpr std::array kNamedKeys = {
    NamedKey{"Esc", 27},
    NamedKey{"Escape", 27},
    NamedKey{"Tab", 9},
    NamedKey{"Backspace", 8},
    NamedKey{"BS", 8},
    NamedKey{"Enter", 13},
    NamedKey{"Return", 13},
    NamedKey{"Space", 32},
    NamedKey{"Up", extendedKeyCode(72)},
    NamedKey{"Down", extendedKeyCode(80)},
    NamedKey{"Left", extendedKeyCode(75)},
    NamedKey{"Right", extendedKeyCode(77)},
    NamedKey{"Home", extendedKeyCode(71)},
    NamedKey{"End", extendedKeyCode(79)},
    NamedKey{"PgUp", extendedKeyCode(73)},
    NamedKey{"PageUp", extendedKeyCode(73)},
    NamedKey{"PgDn", extendedKeyCode(81)},
    NamedKey{"PageDown", extendedKeyCode(81)},
    NamedKey{"Ins", extendedKeyCode(82)},
    NamedKey{"Insert", extendedKeyCode(82)},
    NamedKey{"Del", extendedKeyCode(83)},
    NamedKey{"Delete", extendedKeyCode(83)},
    NamedKey{"F1", extendedKeyCode(59)},
    NamedKey{"F2", extendedKeyCode(60)},
    NamedKey{"F3", extendedKeyCode(61)},
    NamedKey{"F4", extendedKeyCode(62)},
    NamedKey{"F5", extendedKeyCode(63)},
    NamedKey{"F6", extendedKeyCode(64)},
    NamedKey{"F7", extendedKeyCode(65)},
    NamedKey{"F8", extendedKeyCode(66)},
    NamedKey{"F9", extendedKeyCode(67)},
    NamedKey{"F10", extendedKeyCode(68)},
    NamedKey{"F11", extendedKeyCode(133)},
    NamedKey{"F12", extendedKeyCode(134)},
    NamedKey{"Close", kCloseKeyCode},
};

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// A whole decimal number within `low`..`high`.
std::optional<int32_t> decimal(std::string_view text, int32_t low, int32_t high) {
  if (text.empty()) return std::nullopt;
  int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

std::optional<int32_t> namedKey(std::string_view name) {
  for (const NamedKey& key : kNamedKeys) {
    if (equalIgnoringCase(key.name, name)) return key.code;
  }
  if (auto code = decimal(name, 0, kLastByte)) return code;
  if (name.size() > kExtendedPrefix.size() &&
      equalIgnoringCase(name.substr(0, kExtendedPrefix.size()), kExtendedPrefix)) {
    if (auto extended =
            decimal(trim(name.substr(kExtendedPrefix.size())), kFirstExtended, kLastByte)) {
      return extendedKeyCode(*extended);
    }
  }
  return std::nullopt;
}

// Decodes one UTF-8 character at `text[i]`; a byte that starts no valid
// sequence stands for itself.
std::pair<int32_t, std::size_t> decodeCharacter(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07u;
  }
  if (length == 0 || i + length > text.size()) return {lead, 1};
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0u) != 0x80u) return {lead, 1};
    value = (value << 6) | (next & 0x3Fu);
  }
  return {static_cast<int32_t>(unicodeToCp437(value)), length};
}

}  // namespace

bool parseKeyNotation(std::string_view text, std::vector<int32_t>& codes, std::string& error) {
  codes.clear();
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != kOpen) {
      const auto lead = static_cast<unsigned char>(c);
      if (lead < 0x80) {
        codes.push_back(lead);
        ++i;
        continue;
      }
      const auto [code, length] = decodeCharacter(text, i);
      if (length > 1 && code == kQuestionMark) {
        error = "the character \"" + std::string(text.substr(i, length)) +
                "\" has no code page 437 byte; write it as {N}";
        return false;
      }
      codes.push_back(code);
      i += length;
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == kOpen) {
      codes.push_back(kOpen);
      i += 2;
      continue;
    }
    const std::size_t close = text.find(kClose, i + 1);
    if (close == std::string_view::npos) {
      error = "unclosed { at character " + std::to_string(i + 1) + " (write {{ for a {)";
      return false;
    }
    std::string_view item = trim(text.substr(i + 1, close - i - 1));
    int32_t repeat = 1;
    if (const std::size_t star = item.rfind(kRepeat); star != std::string_view::npos) {
      const auto count = decimal(trim(item.substr(star + 1)), 1, kRepeatLimit);
      if (!count) {
        error = "bad repeat count in {" + std::string(item) + "} (1 to " +
                std::to_string(kRepeatLimit) + ")";
        return false;
      }
      repeat = *count;
      item = trim(item.substr(0, star));
    }
    const auto code = namedKey(item);
    if (!code) {
      error = "unknown key {" + std::string(item) + "}";
      return false;
    }
    codes.insert(codes.end(), static_cast<std::size_t>(repeat), *code);
    i = close + 1;
  }
  return true;
}

std::string keyNotation(int32_t code) {
  for (const NamedKey& key : kNamedKeys) {
    if (key.code == code) return "{" + std::string(key.name) + "}";
  }
  if (code > ' ' && code < 0x7F) {
    return code == kOpen ? std::string("{{") : std::string(1, static_cast<char>(code));
  }
  if (code >= 0 && code <= kLastByte) return "{" + std::to_string(code) + "}";
  const int32_t extended = (code - kExtendedKeyPrefix) / 256;
  if (code > kLastByte && extendedKeyCode(extended) == code) {
    return "{Ext " + std::to_string(extended) + "}";
  }
  // Only the low byte of other codes counts.
  return "{" + std::to_string(code & kLastByte) + "}";
}

std::string keyNotation(const std::vector<int32_t>& codes) {
  std::string text;
  for (const int32_t code : codes) text += keyNotation(code);
  return text;
}

std::optional<int32_t> keyCodeOfKeyString(std::string_view key) {
  if (key.size() == 1) {
    const auto byte = static_cast<unsigned char>(key[0]);
    // Code 0 queues nothing a choice could match.
    if (byte == 0) return std::nullopt;
    return byte;
  }
  if (key.size() == 2 && static_cast<unsigned char>(key[0]) == kExtendedKeyPrefix &&
      key[1] != '\0') {
    return extendedKeyCode(static_cast<unsigned char>(key[1]));
  }
  return std::nullopt;
}

std::string describeKeyString(std::string_view key) {
  if (const auto code = keyCodeOfKeyString(key)) return keyNotation(*code);
  return "\"" + std::string(key) + "\"";
}

}  // namespace quillon::tool
