// What SDL key presses and text events queue, without a display.
#include "display/sdl/sdl_keyboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/key_queue.h"

namespace quillon {
namespace {

struct PressCase {
  const char* name;
  SDL_Scancode scancode;
  SDL_Keycode keycode;
  uint16_t modifiers;
  const char* text;
  std::vector<int32_t> codes;
  WindowRequest request = WindowRequest::None;
  bool repeat = false;
};

constexpr uint16_t kNone = KMOD_NONE;
constexpr uint16_t kShift = KMOD_LSHIFT;
constexpr uint16_t kCtrl = KMOD_LCTRL;
constexpr uint16_t kAlt = KMOD_LALT;
constexpr int32_t x(int32_t code) { return extendedKeyCode(code); }

void PrintTo(const PressCase& c, std::ostream* out) { *out << c.name; }
std::string caseName(const ::testing::TestParamInfo<PressCase>& info) { return info.param.name; }

class KeyPressOutcomeTest : public ::testing::TestWithParam<PressCase> {};

TEST_P(KeyPressOutcomeTest, QueuesTheCodesOfAWindowsKeyboard) {
  const PressCase& c = GetParam();
  const KeyPress press{c.scancode, c.keycode, c.modifiers, c.repeat, c.text};
  const KeyPressOutcome outcome = keyPressOutcome(press);
  EXPECT_EQ(outcome.codes, c.codes);
  EXPECT_EQ(outcome.request, c.request);
}

// Characters come from SDL's text (printable keys) or, for keys SDL gives no
// text for, from the control characters a Windows keyboard types; key-downs
// add only extended codes, and before the character.
INSTANTIATE_TEST_SUITE_P(
    Characters, KeyPressOutcomeTest,
    ::testing::Values(
        PressCase{"LetterTypesItsByte", SDL_SCANCODE_A, SDLK_a, kNone, "a", {97}},
        PressCase{"ShiftedLetter", SDL_SCANCODE_A, SDLK_a, kShift, "A", {65}},
        PressCase{"Space", SDL_SCANCODE_SPACE, SDLK_SPACE, kNone, " ", {32}},
        PressCase{"Escape", SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, kNone, "", {27}},
        PressCase{"Tab", SDL_SCANCODE_TAB, SDLK_TAB, kNone, "", {9}},
        PressCase{"Backspace", SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, kNone, "", {8}},
        PressCase{"Enter", SDL_SCANCODE_RETURN, SDLK_RETURN, kNone, "", {13}},
        PressCase{"KeypadEnter", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, kNone, "", {13}},
        PressCase{
            "KeypadSlashTypesSlash", SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, kNone, "/", {47}},
        PressCase{"KeypadDigitWithNumLock", SDL_SCANCODE_KP_8, SDLK_KP_8, KMOD_NUM, "8", {56}},
        PressCase{
            "AccentedLetterInCodePage437", SDL_SCANCODE_UNKNOWN, 0xE9, kNone, "\xC3\xA9", {130}},
        PressCase{
            "CharacterOutsideCodePage437", SDL_SCANCODE_E, SDLK_e, kNone, "\xE2\x82\xAC", {63}},
        PressCase{
            "ComposedTextQueuesEveryCharacter", SDL_SCANCODE_E, SDLK_e, kNone, "^e", {94, 101}},
        PressCase{"RepeatQueuesAgain",
                  SDL_SCANCODE_A,
                  SDLK_a,
                  kNone,
                  "a",
                  {97},
                  WindowRequest::None,
                  true},
        PressCase{"ShiftAloneNothing", SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, kShift, "", {}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    ControlCharacters, KeyPressOutcomeTest,
    ::testing::Values(
        PressCase{"CtrlC", SDL_SCANCODE_C, SDLK_c, kCtrl, "", {3}},
        // X11 may deliver the plain letter as text for a Ctrl press.
        PressCase{"CtrlCIgnoresPlatformText", SDL_SCANCODE_C, SDLK_c, kCtrl, "c", {3}},
        PressCase{"CtrlShiftZ", SDL_SCANCODE_Z, SDLK_z, kCtrl | kShift, "", {26}},
        PressCase{"CtrlEnter", SDL_SCANCODE_RETURN, SDLK_RETURN, kCtrl, "", {10}},
        PressCase{"CtrlKeypadEnter", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, kCtrl, "", {10}},
        PressCase{"CtrlBackspace", SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, kCtrl, "", {127}},
        PressCase{"CtrlLeftBracket", SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET, kCtrl, "", {27}},
        PressCase{"CtrlBackslash", SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH, kCtrl, "", {28}},
        PressCase{
            "CtrlRightBracket", SDL_SCANCODE_RIGHTBRACKET, SDLK_RIGHTBRACKET, kCtrl, "", {29}},
        PressCase{"CtrlDigitTypesNothing", SDL_SCANCODE_1, SDLK_1, kCtrl, "1", {}},
        PressCase{"CtrlTabGivesNothing", SDL_SCANCODE_TAB, SDLK_TAB, kCtrl, "", {}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    ExtendedKeys, KeyPressOutcomeTest,
    ::testing::Values(
        PressCase{"Up", SDL_SCANCODE_UP, SDLK_UP, kNone, "", {x(72)}},
        PressCase{"Delete", SDL_SCANCODE_DELETE, SDLK_DELETE, kNone, "", {x(83)}},
        PressCase{"CtrlRight", SDL_SCANCODE_RIGHT, SDLK_RIGHT, kCtrl, "", {x(116)}},
        PressCase{"F1", SDL_SCANCODE_F1, SDLK_F1, kNone, "", {x(59)}},
        PressCase{"ShiftF1", SDL_SCANCODE_F1, SDLK_F1, kShift, "", {x(84)}},
        PressCase{"F12", SDL_SCANCODE_F12, SDLK_F12, kNone, "", {x(134)}},
        PressCase{"KeypadEightWithoutNumLock", SDL_SCANCODE_KP_8, SDLK_KP_8, kNone, "", {x(72)}},
        // The extended code first, then the Tab character.
        PressCase{"ShiftTab", SDL_SCANCODE_TAB, SDLK_TAB, kShift, "", {x(15), 9}},
        PressCase{
            "CtrlAltF4IsTheCloseKey", SDL_SCANCODE_F4, SDLK_F4, kCtrl | kAlt, "", {kCloseKeyCode}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    SystemKeys, KeyPressOutcomeTest,
    ::testing::Values(
        // X11 delivers text for Alt+letter; it must not reach the queue.
        PressCase{"AltA", SDL_SCANCODE_A, SDLK_a, kAlt, "a", {}},
        PressCase{"RightAltTypingTheKeysLetter", SDL_SCANCODE_Q, SDLK_q, KMOD_RALT, "q", {}},
        PressCase{"AltUp", SDL_SCANCODE_UP, SDLK_UP, kAlt, "", {}},
        PressCase{"AltAlone", SDL_SCANCODE_LALT, SDLK_LALT, kAlt, "", {}},
        PressCase{"F10", SDL_SCANCODE_F10, SDLK_F10, kNone, "", {}},
        PressCase{"ShiftF10", SDL_SCANCODE_F10, SDLK_F10, kShift, "", {}},
        PressCase{"AltF4", SDL_SCANCODE_F4, SDLK_F4, kAlt, "", {}, WindowRequest::AltF4},
        PressCase{"AltEnterTogglesFullScreen",
                  SDL_SCANCODE_RETURN,
                  SDLK_RETURN,
                  kAlt,
                  "",
                  {},
                  WindowRequest::ToggleFullScreen},
        PressCase{"AltKeypadEnterTogglesFullScreen",
                  SDL_SCANCODE_KP_ENTER,
                  SDLK_KP_ENTER,
                  KMOD_RALT,
                  "",
                  {},
                  WindowRequest::ToggleFullScreen},
        // Holding Alt+Enter must not flip the presentation at every repeat.
        PressCase{"RepeatedAltEnterDoesNothing",
                  SDL_SCANCODE_RETURN,
                  SDLK_RETURN,
                  kAlt,
                  "",
                  {},
                  WindowRequest::None,
                  true}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    AltGr, KeyPressOutcomeTest,
    ::testing::Values(
        // A layout's third level arrives as right Alt with other text.
        PressCase{"RightAltTypingAnotherCharacter", SDL_SCANCODE_Q, SDLK_q, KMOD_RALT, "@", {64}},
        PressCase{"ModeSwitch", SDL_SCANCODE_Q, SDLK_q, KMOD_MODE, "@", {64}},
        PressCase{"AltGrWithoutText", SDL_SCANCODE_A, SDLK_a, KMOD_MODE, "", {}}),
    caseName);

TEST(TextEventCodes, ConvertsTextThroughCodePage437) {
  struct Case {
    const char* text;
    uint16_t modifiers;
    std::vector<int32_t> codes;
  };
  const Case cases[] = {
      {"n", kNone, {110}},
      {"\xC3\xA9", kNone, {130}},
      {"\xC3\xA9x", kShift, {130, 120}},
      {"\xE2\x82\xAC", kNone, {63}},
      {"\xFF", kNone, {63}},
      {"a", kAlt, {}},  // a system key's text
      {"@", KMOD_RALT, {64}},
      {"a", kAlt | kCtrl, {97}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(textEventCodes(c.text, c.modifiers), c.codes) << c.text;
  }
}

TEST(DecodeUtf8, ReplacesEveryMalformedByte) {
  struct Case {
    std::string text;
    std::u32string expected;
  };
  const Case cases[] = {
      {"ab", U"ab"},
      {"\xC3\xA9", U"\u00E9"},
      {"\xE2\x82\xAC", U"\u20AC"},
      {"\xF0\x9F\x98\x80", U"\U0001F600"},
      {"\xC0\xAF", U"\uFFFD\uFFFD"},                      // overlong
      {"\xE2\x82", U"\uFFFD\uFFFD"},                      // cut short
      {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},            // surrogate
      {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\x80"
       "a",
       U"\uFFFDa"},
  };
  for (const Case& c : cases) {
    const std::vector<char32_t> decoded = decodeUtf8(c.text);
    EXPECT_EQ(std::u32string(decoded.begin(), decoded.end()), c.expected);
  }
}

TEST(PcScanCodeFromSdl, GivesSetOneCodesWithTheExtendedFlag) {
  struct Case {
    SDL_Scancode sdl;
    PcScanCode expected;
  };
  const Case cases[] = {
      {SDL_SCANCODE_ESCAPE, {1, false}},
      {SDL_SCANCODE_A, {30, false}},
      {SDL_SCANCODE_RETURN, {28, false}},
      {SDL_SCANCODE_KP_ENTER, {28, true}},
      {SDL_SCANCODE_UP, {72, true}},
      {SDL_SCANCODE_KP_8, {72, false}},
      {SDL_SCANCODE_DELETE, {83, true}},
      {SDL_SCANCODE_KP_PERIOD, {83, false}},
      {SDL_SCANCODE_F10, {68, false}},
      {SDL_SCANCODE_F11, {87, false}},
      {SDL_SCANCODE_F12, {88, false}},
      {SDL_SCANCODE_KP_DIVIDE, {53, true}},
      {SDL_SCANCODE_SLASH, {53, false}},
      {SDL_SCANCODE_RALT, {56, true}},
      {SDL_SCANCODE_LALT, {56, false}},
      {SDL_SCANCODE_UNKNOWN, {0, false}},
      {static_cast<SDL_Scancode>(SDL_NUM_SCANCODES), {0, false}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pcScanCodeFromSdl(c.sdl), c.expected) << SDL_GetScancodeName(c.sdl);
  }
}

TEST(BaseCharacter, IsTheKeycodesCharacterOrNothing) {
  EXPECT_EQ(baseCharacter(SDLK_a), U'a');
  EXPECT_EQ(baseCharacter(SDLK_RETURN), U'\r');
  EXPECT_EQ(baseCharacter(SDLK_TAB), U'\t');
  EXPECT_EQ(baseCharacter(0x444), U'\u0444');  // a Cyrillic layout's letter
  EXPECT_EQ(baseCharacter(SDLK_DELETE), 0u);
  EXPECT_EQ(baseCharacter(SDLK_UP), 0u);
  EXPECT_EQ(baseCharacter(SDLK_KP_8), 0u);
  EXPECT_EQ(baseCharacter(SDLK_UNKNOWN), 0u);
}

}  // namespace
}  // namespace quillon
