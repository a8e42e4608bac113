// Integer fields read alike wherever they fall in the 8192-byte read buffer:
// plain fields ("123,") are read straight from the buffer, everything else
// character by character, and a field may straddle two buffer loads.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/record_reader.h"
#include "scratch_folder.h"

namespace quillon {
namespace {

using testing::ScratchFolder;
using testing::WorkingDirectory;

constexpr std::size_t kBufferSize = 8192;
constexpr int32_t kSlot = 3;
constexpr int32_t kSentinel = 7;

TEST(RecordIntegerBufferTest, FieldsGiveTheSameValueAtEveryPositionAroundABufferEdge) {
  struct Case {
    const char* text;  // one field with its separator
    int32_t value;
  };
  const std::vector<Case> cases = {
      {"123,", 123},
      {"-5,", -5},
      {"-0,", 0},
      {"0,", 0},
      {"999999999,", 999999999},
      // Ten digits and more go through the full decimal rule.
      {"1234567890,", 1234567890},
      {"4294967295,", -1},
      {"99999999999,", -1},
      {"-2147483648,", -2147483647 - 1},
      {"12\n", 12},
      {"12\r\n", 12},
      {"-,", 0},
      {"+7,", 7},
      {" 8,", 8},
      {"1e2,", 100},
      {"&HFF,", 255},
      {"12abc,", 12},
      {"\"34\",", 34},
  };
  const ScratchFolder scratch;
  const WorkingDirectory inScratch(scratch.path());
  for (const Case& c : cases) {
    const std::string field = c.text;
    // The field starts a few bytes before the edge, on it, and just after it.
    for (std::size_t before = 0; before <= field.size() + 1; ++before) {
      SCOPED_TRACE(::testing::Message()
                   << "field " << ::testing::PrintToString(field) << " starting " << before
                   << " bytes before the buffer edge");
      // Padding of "0," fields, the first "00," when the length is odd: half
      // the padding's length in fields, all reading 0.
      const std::size_t padding = kBufferSize - before;
      std::string text = padding % 2 == 1 ? "00," : "";
      while (text.size() < padding) text += "0,";
      ASSERT_EQ(text.size(), padding);
      text += field + std::to_string(kSentinel) + "\n";
      scratch.write("fields.txt", text);
      ASSERT_EQ(openForInput("fields.txt", kSlot), 0);
      for (std::size_t i = 0; i < padding / 2; ++i) {
        const int32_t zero = readInteger(kSlot);
        if (zero != 0) {
          ADD_FAILURE() << "padding field " << i << " reads " << zero;
          break;
        }
      }
      EXPECT_EQ(readInteger(kSlot), c.value);
      EXPECT_EQ(readInteger(kSlot), kSentinel);
      EXPECT_TRUE(slotAtEnd(kSlot));
      closeSlot(kSlot);
    }
  }
}

}  // namespace
}  // namespace quillon
