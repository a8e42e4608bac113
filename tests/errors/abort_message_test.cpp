// The error table and the composed abort message, byte for byte.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <string>

#include "errors/error_numbers.h"
#include "errors/runtime_error.h"

namespace quillon {
namespace {

struct TableRow {
  int32_t number;
  const char* text;
};

constexpr std::array<TableRow, 18> kTableRows = {{
    {0, ""},
    {1, "illegal function call"},
    {2, "file not found"},
    {3, "file I/O error"},
    {4, "out of memory"},
    {5, "illegal resume"},
    {6, "out of bounds array access"},
    {7, "null pointer access"},
    {8, "no privileges"},
    {9, "\"interrupted\" signal"},
    {10, "\"illegal instruction\" signal"},
    {11, "\"floating point error\" signal"},
    {12, "\"segmentation violation\" signal"},
    {13, "\"termination request\" signal"},
    {14, "\"abnormal termination\" signal"},
    {15, "\"quit request\" signal"},
    {16, "return without gosub"},
    {17, "end of file"},
}};

std::string compose(int32_t number, int32_t location, const char* module = kModuleName,
                    const char* function = "") {
  char buffer[kMessageBufferSize];
  const std::size_t length =
      composeAbortMessage(number, location, module, function, buffer, sizeof buffer);
  EXPECT_EQ(length, std::strlen(buffer)) << "the returned length must match the NUL";
  return std::string(buffer, length);
}

TEST(ErrorTable, EveryRowHasItsExactText) {
  for (const TableRow& row : kTableRows) {
    ASSERT_NE(errorText(row.number), nullptr) << row.number;
    EXPECT_STREQ(errorText(row.number), row.text) << row.number;
  }
}

TEST(ErrorTable, NumbersOutsideTheTableHaveNoText) {
  for (const int32_t number : {-1, 18, 19, 255, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(errorText(number), nullptr) << number;
  }
}

TEST(AbortMessage, EveryTableRowIsNamedInParentheses) {
  for (const TableRow& row : kTableRows) {
    const std::string expected = "\nAborting due to runtime error " + std::to_string(row.number) +
                                 " (" + row.text + ") at line 5 of Quillon::()\n\n";
    EXPECT_EQ(compose(row.number, 5), expected) << row.number;
  }
}

struct MessageCase {
  const char* what;
  int32_t number;
  int32_t location;
  const char* module;
  const char* function;
  const char* expected;
};

// Each row pins one piece of the message: the parenthesised text, the line
// piece with "of", its absence with "in", and the forms for missing names.
const MessageCase kMessageCases[] = {
    {"missing background picture", 2, 32, kModuleName, "",
     "\nAborting due to runtime error 2 (file not found) at line 32 of Quillon::()\n\n"},
    {"condition page out of range", 6, 62, kModuleName, "",
     "\nAborting due to runtime error 6 (out of bounds array access) at line 62 of "
     "Quillon::()\n\n"},
    {"segmentation fault has no line", 12, -1, kModuleName, "",
     "\nAborting due to runtime error 12 (\"segmentation violation\" signal) in Quillon::()\n\n"},
    {"location zero has no line", 2, 0, kModuleName, "",
     "\nAborting due to runtime error 2 (file not found) in Quillon::()\n\n"},
    {"very negative location has no line", 4, INT32_MIN, kModuleName, "",
     "\nAborting due to runtime error 4 (out of memory) in Quillon::()\n\n"},
    {"number 18 has no text", 18, 5, kModuleName, "",
     "\nAborting due to runtime error 18 at line 5 of Quillon::()\n\n"},
    {"negative number has no text", -1, 5, kModuleName, "",
     "\nAborting due to runtime error -1 at line 5 of Quillon::()\n\n"},
    {"row 0 has empty parentheses", 0, 1, kModuleName, "",
     "\nAborting due to runtime error 0 () at line 1 of Quillon::()\n\n"},
    {"extreme numbers are printed whole", INT32_MIN, INT32_MAX, kModuleName, "",
     "\nAborting due to runtime error -2147483648 at line 2147483647 of Quillon::()\n\n"},
    {"zeros inside numbers survive", 100, 1000, kModuleName, "",
     "\nAborting due to runtime error 100 at line 1000 of Quillon::()\n\n"},
    {"function name is printed after the module", 4, 7, kModuleName, "main",
     "\nAborting due to runtime error 4 (out of memory) at line 7 of Quillon::main()\n\n"},
    {"no function name drops the colons", 2, 32, kModuleName, nullptr,
     "\nAborting due to runtime error 2 (file not found) at line 32 of Quillon()\n\n"},
    {"no module name ends the message", 2, 32, nullptr, "",
     "\nAborting due to runtime error 2 (file not found) at line 32\n\n"},
    {"no module name and no line", 13, -1, nullptr, nullptr,
     "\nAborting due to runtime error 13 (\"termination request\" signal)\n\n"},
};

TEST(AbortMessage, IsComposedPieceByPiece) {
  for (const MessageCase& c : kMessageCases) {
    EXPECT_EQ(compose(c.number, c.location, c.module, c.function), c.expected) << c.what;
  }
}

// A module name far longer than the buffer must be cut, not written past it.
TEST(AbortMessage, StopsAtTheBufferSizeAndKeepsTheTerminator) {
  const std::string longModule(3 * kMessageBufferSize, 'M');
  const std::string full =
      "\nAborting due to runtime error 2 (file not found) at line 32 of " + longModule + "::()\n\n";
  constexpr std::size_t kGuard = 32;
  for (const std::size_t size :
       {kMessageBufferSize, std::size_t{64}, std::size_t{10}, std::size_t{1}, std::size_t{0}}) {
    std::array<char, kMessageBufferSize + kGuard> buffer;
    buffer.fill('#');
    const std::size_t length =
        composeAbortMessage(2, 32, longModule.c_str(), "", buffer.data(), size);
    const std::size_t kept = size == 0 ? 0 : size - 1;
    EXPECT_EQ(length, kept) << "size " << size;
    EXPECT_EQ(std::string(buffer.data(), length), full.substr(0, kept)) << "size " << size;
    if (size > 0) {
      EXPECT_EQ(buffer[kept], '\0') << "size " << size;
    }
    for (std::size_t i = size; i < buffer.size(); ++i) {
      ASSERT_EQ(buffer[i], '#') << "byte " << i << " written beyond size " << size;
    }
  }
}

}  // namespace
}  // namespace quillon
