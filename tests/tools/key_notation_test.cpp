// The key notation of play --keys and of the keys that reports give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/key_queue.h"
#include "story_analysis/key_notation.h"

namespace quillon::tool_test {
namespace {

using tool::keyCodeOfKeyString;
using tool::keyNotation;
using tool::parseKeyNotation;

TEST(KeyNotation, ParsesCharactersNamesCodesAndRepeats) {
  struct Case {
    const char* text;
    std::vector<int32_t> codes;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"nb", {'n', 'b'}},
      {"{Esc}{Tab}{Backspace}{Enter}{Space}", {27, 9, 8, 13, 32}},
      {"{escape}{BS}{return}{ESC}", {27, 8, 13, 27}},
      {"{Up}{Down}{Left}{Right}",
       {extendedKeyCode(72), extendedKeyCode(80), extendedKeyCode(75), extendedKeyCode(77)}},
      {"{Home}{End}{PgUp}{PgDn}{Ins}{Del}",
       {extendedKeyCode(71), extendedKeyCode(79), extendedKeyCode(73), extendedKeyCode(81),
        extendedKeyCode(82), extendedKeyCode(83)}},
      {"{F1}{F10}{F11}{F12}",
       {extendedKeyCode(59), extendedKeyCode(68), extendedKeyCode(133), extendedKeyCode(134)}},
      {"{Close}", {kCloseKeyCode}},
      {"{{a}", {'{', 'a', '}'}},
      {"{0}{7}{255}", {0, 7, 255}},
      {"{Ext 15}{ext 107}", {extendedKeyCode(15), kCloseKeyCode}},
      {"{Down*3}x", {extendedKeyCode(80), extendedKeyCode(80), extendedKeyCode(80), 'x'}},
      {"{ 65 * 2 }", {65, 65}},
      // UTF-8 becomes the code page 437 byte a keyboard would give.
      {"\xC3\xA9", {130}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<int32_t> codes;
    std::string error;
    ASSERT_TRUE(parseKeyNotation(c.text, codes, error)) << error;
    EXPECT_EQ(codes, c.codes);
  }
}

TEST(KeyNotation, RejectsMalformedSequencesWithAReason) {
  struct Case {
    const char* text;
    const char* inError;
  };
  const std::vector<Case> cases = {
      {"a{Esc", "unclosed {"},
      {"{Escap}", "unknown key {Escap}"},
      {"{256}", "unknown key {256}"},
      {"{Ext 0}", "unknown key"},
      {"{Ext 256}", "unknown key"},
      {"{}", "unknown key {}"},
      {"{Tab*0}", "bad repeat count"},
      {"{Tab*}", "bad repeat count"},
      {"\xE2\x82\xAC", "no code page 437 byte"},  // the euro sign
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<int32_t> codes;
    std::string error;
    EXPECT_FALSE(parseKeyNotation(c.text, codes, error));
    EXPECT_NE(error.find(c.inError), std::string::npos) << error;
  }
}

// Reports print keys that play must read back as the same codes: every key
// a queue can deliver.
TEST(KeyNotation, EveryKeyWrittenOutReadsBackTheSame) {
  std::vector<int32_t> all;
  for (int32_t code = 0; code <= 255; ++code) all.push_back(code);
  for (int32_t extended = 1; extended <= 255; ++extended) all.push_back(extendedKeyCode(extended));
  const std::string text = keyNotation(all);
  std::vector<int32_t> codes;
  std::string error;
  ASSERT_TRUE(parseKeyNotation(text, codes, error)) << error;
  EXPECT_EQ(codes, all);
  EXPECT_EQ(keyNotation(std::vector<int32_t>{'n', 32, 27, '{', 7}), "n{Space}{Esc}{{{7}");
}

TEST(KeyNotation, KeyStringsThatAKeyPressCanGive) {
  struct Case {
    std::string key;
    std::optional<int32_t> code;
  };
  const std::vector<Case> cases = {
      {"n", 'n'},
      {" ", 32},
      {"\x1b", 27},
      {std::string("\xFF\x48", 2), extendedKeyCode(72)},
      {"", std::nullopt},
      {"ab", std::nullopt},
      {"n ", std::nullopt},  // a trailing blank kept by the reader
      {std::string("\xFF\x00", 2), std::nullopt},
      {"abc", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(keyCodeOfKeyString(c.key), c.code);
  }
}

}  // namespace
}  // namespace quillon::tool_test
