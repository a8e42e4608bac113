// check: every kind of problem found, where it is, with the keys that lead
// there; nothing found in a sound story.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "story_analysis/story_check.h"
#include "support/story_fixture.h"
#include "tool_runner.h"

namespace quillon::tool_test {
namespace {

using story_test::ChoiceText;
using story_test::PageText;
using story_test::StoryFolder;
using tool::CheckReport;
using tool::Finding;
using tool::Severity;

const std::vector<int32_t> kClean3x2 = {4, 2, 1, 14, -1, 15};

ChoiceText choice(std::string key, int64_t target, int64_t condition, std::string label) {
  return {std::move(key), target, condition, std::move(label)};
}

CheckReport check(const StoryFolder& folder) {
  tool::Story story(folder.root());
  return tool::checkStory(story);
}

const Finding* find(const CheckReport& report, const std::string& kind, const std::string& file,
                    int64_t field) {
  for (const Finding& finding : report.findings) {
    if (finding.kind == kind && finding.file == file && finding.field == field) return &finding;
  }
  return nullptr;
}

std::string allFindings(const CheckReport& report) {
  std::string text;
  for (const Finding& f : report.findings) {
    text += f.file + " " + std::to_string(f.field) + " " + f.kind + ": " + f.message +
            (f.keys ? " [keys " + *f.keys + "]" : "") + "\n";
  }
  return text;
}

// One story with every problem check looks for, each on a page of its own
// where possible, and reached by the shortest keys given below.
void writeFaultyStory(StoryFolder& folder) {
  folder.writePicture("good0302.VIS", kClean3x2, 3);
  folder.writePicture("shrt0302.VIS", {4, 2, 1, 14}, 3);            // 4 of 6 values
  folder.writePicture("colr0302.VIS", {4, 300, 1, 14, -1, 15}, 3);  // 300 is no colour

  PageText start = smallPage("Start");
  start.choices = {choice("a", 1, 0, "One"), choice("b", 2, 0, "Two"), choice("c", 1500, 0, "Far"),
                   choice("d", 3, 0, "Three")};
  folder.writePage(0, start);

  PageText one = smallPage(std::string(45, 'T'), "shrt0302.VIS");
  one.lines[0] = std::string(39, 'L');
  one.lines[4] = std::string(45, 'F');
  one.choices = {choice("x", 4, 0, "Four"), choice("x", 8, 0, "Eight"), choice("", 0, 0, "Ghost"),
                 choice("e", 0, 0, "Back")};
  folder.writePage(1, one);

  PageText three = smallPage("Three", "colr0302.VIS");
  three.width = 5;  // the name says 3 x 2
  three.height = 5;
  three.choices = {choice("m", 5, 0, std::string(40, 'M')), choice("n", 8, 0, "End"),
                   choice("o", 6, 0, "Six"), choice("", 0, 0, "")};
  folder.writePage(3, three);

  folder.writePage(4, smallPage("Four", "gone0302.VIS"));  // no such picture

  PageText five = smallPage("Five");
  five.choices[0] = choice("q", 0, 1500, "Q");
  folder.writePage(5, five);

  PageText six = smallPage("Six");
  six.choices[0] = choice("k", 0, 7, "Needs seven");  // page 7 is never visited
  folder.writePage(6, six);

  PageText seven = smallPage("Seven");
  seven.choices[0] = choice("yy", 0, 0, "Two letters");
  folder.writePage(7, seven);

  PageText end = smallPage("The end");
  end.lines = {"Hello, world", "", "", "", "Last line"};  // the comma splits the first line
  folder.writePage(8, end);
}

struct Expected {
  const char* kind;
  const char* file;
  int64_t field;
  Severity severity;
  const char* keys;  // nullptr: none given
  const char* inMessage;
};

TEST(CheckStory, FindsEveryKindOfProblemWithItsFileFieldAndKeys) {
  StoryFolder folder;
  writeFaultyStory(folder);
  const CheckReport report = check(folder);

  const std::vector<Expected> expected = {
      {"missing-page-file", "pages/L000_000.mem", 10, Severity::Error, "b",
       "Aborting due to runtime error 2 (file not found) at line 47"},
      {"target-out-of-range", "pages/L000_000.mem", 14, Severity::Error, "c",
       "at line 47"},  // page 1500 reads L500_000.mem, which is missing
      {"missing-picture", "pages/L004_000.mem", 4, Severity::Error, "ax", "at line 94"},
      {"condition-out-of-range", "pages/L005_000.mem", 7, Severity::Error, "dm",
       "runtime error 6 (out of bounds array access) at line 62"},
      {"unreachable-page", "pages/L007_000.mem", 0, Severity::Warning, nullptr, "page 7"},
      {"dead-end", "pages/L006_000.mem", 0, Severity::Warning, "do", "only Escape"},
      {"never-offered", "pages/L006_000.mem", 7, Severity::Warning, nullptr, "page 7"},
      {"ending", "pages/L008_000.mem", 0, Severity::Note, "dn", "ending"},
      {"same-key", "pages/L001_000.mem", 9, Severity::Warning, "a", "can never be taken"},
      {"empty-key", "pages/L001_000.mem", 13, Severity::Warning, nullptr, "\">Ghost\""},
      {"unusable-key", "pages/L007_000.mem", 5, Severity::Warning, nullptr, "\"yy\""},
      {"short-picture", "sprites/shrt0302.VIS", 5, Severity::Warning, nullptr,
       "missing 2 pixels in colour 0"},
      {"colour-out-of-range", "sprites/colr0302.VIS", 2, Severity::Warning, nullptr,
       "draws colour 44"},
      {"size-from-name", "pages/L003_000.mem", 2, Severity::Warning, nullptr,
       "ignores the width and height 5 x 5"},
      {"title-too-long", "pages/L001_000.mem", 1, Severity::Warning, nullptr,
       "from column 40 of row 2 and wraps it into rows 3 to 4"},
      {"text-too-long", "pages/L001_000.mem", 21, Severity::Warning, nullptr,
       "columns 2 to 40 of row 20"},
      {"text-too-long", "pages/L001_000.mem", 25, Severity::Warning, nullptr,
       "scrolls the whole screen up by 1 row"},
      {"extra-page-fields", "pages/L008_000.mem", 26, Severity::Warning, nullptr,
       "1 more field after field 25, from \"Last line\""},
      {"menu-cut", "pages/L003_000.mem", 8, Severity::Warning, "d",
       "\"m>MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM..\""},  // 2 + 36 + 2
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(std::string(e.kind) + " in " + e.file + " field " + std::to_string(e.field));
    const Finding* finding = find(report, e.kind, e.file, e.field);
    ASSERT_NE(finding, nullptr) << allFindings(report);
    EXPECT_EQ(finding->severity, e.severity);
    EXPECT_NE(finding->message.find(e.inMessage), std::string::npos) << finding->message;
    if (e.keys != nullptr) {
      ASSERT_TRUE(finding->keys.has_value());
      EXPECT_EQ(*finding->keys, e.keys);
    }
  }
  EXPECT_TRUE(report.complete);
}

TEST(CheckStory, ReportsNothingOnASoundStoryAndExitsZero) {
  StoryFolder folder;
  folder.writePicture("good0302.VIS", kClean3x2, 3);
  PageText start = smallPage("Start");
  start.choices[0] = choice("n", 1, 0, "North");
  start.choices[1] = choice(story_test::quoted(" "), 1, 0, "Space too");
  start.choices[2] = choice("h", 1, 0, "");  // a hidden key is allowed
  folder.writePage(0, start);
  PageText north = smallPage("North");
  north.choices[0] = choice("s", 0, 0, "South");
  north.choices[1] = choice("t", 1, 1, "Stay");
  folder.writePage(1, north);

  const CheckReport report = check(folder);
  EXPECT_TRUE(report.findings.empty()) << allFindings(report);
  EXPECT_EQ(report.reachedPages, (std::vector<int32_t>{0, 1}));

  const ChildResult run = runTool({"check", folder.root().string()});
  EXPECT_TRUE(run.exited);
  EXPECT_EQ(run.exitStatus, tool::kExitOk) << run.stdoutBytes << run.stderrBytes;
}

// Edge cases of page numbers and conditions that only the player's own
// rules get right.
TEST(CheckStory, JudgesPageNumbersAndConditionsAsThePlayerDoes) {
  struct Case {
    const char* name;
    ChoiceText startChoice;   // choice 1 of page 0
    ChoiceText secondChoice;  // choice 1 of page 1
    const char* kind;         // expected finding, or "" for none
    const char* file;
    int64_t field;
    const char* inMessage;
  };
  const std::vector<Case> cases = {
      // A not-visited condition on the page itself is never met: it counts as visited.
      {"NotVisitedConditionOnTheCurrentPage", choice("n", 1, 0, "North"),
       choice("b", 0, -1, "Back"), "never-offered", "pages/L001_000.mem", 7,
       "the page shown counts as visited"},
      // Page 1000 has a visit count and shows page 0's file: no error.
      {"PageThousandIsNoError", choice("n", 1000, 0, "Far"), choice("b", 0, 0, "Back"), "", "", 0,
       ""},
      // Page -1 reads L999_000.mem, which exists here, then fails its visit count.
      {"NegativeTargetReadsAnotherPagesFile", choice("n", -1, 0, "Below"),
       choice("b", 0, 0, "Back"), "target-out-of-range", "pages/L000_000.mem", 6,
       "reads the page file pages/L999_000.mem and stops: \"Aborting due to runtime "
       "error 6 (out of bounds array access) at line 83"},
      // A condition's range is checked even when another choice would do.
      {"ConditionBeyondTheTableOnAnyChoice", choice("n", 1, 0, "North"),
       choice("b", 0, -1001, "Back"), "condition-out-of-range", "pages/L001_000.mem", 7,
       "at line 62"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoryFolder folder;
    folder.writePicture("good0302.VIS", kClean3x2, 3);
    PageText start = smallPage("Start");
    start.choices[0] = c.startChoice;
    start.choices[1] = choice("z", 1, 0, "One");
    folder.writePage(0, start);
    PageText one = smallPage("One");
    one.choices[0] = c.secondChoice;
    one.choices[1] = choice("r", 0, 0, "Restart");
    folder.writePage(1, one);
    PageText last = smallPage("Last");
    last.choices[0] = choice("r", 0, 0, "Restart");
    folder.writePage(999, last);
    const CheckReport report = check(folder);
    std::vector<Finding> problems;
    for (const Finding& f : report.findings) {
      if (f.kind != "unreachable-page") problems.push_back(f);
    }
    if (std::string(c.kind).empty()) {
      EXPECT_TRUE(problems.empty()) << allFindings(report);
      continue;
    }
    const Finding* finding = find(report, c.kind, c.file, c.field);
    ASSERT_NE(finding, nullptr) << allFindings(report);
    EXPECT_NE(finding->message.find(c.inMessage), std::string::npos) << finding->message;
  }
}

TEST(CheckStory, TellsThatAConditionOnAPageForgottenAtRestartIsNeverOffered) {
  StoryFolder folder;
  folder.writePicture("good0302.VIS", kClean3x2, 3);
  PageText start = smallPage("Start");
  start.choices[0] = choice("n", 1, 0, "North");
  start.choices[1] = choice("b", 1, 1, "Boat");  // page 1 is forgotten on the way back
  folder.writePage(0, start);
  PageText one = smallPage("One");
  one.choices[0] = choice("h", 0, 0, "Home");
  folder.writePage(1, one);
  const CheckReport report = check(folder);
  const Finding* finding = find(report, "never-offered", "pages/L000_000.mem", 11);
  ASSERT_NE(finding, nullptr) << allFindings(report);
  EXPECT_NE(finding->message.find("page 1 has never been visited when page 0 is shown"),
            std::string::npos);
}

TEST(CheckStory, AMissingBackgroundStopsEverything) {
  StoryFolder folder(/*withBackground=*/false);
  folder.writePicture("good0302.VIS", kClean3x2, 3);
  folder.writePage(0, smallPage("Start"));
  const CheckReport report = check(folder);
  ASSERT_EQ(report.findings.size(), 1u) << allFindings(report);
  EXPECT_EQ(report.findings[0].kind, "missing-background");
  EXPECT_EQ(report.findings[0].file, "sprites/bkgd2424.VIS");
  EXPECT_NE(report.findings[0].message.find("at line 32"), std::string::npos);
}

TEST(CheckStory, AMissingStartPageIsReportedOnItsFile) {
  StoryFolder folder;
  const CheckReport report = check(folder);
  const Finding* finding = find(report, "missing-page-file", "pages/L000_000.mem", 0);
  ASSERT_NE(finding, nullptr) << allFindings(report);
  EXPECT_NE(finding->message.find("cannot start"), std::string::npos);
}

TEST(CheckCommand, ExitsOneWithFindingsAndWritesJsonForMachines) {
  StoryFolder folder;
  writeFaultyStory(folder);
  const ChildResult run = runTool({"check", folder.root().string(), "--format", "json"});
  ASSERT_TRUE(run.exited);
  EXPECT_EQ(run.exitStatus, tool::kExitFindings) << run.stderrBytes;
  const nlohmann::json report = nlohmann::json::parse(run.stdoutBytes);
  EXPECT_GE(report["counts"]["error"].get<int>(), 4);
  bool sawMissingPage = false;
  for (const auto& finding : report["findings"]) {
    if (finding["kind"] == "missing-page-file") {
      sawMissingPage = true;
      EXPECT_EQ(finding["file"], "pages/L000_000.mem");
      EXPECT_EQ(finding["field"], 10);
      EXPECT_EQ(finding["keys"], "b");
      EXPECT_EQ(finding["severity"], "error");
    }
  }
  EXPECT_TRUE(sawMissingPage);
}

TEST(CheckCommand, TextReportNamesFileFieldAndKeys) {
  StoryFolder folder;
  writeFaultyStory(folder);
  const ChildResult run = runTool({"check", folder.root().string()});
  EXPECT_EQ(run.exitStatus, tool::kExitFindings);
  const std::string line =
      "pages/L000_000.mem field 10: error [missing-page-file]: choice 2 (key b) leads to page 2, "
      "whose file pages/L002_000.mem cannot be opened: the player stops: \"Aborting due to "
      "runtime error 2 (file not found) at line 47 of Quillon::()\" (exit status 2)\n"
      "    keys: b\n";
  EXPECT_NE(run.stdoutBytes.find(line), std::string::npos) << run.stdoutBytes;
  EXPECT_NE(run.stdoutBytes.find(": 4 errors, "), std::string::npos) << run.stdoutBytes;
}

// A story too large to explore whole must not be said to have unreachable
// pages it was not explored far enough to reach.
TEST(CheckStory, AnExplorationCutShortSaysSoAndClaimsNoUnreachablePages) {
  StoryFolder folder;
  writeFaultyStory(folder);
  tool::Story story(folder.root());
  const CheckReport report = tool::checkStory(story, 2);
  EXPECT_FALSE(report.complete);
  EXPECT_NE(find(report, "analysis-incomplete", "pages/L000_000.mem", 0), nullptr)
      << allFindings(report);
  for (const Finding& finding : report.findings) {
    EXPECT_NE(finding.kind, "unreachable-page");
    EXPECT_NE(finding.kind, "never-offered");
  }
}

TEST(CheckCommand, UsageErrorsExitTwo) {
  const std::vector<std::vector<std::string>> usages = {
      {"check"},
      {"check", "/nonexistent-story-folder"},
      {"check", ".", "--format", "xml"},
      {"frobnicate"},
      {},
  };
  for (const auto& arguments : usages) {
    const ChildResult run = runTool(arguments);
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.exitStatus, tool::kExitUsage) << run.stderrBytes;
  }
}

}  // namespace
}  // namespace quillon::tool_test
