// Fields of record text: how a file's bytes become the values of successive
// readString and readInteger calls.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "data/record_reader.h"
#include "scratch_folder.h"

namespace quillon {
namespace {

using namespace std::string_literals;
using testing::ScratchFolder;

// The expected value also says how the field is read: a string value by
// readString, an integer value by readInteger.
using FieldValue = std::variant<std::string, int32_t>;

FieldValue S(std::string text) { return FieldValue(std::move(text)); }
FieldValue I(int32_t value) { return FieldValue(value); }

constexpr int32_t kOutOfRange = std::numeric_limits<int32_t>::min();
constexpr int32_t kSlot = 1;

struct FileCase {
  std::string name;
  std::string fileText;
  std::vector<FieldValue> values;
};

class RecordFieldsTest : public ::testing::Test {
 protected:
  void TearDown() override { closeAllSlots(); }

  // Writes the file, opens it and reads one field of each expected kind.
  std::vector<FieldValue> readAll(const FileCase& row, int32_t slot = kSlot) {
    const auto path = scratch_.write("case.txt", row.fileText);
    EXPECT_EQ(closeSlot(slot), 0);
    EXPECT_EQ(openForInput(path.string(), slot), 0);
    std::vector<FieldValue> values;
    for (const FieldValue& expected : row.values) {
      if (std::holds_alternative<std::string>(expected)) {
        values.push_back(S(readString(slot)));
      } else {
        values.push_back(I(readInteger(slot)));
      }
    }
    EXPECT_EQ(closeSlot(slot), 0);
    return values;
  }

  void checkAll(const std::vector<FileCase>& table) {
    for (const FileCase& row : table) {
      SCOPED_TRACE(row.name);
      EXPECT_EQ(readAll(row), row.values);
    }
  }

  ScratchFolder scratch_;
};

TEST_F(RecordFieldsTest, FileTextsGiveTheValuesOfSuccessiveReads) {
  checkAll({
      {"comma and line end separate", "abc,def\n", {S("abc"), S("def"), S("")}},
      {"leading blanks skipped, trailing kept", "  abc  ,  def  \n", {S("abc  "), S("def  ")}},
      {"comma inside quotes, blanks after the closing quote", "\"a,b\" , c\n", {S("a,b"), S("c")}},
      {"text after a closing quote is a field", "\"abc\"def,ghi\n", {S("abc"), S("def"), S("ghi")}},
      {"a doubled quote is no escape", "\"ab\"\"cd\"\n", {S("ab"), S("cd")}},
      {"a quoted field ends at the line end", "\"abc\nxyz", {S("abc"), S("xyz")}},
      {"empty quoted field", "\"\"\n", {S("")}},
      {"page-like header",
       "Title\",24,24,\"pic.VIS\"\n",
       {S("Title\""), I(24), I(24), S("pic.VIS")}},
      {"a blank ends a number", "1 2,3\n", {I(1), I(2), I(3)}},
      {"a blank stays in a string", "1 2,3\n", {S("1 2"), S("3")}},
      {"comma before a line end adds an empty field", "1,2,\n3\n", {I(1), I(2), I(0), I(3)}},
      {"empty fields and an empty line", "1,,2\n\n5", {I(1), I(0), I(2), I(0), I(5)}},
      {"floating values round to even",
       "3.7,2.5,3.5,-2.5,1e2,1d2",
       {I(4), I(2), I(4), I(-2), I(100), I(100)}},
      {"radix forms", "&HFF,&O17,&B101,&17,&", {I(255), I(15), I(5), I(15), I(0)}},
      {"decimal prefixes and 32-bit wrap", "12abc,abc,-1,4294967295", {I(12), I(0), I(-1), I(-1)}},
      {"saturation and out of range", "99999999999,1e10", {I(-1), I(kOutOfRange)}},
      {"quotes in numeric fields", "\"12\"34,\"1 2\",12\"", {I(1234), I(1), I(12)}},
      {"CR LF, lone CR, CR CR LF", "a\r\nb\rc\r\r\nd", {S("a"), S("b"), S("c"), S("d"), S("")}},
      {"CR at the end of the file", "x,y\r", {S("x"), S("y"), S("")}},
      {"Ctrl-Z ends the file",
       "x,y\x1a"
       "z,w",
       {S("x"), S("y"), S("")}},
      {"a byte-order mark belongs to the first field",
       "\xEF\xBB\xBF"
       "5,6",
       {I(0), I(6)}},
      {"a NUL cuts the string value", "ab\0cd,e"s, {S("ab"), S("e")}},
      // The three ways a string value can end with a quote.
      {"unquoted field ending with a quote", "Cave\",x\n", {S("Cave\""), S("x")}},
      {"text after a closing quote keeps its quotes", "\"Say \"hi\"\"\n", {S("Say "), S("hi\"\"")}},
      {"a quote as the last character of a full field",
       std::string(4095, 'q') + "\"rest",
       {S(std::string(4095, 'q') + "\""), S("rest")}},
  });
}

TEST_F(RecordFieldsTest, IntegerFieldsConvertLikeTheCLibraryWithRadixForms) {
  checkAll({
      {"ties go to the even neighbour",
       "0.5,1.5,-0.5,-1.5,5e-1,15e-1,.5e1",
       {I(0), I(2), I(0), I(-2), I(0), I(2), I(5)}},
      {"edges of the int32 range when floating",
       "2147483647.4,2147483647.5,-2147483648.5,-2147483648.6",
       {I(2147483647), I(kOutOfRange), I(-2147483648), I(kOutOfRange)}},
      {"underflow is zero", "1e-400,-1e-400", {I(0), I(0)}},
      {"exponent letters without digits", "1e,1E+,e5,.", {I(1), I(1), I(0), I(0)}},
      {"d and D are exponent letters", "1D1,25d-1", {I(10), I(2)}},
      {"infinity and NaN are out of range",
       "inf.,-Infinity.,nan.,NAN(12).",
       {I(kOutOfRange), I(kOutOfRange), I(kOutOfRange), I(kOutOfRange)}},
      // "0x" at the start of a floating rest is 0; after a sign, strtod reads hex.
      {"hexadecimal floating forms", "0x1.8,-0x1.8p1,+0x.8p1", {I(0), I(-3), I(1)}},
      {"decimal magnitudes wrap and saturate",
       "2147483647,2147483648,4294967296,-4294967295,-2147483648",
       {I(2147483647), I(kOutOfRange), I(-1), I(1), I(kOutOfRange)}},
      // A 32-bit strtoul reports the overflow as ULONG_MAX whatever the sign.
      {"minus with a magnitude above 32 bits", "-4294967296,-99999999999", {I(-1), I(-1)}},
      {"signs and non-digits", "+7,-0,--5,+,0x10", {I(7), I(0), I(0), I(0), I(0)}},
      {"radix values wrap modulo 2^32",
       "&HFFFFFFFF,&H100000001,&h7fffffff",
       {I(-1), I(1), I(2147483647)}},
      // After `&` the letters d, D, e and E are hexadecimal digits, not exponents.
      {"letters after an ampersand", "&HD,&hd,&H1E,&H1.5", {I(13), I(13), I(30), I(1)}},
      {"radix digits stop at the first non-digit",
       "&B102,&O8,&9,&777,&B,&o",
       {I(2), I(0), I(0), I(511), I(0), I(0)}},
      {"leading blanks inside quotes", "\"  42\",\"\t7\",\"  &H10\"", {I(42), I(7), I(16)}},
      {"a number field is cut after 67 characters",
       "1234567890123456789012345678901234567890123456789012345678901234567890\n",
       {I(-1), I(890), I(0)}},
  });
}

// Bytes a story file should not contain still read as defined values.
TEST_F(RecordFieldsTest, HostileBytesGiveDefinedValues) {
  std::string highBytes;
  for (int byte = 128; byte <= 255; ++byte) highBytes += static_cast<char>(byte);

  std::vector<FieldValue> nineValues(15, I(-1));  // 1000 = 14 * 67 + 62 digits
  nineValues.push_back(I(0));

  checkAll({
      {"NUL bytes in strings", "\0lead,ab\0cd\0ef,tail\0"s, {S(""), S("ab"), S("tail"), S("")}},
      {"NUL bytes in numbers",
       "1\x00"
       "2,\0,3"s,
       {I(1), I(0), I(3)}},
      {"bytes 128 to 255 are ordinary characters", highBytes + ",z\n", {S(highBytes), S("z")}},
      {"a high byte before digits",
       "\xB2"
       "7,8",
       {I(0), I(8)}},
      {"lone CRs", "a\rb\r\rc", {S("a"), S("b"), S(""), S("c"), S("")}},
      {"a CR inside quotes ends the field", "\"a\rb\"", {S("a"), S("b\"")}},
      {"Ctrl-Z at the start",
       "\x1a"
       "abc",
       {S(""), S(""), I(0)}},
      {"Ctrl-Z inside quotes",
       "\"ab\x1a"
       "cd\"",
       {S("ab"), S("")}},
      {"Ctrl-Z after a CR",
       "a\r\x1a"
       "b",
       {S("a"), S("")}},
      {"a byte-order mark before a title",
       "\xEF\xBB\xBF"
       "Cave,5\n",
       {S("\xEF\xBB\xBF"
          "Cave"),
        I(5)}},
      {"a number of 1000 digits", std::string(1000, '9') + "\n", nineValues},
      {"huge exponents and NaN",
       "1e999,-1e999,nan.",
       {I(kOutOfRange), I(kOutOfRange), I(kOutOfRange)}},
      {"forty hexadecimal digits keep the last eight",
       "&H0123456789012345678901234567890123456789,&B1" + std::string(39, '0'),
       {I(0x23456789), I(0)}},
      {"a quoted field longer than the limit",
       "\"" + std::string(4100, 'a') + "\"\n",
       {S(std::string(4096, 'a')), S("aaaa\""), S("")}},
  });
}

// Only the first 4096 bytes of each field are kept; the rest of the line goes
// on as further fields, one character at a time, with nothing lost.
TEST_F(RecordFieldsTest, ATenMegabyteLineReadsAsFullFields) {
  constexpr std::size_t kTenMegabytes = 10 * 1024 * 1024;
  std::string line(kTenMegabytes, 'a');
  for (std::size_t i = 0; i < line.size(); i += kMaxStringField) line[i] = 'b';
  const auto path = scratch_.write("long.txt", line + ",end\n");
  ASSERT_EQ(openForInput(path.string(), kSlot), 0);
  const std::string field = "b" + std::string(kMaxStringField - 1, 'a');
  for (std::size_t i = 0; i < kTenMegabytes / kMaxStringField; ++i) {
    ASSERT_EQ(readString(kSlot), field) << "field " << i;
  }
  EXPECT_EQ(readString(kSlot), "end");
  EXPECT_EQ(readString(kSlot), "");
  EXPECT_TRUE(slotAtEnd(kSlot));
}

TEST_F(RecordFieldsTest, AFieldLongerThanTheLimitContinuesAsTheNextField) {
  const std::string letters(4100, 'k');
  EXPECT_EQ(readAll({"4100 letters", letters + ",next\n", {S(""), S(""), S("")}}),
            (std::vector<FieldValue>{S(letters.substr(0, 4096)), S("kkkk"), S("next")}));
}

TEST_F(RecordFieldsTest, ReadsPastTheEndReturnEmptyAndZeroForever) {
  const auto path = scratch_.write("short.txt", "only,7\n");
  ASSERT_EQ(openForInput(path.string(), kSlot), 0);
  EXPECT_EQ(readString(kSlot), "only");
  EXPECT_EQ(readInteger(kSlot), 7);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(readString(kSlot), "");
    EXPECT_EQ(readInteger(kSlot), 0);
    EXPECT_TRUE(slotAtEnd(kSlot));
  }
  EXPECT_EQ(closeSlot(kSlot), 0);
}

// The field reader consumes an LF after a CR by itself, so the CR LF pair is
// only observable through CR CR LF: one line end there, not two. The split
// puts the pair's halves into different 8192-byte loads.
TEST_F(RecordFieldsTest, TranslationWorksAcrossTheBufferBoundary) {
  struct Tail {
    const char* name;
    std::string bytes;  // starts at offset 8190
    std::vector<std::string> values;
  };
  const std::vector<Tail> tails = {
      {"CR CR | LF", "\r\r\nd", {"", "d", ""}},
      {"c CR | LF", "c\r\nd", {"c", "d", ""}},
      {"c CR | letter", "c\rd", {"c", "d", ""}},
      {"c CR | Ctrl-Z",
       "c\r\x1a"
       "d",
       {"c", "", ""}},
      {"c | Ctrl-Z",
       "cc\x1a"
       "d",
       {"cc", ""}},
  };
  const std::size_t prefixFields = 4095;  // "x," each: 8190 bytes
  std::string prefix;
  for (std::size_t i = 0; i < prefixFields; ++i) prefix += "x,";
  for (const Tail& tail : tails) {
    SCOPED_TRACE(tail.name);
    const auto path = scratch_.write("boundary.txt", prefix + tail.bytes);
    ASSERT_EQ(openForInput(path.string(), kSlot), 0);
    for (std::size_t i = 0; i < prefixFields; ++i) ASSERT_EQ(readString(kSlot), "x") << i;
    std::vector<std::string> values;
    for (std::size_t i = 0; i < tail.values.size(); ++i) values.push_back(readString(kSlot));
    EXPECT_EQ(values, tail.values);
    EXPECT_EQ(closeSlot(kSlot), 0);
  }
}

TEST_F(RecordFieldsTest, SlotAtEndSeesOnlyRealCharacters) {
  const auto path = scratch_.write("end.txt",
                                   "a,\r\n"
                                   "\x1a"
                                   "more");
  ASSERT_EQ(openForInput(path.string(), kSlot), 0);
  EXPECT_FALSE(slotAtEnd(kSlot));
  EXPECT_EQ(readString(kSlot), "a");
  // The line end after the comma is still a field to come.
  EXPECT_FALSE(slotAtEnd(kSlot));
  EXPECT_EQ(readString(kSlot), "");
  EXPECT_TRUE(slotAtEnd(kSlot));
  EXPECT_EQ(closeSlot(kSlot), 0);
  EXPECT_TRUE(slotAtEnd(kSlot));
}

TEST_F(RecordFieldsTest, LookingForTheEndDoesNotChangeTheFields) {
  // Every read is preceded by a look for the end, which must leave lone CRs
  // and CR CR LF exactly as they were.
  const auto path = scratch_.write("peek.txt", "a\rb\r\r\nc\r\rd");
  ASSERT_EQ(openForInput(path.string(), kSlot), 0);
  std::vector<std::string> values;
  while (!slotAtEnd(kSlot)) values.push_back(readString(kSlot));
  EXPECT_EQ(values, (std::vector<std::string>{"a", "b", "c", "", "d"}));
}

}  // namespace
}  // namespace quillon
