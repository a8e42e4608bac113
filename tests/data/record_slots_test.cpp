// File slots of the record reader: opening, closing, and finding story paths
// on the host.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/record_reader.h"
#include "scratch_folder.h"
#include "support/child_process.h"

namespace quillon {
namespace {

using namespace std::string_literals;
using testing::ScratchFolder;
using testing::WorkingDirectory;

constexpr int32_t kIllegal = 1;
constexpr int32_t kNotFound = 2;

class RecordSlotsTest : public ::testing::Test {
 protected:
  void TearDown() override { closeAllSlots(); }
  ScratchFolder scratch_;
};

TEST_F(RecordSlotsTest, OpenReportsBadSlotsAndUnopenableFiles) {
  const std::string good = scratch_.write("good.txt", "first,second\n").string();
  const std::string folder = scratch_.makeFolder("folder").string();
  struct Case {
    const char* name;
    std::string path;
    int32_t slot;
    int32_t expected;
  };
  const std::vector<Case> cases = {
      {"first slot", good, 1, 0},
      {"last slot", good, 255, 0},
      {"slot 0", good, 0, kIllegal},
      {"slot 256", good, 256, kIllegal},
      {"negative slot", good, -1, kIllegal},
      {"missing file", (scratch_.path() / "missing.txt").string(), 4, kNotFound},
      {"missing folder", (scratch_.path() / "nowhere" / "x.txt").string(), 4, kNotFound},
      {"a file used as a folder", good + "/x.txt", 4, kNotFound},
      {"directory", folder, 4, kNotFound},
      {"directory with a trailing separator", folder + "\\", 4, kNotFound},
      {"root directory", "\\", 4, kNotFound},
      {"empty path", "", 4, kNotFound},
      // A NUL would otherwise cut the path to the name of another file.
      {"path with a NUL", good + "\0.other"s, 4, kNotFound},
      {"bad slot wins over a bad path", "", 0, kIllegal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(openForInput(c.path, c.slot), c.expected);
    if (c.slot >= kFirstSlot && c.slot <= kLastSlot) {
      if (c.expected == 0) {
        EXPECT_EQ(readString(c.slot), "first");
      } else {
        // A failed open leaves the slot free.
        EXPECT_EQ(readString(c.slot), "");
        EXPECT_EQ(openForInput(good, c.slot), 0);
      }
      EXPECT_EQ(closeSlot(c.slot), 0);
    }
  }
}

TEST_F(RecordSlotsTest, OpeningABusySlotFailsAndKeepsTheOpenFile) {
  const std::string one = scratch_.write("one.txt", "1,2,3").string();
  const std::string other = scratch_.write("other.txt", "9").string();
  ASSERT_EQ(openForInput(one, 2), 0);
  EXPECT_EQ(readInteger(2), 1);
  EXPECT_EQ(openForInput(other, 2), kIllegal);
  EXPECT_EQ(readInteger(2), 2);
  EXPECT_EQ(readInteger(2), 3);
}

// A FIFO would block an ordinary open until a writer came; the child is
// killed after the time limit if it does.
TEST_F(RecordSlotsTest, AFifoIsNotAFileAndDoesNotBlock) {
  const std::string fifo = scratch_.makeFifo("pipe").string();
  const ChildResult result =
      runInChild([&] { std::_Exit(openForInput(fifo, 1)); }, std::chrono::milliseconds(10000));
  EXPECT_FALSE(result.timedOut) << ::testing::PrintToString(result);
  EXPECT_TRUE(result.exited) << ::testing::PrintToString(result);
  EXPECT_EQ(result.exitStatus, kNotFound);
}

TEST_F(RecordSlotsTest, ClosingAFreeSlotIsHarmless) {
  const std::string path = scratch_.write("data.txt", "a,b,c").string();
  ASSERT_EQ(openForInput(path, 1), 0);
  EXPECT_EQ(readString(1), "a");
  EXPECT_EQ(closeSlot(3), 0);
  EXPECT_EQ(closeSlot(3), 0);
  EXPECT_EQ(readString(1), "b");
  EXPECT_EQ(openForInput(path, 3), 0);
  EXPECT_EQ(readString(3), "a");
}

TEST_F(RecordSlotsTest, ClosingOutsideTheSlotRangeIsIllegal) {
  for (int32_t slot : {0, -1, 256, 1000}) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(closeSlot(slot), kIllegal);
  }
}

TEST_F(RecordSlotsTest, ReadingAFreeOrInvalidSlotGivesEmptyAndZero) {
  for (int32_t slot : {1, 3, 255, 0, 256, -7}) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(readString(slot), "");
    EXPECT_EQ(readInteger(slot), 0);
    EXPECT_TRUE(slotAtEnd(slot));
  }
}

TEST_F(RecordSlotsTest, SlotsReadIndependently) {
  const std::string page = scratch_.write("page.txt", "title,1\r\nline").string();
  const std::string picture = scratch_.write("picture.txt", "2,2 -1,").string();
  ASSERT_EQ(openForInput(page, 1), 0);
  ASSERT_EQ(openForInput(picture, 3), 0);
  // The blank after the second 2 is followed up on slot 3 only.
  EXPECT_EQ(readInteger(3), 2);
  EXPECT_EQ(readInteger(3), 2);
  EXPECT_EQ(readString(1), "title");
  EXPECT_EQ(readInteger(3), -1);
  EXPECT_EQ(readInteger(1), 1);
  EXPECT_EQ(readInteger(3), 0);
  EXPECT_EQ(readString(1), "line");
}

TEST_F(RecordSlotsTest, ReopeningAClosedSlotStartsAtTheFirstField) {
  const std::string path = scratch_.write("data.txt", "a\rb,c").string();
  ASSERT_EQ(openForInput(path, 5), 0);
  EXPECT_EQ(readString(5), "a");  // leaves "b" in the put-back store
  EXPECT_EQ(closeSlot(5), 0);
  ASSERT_EQ(openForInput(path, 5), 0);
  EXPECT_EQ(readString(5), "a");
  EXPECT_EQ(readString(5), "b");
}

TEST_F(RecordSlotsTest, CloseAllSlotsFreesEverySlot) {
  const std::string path = scratch_.write("data.txt", "x").string();
  for (int32_t slot : {1, 3, 255}) ASSERT_EQ(openForInput(path, slot), 0);
  closeAllSlots();
  for (int32_t slot : {1, 3, 255}) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(readString(slot), "");
    EXPECT_EQ(openForInput(path, slot), 0);
    EXPECT_EQ(readString(slot), "x");
  }
}

TEST_F(RecordSlotsTest, StoryPathsUseEitherSeparatorAndIgnoreLetterCase) {
  scratch_.write("story/intro.txt", "lower");
  scratch_.write("Story/Intro.txt", "upper");
  scratch_.write("story/Notes/Page.MEM", "nested");
  scratch_.write("mixed/Name.txt", "capital");
  scratch_.write("mixed/name.txt", "small");
  scratch_.write("pages/L007_000.mem", "seven");
  if (std::filesystem::exists(scratch_.path() / "mixed" / "NAME.txt") &&
      !std::filesystem::exists(scratch_.path() / "mixed" / "NAME.TXT")) {
    GTEST_SKIP() << "the temporary folder's file system is not case-sensitive";
  }
  const WorkingDirectory inScratch(scratch_.path());
  struct Case {
    const char* path;
    int32_t expected;
    const char* firstField;
  };
  const std::vector<Case> cases = {
      {"story\\intro.txt", 0, "lower"},
      {"story/intro.txt", 0, "lower"},
      {"Story\\Intro.txt", 0, "upper"},
      {"pages\\L007_000.mem", 0, "seven"},
      {"PAGES\\l007_000.MEM", 0, "seven"},
      {"./pages/../PAGES\\L007_000.mem", 0, "seven"},
      // No exact match: of the names that differ only in case, the first in
      // byte order ("Story" before "story", "Name" before "name").
      {"STORY\\INTRO.TXT", 0, "upper"},
      {"mixed\\NAME.TXT", 0, "capital"},
      // An exact component wins even where another matches ignoring case.
      {"story\\INTRO.txt", 0, "lower"},
      {"mixed/name.txt", 0, "small"},
      {"story\\NOTES\\page.mem", 0, "nested"},
      {"story\\missing.txt", kNotFound, ""},
      {"STORY", kNotFound, ""},
      {"pages\\L007_000.mem\\", kNotFound, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(openForInput(c.path, 1), c.expected);
    EXPECT_EQ(readString(1), c.firstField);
    EXPECT_EQ(closeSlot(1), 0);
  }
}

}  // namespace
}  // namespace quillon
