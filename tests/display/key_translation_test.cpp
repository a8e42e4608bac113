#include "display/key_translation.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "display/key_queue.h"

namespace quillon {
namespace {

enum Column { kPlain, kShift, kCtrl, kAlt };
constexpr int kColumnCount = 4;
constexpr int kLastMainScanCode = 88;
const char* const kColumnNames[kColumnCount] = {"plain", "Shift", "Ctrl", "Alt+Ctrl"};

KeyModifiers modifiersOf(Column column) {
  switch (column) {
    case kShift:
      return KeyModifiers{true, false, false};
    case kCtrl:
      return KeyModifiers{false, true, false};
    case kAlt:
      return KeyModifiers{false, true, true};
    case kPlain:
      break;
  }
  return KeyModifiers{};
}

constexpr int32_t X(int32_t code) { return extendedKeyCode(code); }

// The main table's extended codes as runs of scan codes whose codes ascend
// with the scan code, written the way the keyboard reference lists them.
struct CodeRun {
  int firstScan;
  int lastScan;
  Column column;
  int32_t firstCode;
};
const CodeRun kMainRuns[] = {
    {59, 68, kPlain, 59},  {59, 68, kShift, 84},  {59, 68, kCtrl, 94},  {59, 68, kAlt, 104},
    {87, 88, kPlain, 133}, {87, 88, kShift, 135}, {87, 88, kCtrl, 137}, {87, 88, kAlt, 139},
    {71, 73, kPlain, 71},  {75, 77, kPlain, 75},  {79, 83, kPlain, 79}, {71, 71, kCtrl, 119},
    {72, 72, kCtrl, 141},  {73, 73, kCtrl, 132},  {75, 75, kCtrl, 115}, {76, 76, kCtrl, 143},
    {77, 77, kCtrl, 116},  {79, 79, kCtrl, 117},  {80, 80, kCtrl, 145}, {81, 81, kCtrl, 118},
    {82, 83, kCtrl, 146},  {76, 76, kAlt, 76},    {15, 15, kShift, 15}, {15, 15, kCtrl, 148},
    {15, 15, kAlt, 15},    {1, 1, kAlt, 1},       {3, 3, kCtrl, 3},     {2, 13, kAlt, 120},
    {14, 14, kAlt, 224},   {16, 28, kAlt, 16},    {30, 41, kAlt, 30},   {44, 53, kAlt, 44},
};

// Extended code of each scan code 0..88 and column, 0 where the key has none.
std::vector<std::array<int32_t, kColumnCount>> expectedMainCodes() {
  std::vector<std::array<int32_t, kColumnCount>> codes(kLastMainScanCode + 1);
  for (const CodeRun& run : kMainRuns) {
    for (int scan = run.firstScan; scan <= run.lastScan; ++scan) {
      codes[static_cast<size_t>(scan)][run.column] = run.firstCode + (scan - run.firstScan);
    }
  }
  return codes;
}

std::string where(int scan, bool extended, Column column, uint32_t produced, uint32_t base) {
  return std::string(extended ? "E0 " : "") + "scan " + std::to_string(scan) + " " +
         kColumnNames[column] + " c=" + std::to_string(produced) + " b=" + std::to_string(base);
}

// Without a produced character, every key of the main table gives exactly
// its extended code in each column, and nothing where it has none.
TEST(KeyTranslation, MainTableGivesItsExtendedCodesForKeysWithoutCharacter) {
  const auto codes = expectedMainCodes();
  for (int scan = 0; scan <= kLastMainScanCode; ++scan) {
    for (int c = 0; c < kColumnCount; ++c) {
      const auto column = static_cast<Column>(c);
      const int32_t code = codes[static_cast<size_t>(scan)][column];
      EXPECT_EQ(translateKeyDown(scan, false, modifiersOf(column), 0, 0), code == 0 ? 0 : X(code))
          << where(scan, false, column, 0, 0);
    }
  }
}

// A key whose produced character is its base character keeps the extended
// code in the Shift, Ctrl and Alt columns; in the plain column and where the
// table has no code the character itself is the result.
TEST(KeyTranslation, MainTableWithBaseCharacterProducedGivesCodeOrCharacter) {
  const auto codes = expectedMainCodes();
  constexpr uint32_t kCharacter = 'q';
  for (int scan = 0; scan <= kLastMainScanCode; ++scan) {
    for (int c = 0; c < kColumnCount; ++c) {
      const auto column = static_cast<Column>(c);
      const int32_t code = codes[static_cast<size_t>(scan)][column];
      const int32_t expected =
          (column == kPlain || code == 0) ? static_cast<int32_t>(kCharacter) : X(code);
      EXPECT_EQ(translateKeyDown(scan, false, modifiersOf(column), kCharacter, kCharacter),
                expected)
          << where(scan, false, column, kCharacter, kCharacter);
    }
  }
}

// A character other than the key's base character (AltGr, Ctrl combinations)
// wins over any table entry; a key that produces nothing while its base is
// a character (a dead key) gives no code at all.
TEST(KeyTranslation, MainTableWithOtherOrNoCharacterIgnoresTheTable) {
  for (int scan = 0; scan <= kLastMainScanCode; ++scan) {
    for (int c = 0; c < kColumnCount; ++c) {
      const auto column = static_cast<Column>(c);
      EXPECT_EQ(translateKeyDown(scan, false, modifiersOf(column), '#', 'q'), '#')
          << where(scan, false, column, '#', 'q');
      EXPECT_EQ(translateKeyDown(scan, false, modifiersOf(column), 0, 'q'), 0)
          << where(scan, false, column, 0, 'q');
    }
  }
}

struct ExtendedRow {
  int scan;
  std::array<int32_t, kColumnCount> results;
};
// Keypad Enter and keypad / give characters except with Alt.
const ExtendedRow kExtendedRows[] = {
    {28, {13, 13, 10, X(166)}},           {53, {47, 63, 149, X(164)}},
    {71, {X(71), X(71), X(119), X(151)}}, {72, {X(72), X(72), X(141), X(152)}},
    {73, {X(73), X(73), X(132), X(153)}}, {75, {X(75), X(75), X(115), X(155)}},
    {77, {X(77), X(77), X(116), X(157)}}, {79, {X(79), X(79), X(117), X(159)}},
    {80, {X(80), X(80), X(145), X(160)}}, {81, {X(81), X(81), X(118), X(161)}},
    {82, {X(82), X(82), X(146), X(162)}}, {83, {X(83), X(83), X(147), X(163)}},
};

TEST(KeyTranslation, ExtendedClusterGivesItsTableEntryInEveryColumn) {
  for (const ExtendedRow& row : kExtendedRows) {
    for (int c = 0; c < kColumnCount; ++c) {
      const auto column = static_cast<Column>(c);
      EXPECT_EQ(translateKeyDown(row.scan, true, modifiersOf(column), 0, 0), row.results[column])
          << where(row.scan, true, column, 0, 0);
    }
  }
}

// Right Ctrl, right Alt, Print Screen, the Windows and menu keys: E0 keys
// outside the table give nothing, even where the main table has a code.
TEST(KeyTranslation, ExtendedKeysOutsideTheTableGiveNothing) {
  for (int scan : {0, 29, 56, 55, 59, 91, 92, 93, 94, 127, 200}) {
    for (int c = 0; c < kColumnCount; ++c) {
      const auto column = static_cast<Column>(c);
      EXPECT_EQ(translateKeyDown(scan, true, modifiersOf(column), 0, 0), 0)
          << where(scan, true, column, 0, 0);
    }
  }
}

TEST(KeyTranslation, ScanCodesBeyondTheMainTableGiveOnlyTheirCharacter) {
  for (int scan : {-1, 89, 90, 100, 115, 125, 255, 1000}) {
    for (int c = 0; c < kColumnCount; ++c) {
      const auto column = static_cast<Column>(c);
      EXPECT_EQ(translateKeyDown(scan, false, modifiersOf(column), 0, 0), 0)
          << where(scan, false, column, 0, 0);
      EXPECT_EQ(translateKeyDown(scan, false, modifiersOf(column), 'x', 'x'), 'x')
          << where(scan, false, column, 'x', 'x');
    }
  }
}

struct KeyCase {
  const char* name;
  int scan;
  bool extended;
  KeyModifiers modifiers;
  uint32_t produced;
  uint32_t base;
  int32_t expected;
};

constexpr KeyModifiers kNoModifier{};
constexpr KeyModifiers kShiftHeld{true, false, false};
constexpr KeyModifiers kCtrlHeld{false, true, false};
constexpr KeyModifiers kAltHeld{false, false, true};
constexpr KeyModifiers kCtrlAltHeld{false, true, true};
constexpr KeyModifiers kAllHeld{true, true, true};

TEST(KeyTranslation, EverydayKeysGiveTheirCodes) {
  const KeyCase cases[] = {
      {"Up", 72, true, kNoModifier, 0, 0, X(72)},
      {"F1", 59, false, kNoModifier, 0, 0, X(59)},
      {"Delete", 83, true, kNoModifier, 0, 0, X(83)},
      // The Tab character itself comes from the character event.
      {"Shift+Tab", 15, false, kShiftHeld, 9, 9, X(15)},
      {"Tab", 15, false, kNoModifier, 9, 9, 9},
      {"Ctrl+Right", 77, true, kCtrlHeld, 0, 0, X(116)},
      {"Ctrl+Alt+F4 is the close key", 62, false, kCtrlAltHeld, 0, 0, kCloseKeyCode},
      // Alt without Ctrl is a system key that the front end drops before
      // translating, so Alt+F4 never reaches the queue.
      {"Alt+F4 before the front end's filter", 62, false, kAltHeld, 0, 0, kCloseKeyCode},
      // The front end drops F10 as a system key; the translation itself
      // still knows its code.
      {"F10 before the front end's filter", 68, false, kNoModifier, 0, 0, X(68)},
      {"Shift+F10", 68, false, kShiftHeld, 0, 0, X(93)},
      {"F12", 88, false, kNoModifier, 0, 0, X(134)},
      {"keypad Enter", 28, true, kNoModifier, 0, 0, 13},
      {"keypad Enter producing carriage return", 28, true, kNoModifier, 13, 13, 13},
      {"Ctrl+keypad Enter", 28, true, kCtrlHeld, 0, 0, 10},
      {"keypad /", 53, true, kNoModifier, 0, 0, 47},
      {"keypad / producing a slash", 53, true, kNoModifier, '/', '/', '/'},
      {"Shift+keypad /", 53, true, kShiftHeld, 0, 0, 63},
      {"Ctrl+2", 3, false, kCtrlHeld, '2', '2', X(3)},
      {"Ctrl+2 producing nothing", 3, false, kCtrlHeld, 0, '2', 0},
      {"Ctrl+keypad 5", 76, false, kCtrlHeld, 0, 0, X(143)},
      {"keypad 8 with Num Lock off", 72, false, kNoModifier, 0, 0, X(72)},
      {"keypad 8 with Num Lock on", 72, false, kNoModifier, '8', '8', '8'},
      {"a", 30, false, kNoModifier, 'a', 'a', 'a'},
      {"Shift+a", 30, false, kShiftHeld, 'A', 'a', 'A'},
      {"Ctrl+a", 30, false, kCtrlHeld, 1, 'a', 1},
      {"Ctrl+Alt+a producing nothing", 30, false, kCtrlAltHeld, 0, 'a', 0},
      // The base character with its case swapped still counts as the base.
      {"Ctrl+Alt+Shift+a producing A", 30, false, kAllHeld, 'A', 'a', X(30)},
      // Code page 437: e acute is 130, E acute 144, a diaeresis 132.
      {"Ctrl+Alt+2 on a key whose base is e acute, producing E acute", 3, false, kCtrlAltHeld, 144,
       130, X(121)},
      {"Ctrl+Alt+2 on a key whose base is e acute, producing a diaeresis", 3, false, kCtrlAltHeld,
       132, 130, 132},
      {"AltGr+q producing @", 16, false, kCtrlAltHeld, '@', 'q', '@'},
      {"AltGr+e producing the pound sign", 18, false, kCtrlAltHeld, 156, 'e', 156},
      {"Escape", 1, false, kNoModifier, 27, 27, 27},
      {"Ctrl+Alt+Escape", 1, false, kCtrlAltHeld, 27, 27, X(1)},
      {"Ctrl+Alt+Backspace", 14, false, kCtrlAltHeld, 8, 8, X(224)},
      {"left Shift", 42, false, kShiftHeld, 0, 0, 0},
      {"Caps Lock", 58, false, kNoModifier, 0, 0, 0},
      {"Num Lock", 69, false, kNoModifier, 0, 0, 0},
  };
  for (const KeyCase& key : cases) {
    EXPECT_EQ(translateKeyDown(key.scan, key.extended, key.modifiers, key.produced, key.base),
              key.expected)
        << key.name;
  }
}

// A character outside 0..255 would read as an extended code; it reaches the
// queue only through the character event.
TEST(KeyTranslation, CharactersAboveTheByteRangeNeverBecomeKeyCodes) {
  const KeyCase cases[] = {
      {"Cyrillic ya, plain", 44, false, kNoModifier, 0x44F, 0x44F, 0},
      {"Cyrillic ya with Shift", 44, false, kShiftHeld, 0x42F, 0x44F, 0},
      {"AltGr+e producing the euro sign", 18, false, kCtrlAltHeld, 0x20AC, 'e', 0},
      {"beyond the main table", 100, false, kNoModifier, 0x3B1, 0x3B1, 0},
  };
  for (const KeyCase& key : cases) {
    EXPECT_EQ(translateKeyDown(key.scan, key.extended, key.modifiers, key.produced, key.base),
              key.expected)
        << key.name;
  }
}

}  // namespace
}  // namespace quillon
