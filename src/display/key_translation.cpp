#include "display/key_translation.h"

#include <array>
#include <cstddef>

#include "display/key_queue.h"

namespace quillon {

namespace {

enum Column : std::size_t { kPlain = 0, kShift = 1, kCtrl = 2, kAlt = 3 };
using Row = std::array<int32_t, 4>;  // plain, Shift, Ctrl, Alt (with Ctrl)

constexpr int32_t X(int32_t code) { return extendedKeyCode(code); }
constexpr Row kNone{0, 0, 0, 0};
constexpr Row altOnly(int32_t code) { return Row{0, 0, 0, X(code)}; }

inline constexpr int32_t kLastMainScanCode = 88;

// Key-down codes by scan code (set 1, no E0 prefix). Only extended codes are
// kept: the character entries never decide a result, the produced character
// does.
constexpr std::array<Row, kLastMainScanCode + 1> kMainTable{{
    kNone,                                // 0
    altOnly(1),                           // 1 Escape
    altOnly(120),                         // 2 1
    Row{0, 0, X(3), X(121)},              // 3 2
    altOnly(122),                         // 4 3
    altOnly(123),                         // 5 4
    altOnly(124),                         // 6 5
    altOnly(125),                         // 7 6
    altOnly(126),                         // 8 7
    altOnly(127),                         // 9 8
    altOnly(128),                         // 10 9
    altOnly(129),                         // 11 0
    altOnly(130),                         // 12 -
    altOnly(131),                         // 13 =
    altOnly(224),                         // 14 Backspace
    Row{0, X(15), X(148), X(15)},         // 15 Tab
    altOnly(16),                          // 16 Q
    altOnly(17),                          // 17 W
    altOnly(18),                          // 18 E
    altOnly(19),                          // 19 R
    altOnly(20),                          // 20 T
    altOnly(21),                          // 21 Y
    altOnly(22),                          // 22 U
    altOnly(23),                          // 23 I
    altOnly(24),                          // 24 O
    altOnly(25),                          // 25 P
    altOnly(26),                          // 26 [
    altOnly(27),                          // 27 ]
    altOnly(28),                          // 28 Enter
    kNone,                                // 29 Ctrl
    altOnly(30),                          // 30 A
    altOnly(31),                          // 31 S
    altOnly(32),                          // 32 D
    altOnly(33),                          // 33 F
    altOnly(34),                          // 34 G
    altOnly(35),                          // 35 H
    altOnly(36),                          // 36 J
    altOnly(37),                          // 37 K
    altOnly(38),                          // 38 L
    altOnly(39),                          // 39 ;
    altOnly(40),                          // 40 '
    altOnly(41),                          // 41 `
    kNone,                                // 42 left Shift
    kNone,                                // 43 backslash
    altOnly(44),                          // 44 Z
    altOnly(45),                          // 45 X
    altOnly(46),                          // 46 C
    altOnly(47),                          // 47 V
    altOnly(48),                          // 48 B
    altOnly(49),                          // 49 N
    altOnly(50),                          // 50 M
    altOnly(51),                          // 51 ,
    altOnly(52),                          // 52 .
    altOnly(53),                          // 53 /
    kNone,                                // 54 right Shift
    kNone,                                // 55 keypad *
    kNone,                                // 56 Alt
    kNone,                                // 57 Space
    kNone,                                // 58 Caps Lock
    Row{X(59), X(84), X(94), X(104)},     // 59 F1
    Row{X(60), X(85), X(95), X(105)},     // 60 F2
    Row{X(61), X(86), X(96), X(106)},     // 61 F3
    Row{X(62), X(87), X(97), X(107)},     // 62 F4
    Row{X(63), X(88), X(98), X(108)},     // 63 F5
    Row{X(64), X(89), X(99), X(109)},     // 64 F6
    Row{X(65), X(90), X(100), X(110)},    // 65 F7
    Row{X(66), X(91), X(101), X(111)},    // 66 F8
    Row{X(67), X(92), X(102), X(112)},    // 67 F9
    Row{X(68), X(93), X(103), X(113)},    // 68 F10
    kNone,                                // 69 Num Lock
    kNone,                                // 70 Scroll Lock
    Row{X(71), 0, X(119), 0},             // 71 keypad 7 / Home
    Row{X(72), 0, X(141), 0},             // 72 keypad 8 / Up
    Row{X(73), 0, X(132), 0},             // 73 keypad 9 / Page Up
    kNone,                                // 74 keypad -
    Row{X(75), 0, X(115), 0},             // 75 keypad 4 / Left
    Row{X(76), 0, X(143), X(76)},         // 76 keypad 5
    Row{X(77), 0, X(116), 0},             // 77 keypad 6 / Right
    kNone,                                // 78 keypad +
    Row{X(79), 0, X(117), 0},             // 79 keypad 1 / End
    Row{X(80), 0, X(145), 0},             // 80 keypad 2 / Down
    Row{X(81), 0, X(118), 0},             // 81 keypad 3 / Page Down
    Row{X(82), 0, X(146), 0},             // 82 keypad 0 / Insert
    Row{X(83), 0, X(147), 0},             // 83 keypad . / Delete
    kNone,                                // 84
    kNone,                                // 85
    kNone,                                // 86
    Row{X(133), X(135), X(137), X(139)},  // 87 F11
    Row{X(134), X(136), X(138), X(140)},  // 88 F12
}};

struct ExtendedRow {
  int32_t scanCode;
  Row codes;
};

// Keys with the E0 prefix that produce no character. The plain, Shift and
// Ctrl entries of keypad Enter and keypad / are character codes.
constexpr std::array<ExtendedRow, 12> kExtendedTable{{
    {28, Row{13, 13, 10, X(166)}},            // keypad Enter
    {53, Row{47, 63, 149, X(164)}},           // keypad /
    {71, Row{X(71), X(71), X(119), X(151)}},  // Home
    {72, Row{X(72), X(72), X(141), X(152)}},  // Up
    {73, Row{X(73), X(73), X(132), X(153)}},  // Page Up
    {75, Row{X(75), X(75), X(115), X(155)}},  // Left
    {77, Row{X(77), X(77), X(116), X(157)}},  // Right
    {79, Row{X(79), X(79), X(117), X(159)}},  // End
    {80, Row{X(80), X(80), X(145), X(160)}},  // Down
    {81, Row{X(81), X(81), X(118), X(161)}},  // Page Down
    {82, Row{X(82), X(82), X(146), X(162)}},  // Insert
    {83, Row{X(83), X(83), X(147), X(163)}},  // Delete
}};

inline constexpr uint32_t kLargestCharacter = 255;

Column columnOf(KeyModifiers modifiers) {
  if (modifiers.alt) return kAlt;
  if (modifiers.ctrl) return kCtrl;
  if (modifiers.shift) return kShift;
  return kPlain;
}

// Upper and lower case letter pairs of code page 437 beyond ASCII, the
// character set in which the front end reports produced and base characters.
struct CasePair {
  uint32_t upper;
  uint32_t lower;
};
constexpr std::array<CasePair, 8> kCp437CasePairs{{
    {128, 135},  // C cedilla
    {154, 129},  // u diaeresis
    {144, 130},  // e acute
    {142, 132},  // a diaeresis
    {143, 134},  // a ring
    {146, 145},  // ae
    {153, 148},  // o diaeresis
    {165, 164},  // n tilde
}};

// The other case of a letter; other characters are their own swap.
uint32_t swapCase(uint32_t character) {
  if (character >= 'A' && character <= 'Z') return character + ('a' - 'A');
  if (character >= 'a' && character <= 'z') return character - ('a' - 'A');
  for (const CasePair& pair : kCp437CasePairs) {
    if (character == pair.upper) return pair.lower;
    if (character == pair.lower) return pair.upper;
  }
  return character;
}

// A produced character as a result. Characters above 255 have no place in
// a key code (they would read as extended codes) and reach the queue only
// through character events, so the key-down gives nothing for them.
int32_t characterResult(uint32_t produced) {
  return produced <= kLargestCharacter ? static_cast<int32_t>(produced) : 0;
}

int32_t translateExtendedCluster(int32_t scanCode, Column column) {
  for (const ExtendedRow& row : kExtendedTable) {
    if (row.scanCode == scanCode) return row.codes[column];
  }
  return 0;
}

}  // namespace

int32_t translateKeyDown(int32_t scanCode, bool extended, KeyModifiers modifiers, uint32_t produced,
                         uint32_t base) {
  const Column column = columnOf(modifiers);
  if (extended && produced == 0) return translateExtendedCluster(scanCode, column);
  if (scanCode < 0 || scanCode > kLastMainScanCode) return characterResult(produced);

  // A key that produces a character in the plain column looks up its base
  // character, which is never an extended code.
  if (column == kPlain && produced != 0) return characterResult(produced);
  const int32_t value = kMainTable[static_cast<std::size_t>(scanCode)][column];
  if (value > static_cast<int32_t>(kLargestCharacter) &&
      (produced == base || produced == swapCase(base))) {
    return value;
  }
  return characterResult(produced);
}

}  // namespace quillon
