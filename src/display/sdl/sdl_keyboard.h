#pragma once
// From SDL keyboard events to key codes: the PC set 1 scan code of a key, the
// character a press produces and the key's base character, and which codes a
// press or a text event queues. Pure functions, so they are tested without a
// display.
#include <SDL.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon {

struct PcScanCode {
  int32_t code = 0;       // 0 for keys without a set 1 code
  bool extended = false;  // the key sends the E0 prefix
  bool operator==(const PcScanCode&) const = default;
};

PcScanCode pcScanCodeFromSdl(SDL_Scancode scancode);

// One SDL key-down, with the text SDL delivered for it (the SDL_TEXTINPUT
// that follows the key-down directly; empty if none).
struct KeyPress {
  SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN;
  SDL_Keycode keycode = SDLK_UNKNOWN;
  uint16_t modifiers = KMOD_NONE;
  bool repeat = false;
  std::string_view text;
};

// What a press asks of the window besides key codes.
enum class WindowRequest {
  None,
  ToggleFullScreen,  // Alt+Enter
  AltF4,             // Alt+F4: nothing, and a close request it causes queues nothing
};

struct KeyPressOutcome {
  std::vector<int32_t> codes;  // in the order they are queued
  WindowRequest request = WindowRequest::None;
};

KeyPressOutcome keyPressOutcome(const KeyPress& press);

// Codes of a text event that no key-down brought (an input method's text).
std::vector<int32_t> textEventCodes(std::string_view utf8, uint16_t modifiers);

// Code points of UTF-8 text; a malformed sequence becomes U+FFFD.
std::vector<char32_t> decodeUtf8(std::string_view utf8);

// The character the layout gives the key without modifiers, as an SDL keycode
// names it; 0 for keys without one.
char32_t baseCharacter(SDL_Keycode keycode);

// The character a Windows keyboard produces for a key that SDL delivers no
// text for: Escape, Tab, Backspace, Enter and the Ctrl combinations.
char32_t controlCharacter(SDL_Keycode keycode, bool shift, bool ctrl);

}  // namespace quillon
