// SDL scan codes (USB usage ids) to the PC set 1 scan codes the key
// translation is keyed by. Keys with the E0 prefix carry the extended flag.
#include <array>

#include "display/sdl/sdl_keyboard.h"

namespace quillon {
namespace {

struct ScanCodeEntry {
  SDL_Scancode sdl;
  int32_t code;
  bool extended;
};

constexpr bool kE0 = true;
constexpr bool kPlain = false;

constexpr ScanCodeEntry kScanCodeEntries[] = {
    {SDL_SCANCODE_ESCAPE, 0x01, kPlain},
    {SDL_SCANCODE_1, 0x02, kPlain},
    {SDL_SCANCODE_2, 0x03, kPlain},
    {SDL_SCANCODE_3, 0x04, kPlain},
    {SDL_SCANCODE_4, 0x05, kPlain},
    {SDL_SCANCODE_5, 0x06, kPlain},
    {SDL_SCANCODE_6, 0x07, kPlain},
    {SDL_SCANCODE_7, 0x08, kPlain},
    {SDL_SCANCODE_8, 0x09, kPlain},
    {SDL_SCANCODE_9, 0x0A, kPlain},
    {SDL_SCANCODE_0, 0x0B, kPlain},
    {SDL_SCANCODE_MINUS, 0x0C, kPlain},
    {SDL_SCANCODE_EQUALS, 0x0D, kPlain},
    {SDL_SCANCODE_BACKSPACE, 0x0E, kPlain},
    {SDL_SCANCODE_TAB, 0x0F, kPlain},
    {SDL_SCANCODE_Q, 0x10, kPlain},
    {SDL_SCANCODE_W, 0x11, kPlain},
    {SDL_SCANCODE_E, 0x12, kPlain},
    {SDL_SCANCODE_R, 0x13, kPlain},
    {SDL_SCANCODE_T, 0x14, kPlain},
    {SDL_SCANCODE_Y, 0x15, kPlain},
    {SDL_SCANCODE_U, 0x16, kPlain},
    {SDL_SCANCODE_I, 0x17, kPlain},
    {SDL_SCANCODE_O, 0x18, kPlain},
    {SDL_SCANCODE_P, 0x19, kPlain},
    {SDL_SCANCODE_LEFTBRACKET, 0x1A, kPlain},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B, kPlain},
    {SDL_SCANCODE_RETURN, 0x1C, kPlain},
    {SDL_SCANCODE_LCTRL, 0x1D, kPlain},
    {SDL_SCANCODE_A, 0x1E, kPlain},
    {SDL_SCANCODE_S, 0x1F, kPlain},
    {SDL_SCANCODE_D, 0x20, kPlain},
    {SDL_SCANCODE_F, 0x21, kPlain},
    {SDL_SCANCODE_G, 0x22, kPlain},
    {SDL_SCANCODE_H, 0x23, kPlain},
    {SDL_SCANCODE_J, 0x24, kPlain},
    {SDL_SCANCODE_K, 0x25, kPlain},
    {SDL_SCANCODE_L, 0x26, kPlain},
    {SDL_SCANCODE_SEMICOLON, 0x27, kPlain},
    {SDL_SCANCODE_APOSTROPHE, 0x28, kPlain},
    {SDL_SCANCODE_GRAVE, 0x29, kPlain},
    {SDL_SCANCODE_LSHIFT, 0x2A, kPlain},
    {SDL_SCANCODE_BACKSLASH, 0x2B, kPlain},
    {SDL_SCANCODE_NONUSHASH, 0x2B, kPlain},
    {SDL_SCANCODE_Z, 0x2C, kPlain},
    {SDL_SCANCODE_X, 0x2D, kPlain},
    {SDL_SCANCODE_C, 0x2E, kPlain},
    {SDL_SCANCODE_V, 0x2F, kPlain},
    {SDL_SCANCODE_B, 0x30, kPlain},
    {SDL_SCANCODE_N, 0x31, kPlain},
    {SDL_SCANCODE_M, 0x32, kPlain},
    {SDL_SCANCODE_COMMA, 0x33, kPlain},
    {SDL_SCANCODE_PERIOD, 0x34, kPlain},
    {SDL_SCANCODE_SLASH, 0x35, kPlain},
    {SDL_SCANCODE_RSHIFT, 0x36, kPlain},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37, kPlain},
    {SDL_SCANCODE_LALT, 0x38, kPlain},
    {SDL_SCANCODE_SPACE, 0x39, kPlain},
    {SDL_SCANCODE_CAPSLOCK, 0x3A, kPlain},
    {SDL_SCANCODE_F1, 0x3B, kPlain},
    {SDL_SCANCODE_F2, 0x3C, kPlain},
    {SDL_SCANCODE_F3, 0x3D, kPlain},
    {SDL_SCANCODE_F4, 0x3E, kPlain},
    {SDL_SCANCODE_F5, 0x3F, kPlain},
    {SDL_SCANCODE_F6, 0x40, kPlain},
    {SDL_SCANCODE_F7, 0x41, kPlain},
    {SDL_SCANCODE_F8, 0x42, kPlain},
    {SDL_SCANCODE_F9, 0x43, kPlain},
    {SDL_SCANCODE_F10, 0x44, kPlain},
    {SDL_SCANCODE_PAUSE, 0x45, kPlain},
    {SDL_SCANCODE_SCROLLLOCK, 0x46, kPlain},
    {SDL_SCANCODE_KP_7, 0x47, kPlain},
    {SDL_SCANCODE_KP_8, 0x48, kPlain},
    {SDL_SCANCODE_KP_9, 0x49, kPlain},
    {SDL_SCANCODE_KP_MINUS, 0x4A, kPlain},
    {SDL_SCANCODE_KP_4, 0x4B, kPlain},
    {SDL_SCANCODE_KP_5, 0x4C, kPlain},
    {SDL_SCANCODE_KP_6, 0x4D, kPlain},
    {SDL_SCANCODE_KP_PLUS, 0x4E, kPlain},
    {SDL_SCANCODE_KP_1, 0x4F, kPlain},
    {SDL_SCANCODE_KP_2, 0x50, kPlain},
    {SDL_SCANCODE_KP_3, 0x51, kPlain},
    {SDL_SCANCODE_KP_0, 0x52, kPlain},
    {SDL_SCANCODE_KP_PERIOD, 0x53, kPlain},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56, kPlain},
    {SDL_SCANCODE_F11, 0x57, kPlain},
    {SDL_SCANCODE_F12, 0x58, kPlain},
    {SDL_SCANCODE_KP_EQUALS, 0x59, kPlain},
    {SDL_SCANCODE_F13, 0x64, kPlain},
    {SDL_SCANCODE_F14, 0x65, kPlain},
    {SDL_SCANCODE_F15, 0x66, kPlain},
    {SDL_SCANCODE_F16, 0x67, kPlain},
    {SDL_SCANCODE_F17, 0x68, kPlain},
    {SDL_SCANCODE_F18, 0x69, kPlain},
    {SDL_SCANCODE_F19, 0x6A, kPlain},
    {SDL_SCANCODE_F20, 0x6B, kPlain},
    {SDL_SCANCODE_F21, 0x6C, kPlain},
    {SDL_SCANCODE_F22, 0x6D, kPlain},
    {SDL_SCANCODE_F23, 0x6E, kPlain},
    {SDL_SCANCODE_INTERNATIONAL2, 0x70, kPlain},
    {SDL_SCANCODE_INTERNATIONAL1, 0x73, kPlain},
    {SDL_SCANCODE_F24, 0x76, kPlain},
    {SDL_SCANCODE_INTERNATIONAL4, 0x79, kPlain},
    {SDL_SCANCODE_INTERNATIONAL5, 0x7B, kPlain},
    {SDL_SCANCODE_INTERNATIONAL3, 0x7D, kPlain},
    {SDL_SCANCODE_KP_COMMA, 0x7E, kPlain},
    {SDL_SCANCODE_AUDIOPREV, 0x10, kE0},
    {SDL_SCANCODE_AUDIONEXT, 0x19, kE0},
    {SDL_SCANCODE_KP_ENTER, 0x1C, kE0},
    {SDL_SCANCODE_RCTRL, 0x1D, kE0},
    {SDL_SCANCODE_MUTE, 0x20, kE0},
    {SDL_SCANCODE_CALCULATOR, 0x21, kE0},
    {SDL_SCANCODE_AUDIOPLAY, 0x22, kE0},
    {SDL_SCANCODE_AUDIOSTOP, 0x24, kE0},
    {SDL_SCANCODE_VOLUMEDOWN, 0x2E, kE0},
    {SDL_SCANCODE_VOLUMEUP, 0x30, kE0},
    {SDL_SCANCODE_AC_HOME, 0x32, kE0},
    {SDL_SCANCODE_KP_DIVIDE, 0x35, kE0},
    {SDL_SCANCODE_PRINTSCREEN, 0x37, kE0},
    {SDL_SCANCODE_RALT, 0x38, kE0},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45, kE0},
    {SDL_SCANCODE_HOME, 0x47, kE0},
    {SDL_SCANCODE_UP, 0x48, kE0},
    {SDL_SCANCODE_PAGEUP, 0x49, kE0},
    {SDL_SCANCODE_LEFT, 0x4B, kE0},
    {SDL_SCANCODE_RIGHT, 0x4D, kE0},
    {SDL_SCANCODE_END, 0x4F, kE0},
    {SDL_SCANCODE_DOWN, 0x50, kE0},
    {SDL_SCANCODE_PAGEDOWN, 0x51, kE0},
    {SDL_SCANCODE_INSERT, 0x52, kE0},
    {SDL_SCANCODE_DELETE, 0x53, kE0},
    {SDL_SCANCODE_LGUI, 0x5B, kE0},
    {SDL_SCANCODE_RGUI, 0x5C, kE0},
    {SDL_SCANCODE_APPLICATION, 0x5D, kE0},
    {SDL_SCANCODE_POWER, 0x5E, kE0},
    {SDL_SCANCODE_SLEEP, 0x5F, kE0},
    {SDL_SCANCODE_AC_SEARCH, 0x65, kE0},
    {SDL_SCANCODE_AC_BOOKMARKS, 0x66, kE0},
    {SDL_SCANCODE_AC_REFRESH, 0x67, kE0},
    {SDL_SCANCODE_AC_STOP, 0x68, kE0},
    {SDL_SCANCODE_AC_FORWARD, 0x69, kE0},
    {SDL_SCANCODE_AC_BACK, 0x6A, kE0},
    {SDL_SCANCODE_COMPUTER, 0x6B, kE0},
    {SDL_SCANCODE_MAIL, 0x6C, kE0},
    {SDL_SCANCODE_MEDIASELECT, 0x6D, kE0},
};

constexpr std::array<PcScanCode, SDL_NUM_SCANCODES> buildScanCodeTable() {
  std::array<PcScanCode, SDL_NUM_SCANCODES> table{};
  for (const ScanCodeEntry& entry : kScanCodeEntries) {
    table[static_cast<std::size_t>(entry.sdl)] = PcScanCode{entry.code, entry.extended};
  }
  return table;
}

constexpr std::array<PcScanCode, SDL_NUM_SCANCODES> kScanCodeTable = buildScanCodeTable();

}  // namespace

PcScanCode pcScanCodeFromSdl(SDL_Scancode scancode) {
  const auto index = static_cast<int>(scancode);
  if (index < 0 || index >= SDL_NUM_SCANCODES) {
    return PcScanCode{};
  }
  return kScanCodeTable[static_cast<std::size_t>(index)];
}

}  // namespace quillon
