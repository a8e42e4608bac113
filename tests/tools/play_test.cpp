// play: the player's own run, headless, with its pages, screens and status.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "player/scripted_session.h"
#include "support/story_harness.h"
#include "tool_runner.h"

namespace quillon::tool_test {
namespace {

using story_test::ChoiceText;
using story_test::PageText;
using story_test::StoryFolder;

// Page 0 leads to page 1 (a) and to page 2, which has no file (b).
void writeStory(StoryFolder& folder) {
  folder.writePicture("good0302.VIS", story_test::kSmallPicture, story_test::kSmallPictureWidth);
  PageText start = smallPage("Start");
  start.choices[0] = ChoiceText{"a", 1, 0, "One"};
  start.choices[1] = ChoiceText{"b", 2, 0, "Two"};
  folder.writePage(0, start);
  PageText one = smallPage("One");
  one.choices[0] = ChoiceText{"h", 0, 0, "Home"};
  folder.writePage(1, one);
}

std::string abortBytes(int32_t number, int32_t location) {
  char buffer[kMessageBufferSize];
  const std::size_t length =
      composeAbortMessage(number, location, kModuleName, "", buffer, sizeof buffer);
  return std::string(buffer, length);
}

TEST(PlayCommand, PrintsEachPageShownAndEndsWithThePlayersStatus) {
  StoryFolder folder;
  writeStory(folder);
  struct Case {
    const char* keys;
    int status;
    std::string out;
    std::string err;
  };
  const std::vector<Case> cases = {
      {"a{Esc}", 0, "page 0: Start\npage 1: One\n", ""},
      // Map, label and keys that match nothing show no new page.
      {"x{Tab}q{Backspace}{Close}ah{Esc}", 0, "page 0: Start\npage 1: One\npage 0: Start\n", ""},
      {"b", 2, "page 0: Start\npage 2: not shown\n", abortBytes(2, 47)},
      {"a", kScriptExhaustedStatus,
       "page 0: Start\npage 1: One\nkeys used up on page 1: the player is ended with exit "
       "status 100\n",
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    const ChildResult run = runTool({"play", folder.root().string(), "--keys", c.keys});
    ASSERT_TRUE(run.exited) << ::testing::PrintToString(run);
    EXPECT_EQ(run.exitStatus, c.status);
    EXPECT_EQ(run.stdoutBytes, c.out);
    EXPECT_EQ(run.stderrBytes, c.err);
  }
}

// The screenshot is the player's own screen: the same pixels the test
// harness gets from the player at the same key wait.
TEST(PlayCommand, ScreenshotsAreThePlayersScreens) {
  StoryFolder folder;
  writeStory(folder);
  const std::filesystem::path shots = folder.root() / "shots";
  const std::filesystem::path final = folder.root() / "final.png";
  const ChildResult run = runTool({"play", folder.root().string(), "--keys", "a{Backspace}",
                                   "--screenshot", final.string(), "--shots", shots.string()});
  ASSERT_EQ(run.exitStatus, kScriptExhaustedStatus) << run.stderrBytes;

  const story_test::StoryRun player = story_test::playStory(folder, std::vector<int32_t>{'a', 8});
  ASSERT_EQ(player.screens.size(), 3u);
  const std::vector<std::string> names = {"0000-p000.png", "0001-p001.png", "0002-p001.png"};
  for (std::size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    RgbImage shot;
    ASSERT_TRUE(readPng((shots / names[i]).string(), shot));
    EXPECT_TRUE(story_test::sameImage(shot, player.screens[i]));
  }
  RgbImage last;
  ASSERT_TRUE(readPng(final.string(), last));
  EXPECT_TRUE(story_test::sameImage(last, player.screens[2]));
  ASSERT_TRUE(readPng((shots / "end.png").string(), last));
  EXPECT_TRUE(story_test::sameImage(last, player.screens[2]));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(shots),
                          std::filesystem::directory_iterator()),
            4);
}

// At an abort the screenshot is what the window showed when the player
// stopped: the screen before the failed entry.
TEST(PlayCommand, ScreenshotOfAnAbortShowsTheLastScreenSeen) {
  StoryFolder folder;
  writeStory(folder);
  const std::filesystem::path final = folder.root() / "final.png";
  const ChildResult run =
      runTool({"play", folder.root().string(), "--keys", "b", "--screenshot", final.string()});
  ASSERT_EQ(run.exitStatus, 2);
  const story_test::StoryRun player = story_test::playStory(folder, std::vector<int32_t>{'b'});
  ASSERT_FALSE(player.closingScreens.empty());
  RgbImage last;
  ASSERT_TRUE(readPng(final.string(), last));
  EXPECT_TRUE(story_test::sameImage(last, player.closingScreens.front()));
  EXPECT_TRUE(story_test::sameImage(last, player.screens.front()));
}

TEST(PlayCommand, UsageErrorsExitSixtyFourSinceTwoIsThePlayers) {
  StoryFolder folder;
  writeStory(folder);
  const std::vector<std::vector<std::string>> usages = {
      {"play", folder.root().string()},
      {"play", folder.root().string(), "--keys", "{Nope}"},
      {"play", folder.root().string(), "--keys", "a{"},
      {"play", (folder.root() / "missing").string(), "--keys", "a"},
  };
  for (const auto& arguments : usages) {
    SCOPED_TRACE(arguments.back());
    const ChildResult run = runTool(arguments);
    EXPECT_EQ(run.exitStatus, tool::kExitPlayUsage) << run.stderrBytes;
    EXPECT_TRUE(run.stdoutBytes.empty());
  }
}

}  // namespace
}  // namespace quillon::tool_test
