// walk: random playthroughs in child processes, their aborts and the keys
// that reproduce them.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>

#include "quillon_tool/commands.h"
#include "support/story_fixture.h"
#include "tool_runner.h"

namespace quillon::tool_test {
namespace {

using story_test::ChoiceText;
using story_test::PageText;
using story_test::StoryFolder;

// Pages 0 and 1 lead to each other; with `planted`, page 1 also offers a
// choice to page 5, which has no file.
void writeStory(StoryFolder& folder, bool planted) {
  folder.writePicture("good0302.VIS", story_test::kSmallPicture, story_test::kSmallPictureWidth);
  PageText start = smallPage("Start");
  start.choices[0] = ChoiceText{"a", 1, 0, "One"};
  folder.writePage(0, start);
  PageText one = smallPage("One");
  one.choices[0] = ChoiceText{"h", 0, 0, "Home"};
  if (planted) one.choices[1] = ChoiceText{"t", 5, 0, "Trap"};
  folder.writePage(1, one);
}

nlohmann::json walk(const StoryFolder& folder, int64_t runs, uint64_t seed, int32_t maxKeys,
                    int& status) {
  tool::WalkOptions options;
  options.story = folder.root().string();
  options.runs = runs;
  options.seed = seed;
  options.maxKeys = maxKeys;
  options.format = tool::OutputFormat::Json;
  std::ostringstream out;
  std::ostringstream err;
  status = tool::runWalk(options, out, err);
  return nlohmann::json::parse(out.str());
}

TEST(WalkCommand, FindsAPlantedAbortWhoseKeysReproduceItWithPlay) {
  StoryFolder folder;
  writeStory(folder, /*planted=*/true);
  int status = -1;
  const nlohmann::json report = walk(folder, 10, 7, 40, status);
  EXPECT_EQ(status, tool::kExitFindings);
  ASSERT_EQ(report["aborts"].size(), 1u) << report.dump(2);
  const nlohmann::json& abort = report["aborts"][0];
  const std::string message = abort["message"];
  EXPECT_NE(message.find("runtime error 2 (file not found) at line 47"), std::string::npos);
  EXPECT_EQ(abort["exit_status"], 2);
  const std::string keys = abort["keys"];
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys.back(), 't');

  const ChildResult replay = runTool({"play", folder.root().string(), "--keys", keys});
  EXPECT_EQ(replay.exitStatus, 2);
  std::string shown = replay.stderrBytes;
  shown.erase(0, shown.find_first_not_of('\n'));
  shown.erase(shown.find_last_not_of('\n') + 1);
  EXPECT_EQ(message, shown + " (exit status 2)");
}

TEST(WalkCommand, ReportsPagesAndPercentageAndNoAbortOnASoundStory) {
  StoryFolder folder;
  writeStory(folder, /*planted=*/false);
  int status = -1;
  const nlohmann::json report = walk(folder, 6, 1, 30, status);
  EXPECT_EQ(status, tool::kExitOk);
  EXPECT_EQ(report["pages_shown"], nlohmann::json::array({0, 1}));
  EXPECT_TRUE(report["page_files_never_shown"].empty());
  EXPECT_EQ(report["highest_percentage"], "0.2%");
  EXPECT_TRUE(report["aborts"].empty());
  EXPECT_EQ(report["ended"]["escape"].get<int>() + report["ended"]["key_limit"].get<int>(), 6);
}

TEST(WalkCommand, TheSameSeedGivesTheSameWalk) {
  StoryFolder folder;
  writeStory(folder, /*planted=*/true);
  int first = -1;
  int second = -1;
  EXPECT_EQ(walk(folder, 5, 42, 25, first), walk(folder, 5, 42, 25, second));
  EXPECT_EQ(first, second);
}

}  // namespace
}  // namespace quillon::tool_test
