// Page files: their names, the fields loadPageFile reads, and the runtime
// error when a page file cannot be opened.
#include "data/page_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/record_reader.h"
#include "errors/runtime_error.h"
#include "scratch_folder.h"
#include "support/child_process.h"

namespace quillon {
namespace {

using testing::ScratchFolder;
using testing::WorkingDirectory;

TEST(PageFileNameTest, NamesTakeTheLastThreeCharactersOfTheNumberPlus1000) {
  struct Case {
    int32_t page;
    int32_t book;
    const char* name;
  };
  const std::vector<Case> cases = {
      {0, 0, "L000_000.mem"},
      {7, 0, "L007_000.mem"},
      {123, 0, "L123_000.mem"},
      {999, 0, "L999_000.mem"},
      {1000, 0, "L000_000.mem"},
      {1500, 0, "L500_000.mem"},
      {-1, 0, "L999_000.mem"},
      {-900, 0, "L100_000.mem"},
      {-901, 0, "L99_000.mem"},
      {-995, 0, "L5_000.mem"},
      {-1000, 0, "L0_000.mem"},
      {-1001, 0, "L-1_000.mem"},
      {-1010, 0, "L-10_000.mem"},
      {-1100, 0, "L100_000.mem"},
      // The sum wraps: 2147483647 + 1000 is -2147482649.
      {2147483647, 0, "L649_000.mem"},
      {2147482647, 0, "L647_000.mem"},
      {2147482648, 0, "L648_000.mem"},
      {-2147483648, 0, "L648_000.mem"},
      {5, 1, "L005_001.mem"},
      {5, -1001, "L005_-1.mem"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    EXPECT_EQ(pageFileName(c.page, c.book), c.name);
  }
  EXPECT_EQ(pageFilePath(7, 0), "pages\\L007_000.mem");
  EXPECT_EQ(pageFilePath(-1001, 0), "pages\\L-1_000.mem");
}

TEST(PageFileNameTest, RemoveTrailingQuoteRemovesOneQuoteAtTheEndOnly) {
  struct Case {
    std::string text;
    std::string cleaned;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"\"", ""},
      {"Cave\"", "Cave"},
      {"Cave\"\"", "Cave\""},
      {"Ca\"ve", "Ca\"ve"},
      {"\"Cave", "\"Cave"},
      {"Cave", "Cave"},
      {"Cave\" ", "Cave\" "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string text = c.text;
    removeTrailingQuote(text);
    EXPECT_EQ(text, c.cleaned);
  }
}

class PageFileTest : public ::testing::Test {
 protected:
  void TearDown() override { closeAllSlots(); }

  std::vector<std::string> readTextLines() {
    std::vector<std::string> lines;
    for (int line = 1; line <= 5; ++line) lines.push_back(readString(kPageFileSlot));
    return lines;
  }

  ScratchFolder scratch_;
};

TEST_F(PageFileTest, TheExamplePageReadsItsTwentyFieldsAndLeavesTheTextLines) {
  scratch_.write("pages/L005_000.mem",
                 "Cave mouth,24,24,cave2424.VIS\n"
                 "n,7,0,Go north\n"
                 "s,8,-3,Go down\n"
                 "\" \",9,12,Go back\n"
                 ",0,0,\n"
                 "The cave opens before you.\n"
                 "Water drips somewhere.\n"
                 "A cold wind blows.\n"
                 "You hear a distant echo.\n"
                 "Which way?\n");
  const WorkingDirectory inStory(scratch_.path());
  PageFields fields;
  fields.NM = "stale";
  loadPageFile(5, 0, fields);
  EXPECT_EQ(fields.NM, "Cave mouth");
  EXPECT_EQ(fields.XX, 24);
  EXPECT_EQ(fields.YY, 24);
  EXPECT_EQ(fields.F2, "cave2424.VIS");
  EXPECT_EQ(fields.DAS, (std::array<std::string, 5>{"", "n", "s", " ", ""}));
  EXPECT_EQ(fields.DAI, (std::array<int32_t, 5>{0, 7, 8, 9, 0}));
  EXPECT_EQ(fields.DDAI, (std::array<int32_t, 5>{0, 0, -3, 12, 0}));
  EXPECT_EQ(fields.DDAS, (std::array<std::string, 5>{"", "Go north", "Go down", "Go back", ""}));
  EXPECT_EQ(readTextLines(), (std::vector<std::string>{
                                 "The cave opens before you.", "Water drips somewhere.",
                                 "A cold wind blows.", "You hear a distant echo.", "Which way?"}));
}

TEST_F(PageFileTest, TrailingQuotesLeaveTitleKeysAndLabelsButNotNamesOrText) {
  scratch_.write("pages/L001_000.mem",
                 "Title\"\",3,4,pic.VIS\"\n"
                 "a\",1,0,Label\"\n"
                 "b,2,0,Mid\"dle\n"
                 "\"c\",3,0,Both\"\"\n"
                 ",0,0,\n"
                 "Line one\"\nLine \"two\"\n\"Quoted\"\nplain\nlast\"\"\n");
  const WorkingDirectory inStory(scratch_.path());
  PageFields fields;
  loadPageFile(1, 0, fields);
  EXPECT_EQ(fields.NM, "Title\"");
  EXPECT_EQ(fields.F2, "pic.VIS\"");
  EXPECT_EQ(fields.DAS, (std::array<std::string, 5>{"", "a", "b", "c", ""}));
  EXPECT_EQ(fields.DDAS[1], "Label");
  EXPECT_EQ(fields.DDAS[2], "Mid\"dle");
  EXPECT_EQ(fields.DDAS[3], "Both\"");
  EXPECT_EQ(fields.DAI[3], 3);
  EXPECT_EQ(readTextLines().front(), "Line one\"");
}

TEST_F(PageFileTest, TextLinesAndPictureNamesKeepTheirQuotes) {
  scratch_.write("pages/L002_000.mem",
                 "Ca\"ve,1,1,cave.VIS\"\n"
                 "k,1,0,x\nk,1,0,x\nk,1,0,x\nk,1,0,x\n"
                 "Line one\"\nLine \"two\"\nthree\"\"\nfour\n\"five\"\n");
  const WorkingDirectory inStory(scratch_.path());
  PageFields fields;
  loadPageFile(2, 0, fields);
  EXPECT_EQ(fields.NM, "Ca\"ve");
  EXPECT_EQ(fields.F2, "cave.VIS\"");
  EXPECT_EQ(readTextLines(),
            (std::vector<std::string>{"Line one\"", "Line \"two\"", "three\"\"", "four", "five"}));
}

TEST_F(PageFileTest, ShortAndEmptyPageFilesReadAsEndOfFileValues) {
  scratch_.write("pages/L003_000.mem", "Only a title\"\n");
  scratch_.write("pages/L004_000.mem", "");
  const WorkingDirectory inStory(scratch_.path());
  PageFields fields;
  fields.DAS[2] = "old";
  fields.DAI[4] = 77;
  loadPageFile(3, 0, fields);
  EXPECT_EQ(fields.NM, "Only a title");
  EXPECT_EQ(fields.XX, 0);
  EXPECT_EQ(fields.F2, "");
  EXPECT_EQ(fields.DAS[2], "");
  EXPECT_EQ(fields.DAI[4], 0);
  EXPECT_EQ(readTextLines(), std::vector<std::string>(5, ""));

  loadPageFile(4, 0, fields);
  EXPECT_EQ(fields.NM, "");
  EXPECT_EQ(fields.YY, 0);
  EXPECT_EQ(fields.DDAS[1], "");
}

// Each page entry closes slot 1 first, so loading page after page (and the
// same page again) always starts at the first field.
TEST_F(PageFileTest, LoadingAgainReopensSlotOne) {
  scratch_.write("pages/L000_000.mem", "Start,1,2,a.VIS\nn,7,0,North\n");
  scratch_.write("pages/L007_000.mem", "Seven,3,4,b.VIS\n");
  const WorkingDirectory inStory(scratch_.path());
  PageFields fields;
  loadPageFile(0, 0, fields);
  EXPECT_EQ(fields.NM, "Start");
  loadPageFile(7, 0, fields);
  EXPECT_EQ(fields.NM, "Seven");
  EXPECT_EQ(fields.XX, 3);
  loadPageFile(1000, 0, fields);
  EXPECT_EQ(fields.NM, "Start");
  EXPECT_EQ(fields.DAS[1], "n");
}

TEST_F(PageFileTest, PagesAreFoundWhateverTheLetterCaseOfTheFolderAndName) {
  scratch_.write("Pages/l009_000.MEM", "Nine,1,1,n.VIS\n");
  const WorkingDirectory inStory(scratch_.path());
  PageFields fields;
  loadPageFile(9, 0, fields);
  EXPECT_EQ(fields.NM, "Nine");
}

TEST_F(PageFileTest, AnUnopenablePageFileEndsTheProgramAtLocation47) {
  scratch_.write("pages/L001_000.mem", "One\n");
  scratch_.makeFolder("pages/L002_000.mem");
  const std::string expectedMessage =
      "\nAborting due to runtime error 2 (file not found) at line 47 of Quillon::()\n\n";
  for (int32_t page : {5, 2}) {
    SCOPED_TRACE(page);
    const ChildResult result = runInChild([&] {
      setModuleName(kModuleName);
      setFunctionName("");
      const WorkingDirectory inStory(scratch_.path());
      PageFields fields;
      loadPageFile(1, 0, fields);
      loadPageFile(page, 0, fields);
    });
    EXPECT_TRUE(result.exited) << ::testing::PrintToString(result);
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.stderrBytes, expectedMessage);
    EXPECT_EQ(result.stdoutBytes, "");
  }
}

}  // namespace
}  // namespace quillon
