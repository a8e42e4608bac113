// Which key codes an SDL key-down or text event queues. SDL splits a key
// press into a key-down and a text event; the key-down gives the extended key
// code, the text (or, for control keys, the character a Windows keyboard
// would produce) gives the character codes.
#include "display/sdl/sdl_keyboard.h"

#include "display/cp437.h"
#include "display/key_translation.h"

namespace quillon {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kEscape = 27;
constexpr char32_t kTab = 9;
constexpr char32_t kBackspace = 8;
constexpr char32_t kCarriageReturn = 13;
constexpr char32_t kLineFeed = 10;
constexpr char32_t kDelete = 127;
constexpr char32_t kControlA = 1;
constexpr char32_t kControlBackslash = 28;
constexpr char32_t kControlRightBracket = 29;
constexpr char32_t kControlCaret = 30;
constexpr char32_t kControlUnderscore = 31;

char32_t swapLetterCase(char32_t c) {
  if (c >= U'a' && c <= U'z') {
    return c - U'a' + U'A';
  }
  if (c >= U'A' && c <= U'Z') {
    return c - U'A' + U'a';
  }
  return c;
}

bool isEnterKey(SDL_Scancode scancode) {
  return scancode == SDL_SCANCODE_RETURN || scancode == SDL_SCANCODE_KP_ENTER ||
         scancode == SDL_SCANCODE_RETURN2;
}

uint32_t toCodePage(char32_t c) { return c == 0 ? 0u : unicodeToCp437(c); }

void appendCharacterCodes(const std::vector<char32_t>& characters, std::vector<int32_t>& codes) {
  for (char32_t c : characters) {
    const uint8_t byte = unicodeToCp437(c);
    if (c != 0 && byte != 0) {
      codes.push_back(byte);
    }
  }
}

// Reads one UTF-8 sequence at `pos`; returns U+FFFD and consumes one byte
// when the sequence is malformed, overlong, a surrogate or beyond U+10FFFF.
char32_t decodeOne(std::string_view utf8, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(utf8[pos]);
  std::size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2;
    value = lead & 0x1Fu;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    value = lead & 0x0Fu;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    value = lead & 0x07u;
    minimum = 0x10000;
  } else {
    ++pos;
    return kReplacementCharacter;
  }
  if (pos + length > utf8.size()) {
    ++pos;
    return kReplacementCharacter;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(utf8[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kReplacementCharacter;
    }
    value = (value << 6) | (next & 0x3Fu);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++pos;
    return kReplacementCharacter;
  }
  pos += length;
  return value;
}

}  // namespace

std::vector<char32_t> decodeUtf8(std::string_view utf8) {
  std::vector<char32_t> result;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    result.push_back(decodeOne(utf8, pos));
  }
  return result;
}

char32_t baseCharacter(SDL_Keycode keycode) {
  // Keycodes with the scan code mask name keys without a character; Delete's
  // keycode is 127 but the key types nothing.
  if (keycode <= 0 || (keycode & SDLK_SCANCODE_MASK) != 0 || keycode == SDLK_DELETE) {
    return 0;
  }
  return static_cast<char32_t>(keycode);
}

char32_t controlCharacter(SDL_Keycode keycode, bool shift, bool ctrl) {
  switch (keycode) {
    case SDLK_ESCAPE:
      return kEscape;
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER:
      return ctrl ? kLineFeed : kCarriageReturn;
    case SDLK_BACKSPACE:
      return ctrl ? kDelete : kBackspace;
    case SDLK_TAB:
      return ctrl ? 0 : kTab;
    default:
      break;
  }
  if (!ctrl) {
    return 0;
  }
  if (keycode >= SDLK_a && keycode <= SDLK_z) {
    return kControlA + static_cast<char32_t>(keycode - SDLK_a);
  }
  switch (keycode) {
    case SDLK_LEFTBRACKET:
      return kEscape;
    case SDLK_BACKSLASH:
      return kControlBackslash;
    case SDLK_RIGHTBRACKET:
      return kControlRightBracket;
    case SDLK_SPACE:
      return U' ';
    case SDLK_6:
      return shift ? kControlCaret : 0;
    case SDLK_MINUS:
      return shift ? kControlUnderscore : 0;
    default:
      return 0;
  }
}

KeyPressOutcome keyPressOutcome(const KeyPress& press) {
  KeyPressOutcome outcome;
  const uint16_t mod = press.modifiers;
  const bool shift = (mod & KMOD_SHIFT) != 0;
  const bool ctrl = (mod & KMOD_CTRL) != 0;
  const bool leftAlt = (mod & KMOD_LALT) != 0;
  const bool rightAlt = (mod & KMOD_RALT) != 0;
  const char32_t base = baseCharacter(press.keycode);
  const std::vector<char32_t> text = decodeUtf8(press.text);

  // SDL reports AltGr as right Alt on many X11 layouts. A right Alt press that
  // types something other than the key's own letter is taken as AltGr, which
  // a Windows keyboard delivers as Ctrl+Alt.
  const bool altGr =
      (mod & KMOD_MODE) != 0 || (rightAlt && !leftAlt && !ctrl && !text.empty() &&
                                 text.front() != base && text.front() != swapLetterCase(base));
  const bool alt = (leftAlt || rightAlt) && !altGr;

  // F10 and system keys (Alt without Ctrl) deliver nothing, not even the text
  // SDL may have produced for them.
  if (press.scancode == SDL_SCANCODE_F10) {
    return outcome;
  }
  if (alt && !ctrl) {
    if (isEnterKey(press.scancode)) {
      // A held Alt+Enter would otherwise flip the presentation at every repeat.
      outcome.request = press.repeat ? WindowRequest::None : WindowRequest::ToggleFullScreen;
    } else if (press.scancode == SDL_SCANCODE_F4) {
      outcome.request = WindowRequest::AltF4;
    }
    return outcome;
  }

  std::vector<char32_t> characters;
  if (ctrl && !alt && !altGr) {
    // Ctrl combinations type control characters or nothing, whatever text the
    // platform made of them.
    if (const char32_t c = controlCharacter(press.keycode, shift, true); c != 0) {
      characters.push_back(c);
    }
  } else if (!text.empty()) {
    characters = text;
  } else if (!alt && !altGr) {
    if (const char32_t c = controlCharacter(press.keycode, shift, false); c != 0) {
      characters.push_back(c);
    }
  }

  const PcScanCode scan = pcScanCodeFromSdl(press.scancode);
  const KeyModifiers modifiers{shift, ctrl || altGr, alt || altGr};
  const uint32_t produced = characters.empty() ? 0u : toCodePage(characters.front());
  const int32_t code =
      translateKeyDown(scan.code, scan.extended, modifiers, produced, toCodePage(base));
  if (code > 255) {
    outcome.codes.push_back(code);
  }
  appendCharacterCodes(characters, outcome.codes);
  return outcome;
}

std::vector<int32_t> textEventCodes(std::string_view utf8, uint16_t modifiers) {
  std::vector<int32_t> codes;
  if ((modifiers & KMOD_LALT) != 0 && (modifiers & KMOD_CTRL) == 0) {
    return codes;
  }
  appendCharacterCodes(decodeUtf8(utf8), codes);
  return codes;
}

}  // namespace quillon
