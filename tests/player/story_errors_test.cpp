// How the player ends when a step fails: exit status, the exact abort message
// and, where it matters, what the window showed last.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "player/scripted_session.h"
#include "player/story_builders.h"
#include "support/story_harness.h"

namespace quillon::story_test {
namespace {

std::string abortMessage(int number, const char* text, int line) {
  return "\nAborting due to runtime error " + std::to_string(number) + " (" + text + ") at line " +
         std::to_string(line) + " of Quillon::()\n\n";
}

struct FailureCase {
  const char* what;
  std::function<void(StoryFolder&)> setUp;  // on a folder with the background only
  std::string keys;
  int status;
  std::string message;
  StoryOptions options = {};
};

// Page 0 with a frame picture and the given choice 1.
std::function<void(StoryFolder&)> startWithChoice(ChoiceText first) {
  return [first](StoryFolder& folder) {
    addFramePicture(folder);
    PageText start = framedPage("Start");
    start.choices[0] = first;
    folder.writePage(0, start);
  };
}

// As startWithChoice, plus a page file under `fileName`.
std::function<void(StoryFolder&)> startWithPageFile(ChoiceText first, std::string fileName) {
  return [first, fileName](StoryFolder& folder) {
    startWithChoice(first)(folder);
    folder.writeFile("pages/" + fileName, pageFileText(framedPage("Elsewhere")));
  };
}

TEST(StoryFailure, EndsWithTheStepsErrorNumberAndLocation) {
  const FailureCase cases[] = {
      {"no window can be opened", [](StoryFolder&) {}, "", 1,
       abortMessage(1, "illegal function call", 20), StoryOptions{true}},
      {"the background is missing",
       [](StoryFolder& folder) { folder.removeFile("sprites/bkgd2424.VIS"); }, "", 2,
       abortMessage(2, "file not found", 32)},
      {"page 0 is missing", [](StoryFolder&) {}, "", 2, abortMessage(2, "file not found", 47)},
      // The empty picture name opens the sprites directory itself.
      {"an empty page file",
       [](StoryFolder& folder) { folder.writeFile("pages/L000_000.mem", ""); }, "", 2,
       abortMessage(2, "file not found", 94)},
      {"a missing picture", [](StoryFolder& folder) { folder.writePage(0, framedPage("Start")); },
       "", 2, abortMessage(2, "file not found", 94)},
      {"a missing picture of size 0",
       [](StoryFolder& folder) {
         PageText start = framedPage("Start");
         start.width = 0;
         start.height = 0;
         start.picture = "none.pic";
         folder.writePage(0, start);
       },
       "", 2, abortMessage(2, "file not found", 94)},
      {"a target of 1500 without a file", startWithChoice(choice("n", 1500, 0, "Far")), "n", 2,
       abortMessage(2, "file not found", 47)},
      {"a target of 1500 with a file",
       startWithPageFile(choice("n", 1500, 0, "Far"), "L500_000.mem"), "n", 6,
       abortMessage(6, "out of bounds array access", 83)},
      {"a target of -1 reads page 999's file",
       startWithPageFile(choice("n", -1, 0, "Back"), "L999_000.mem"), "n", 6,
       abortMessage(6, "out of bounds array access", 83)},
      {"a target of -1001", startWithPageFile(choice("n", -1001, 0, "Back"), "L-1_000.mem"), "n", 6,
       abortMessage(6, "out of bounds array access", 83)},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.what);
    StoryFolder folder;
    c.setUp(folder);
    const StoryRun run = playStory(folder, c.keys, c.options);
    EXPECT_TRUE(run.child.exited) << ::testing::PrintToString(run);
    EXPECT_EQ(run.child.exitStatus, c.status);
    EXPECT_EQ(run.child.stderrBytes, c.message);
  }
}

// A condition beyond the visit counts ends the program while the screen is
// composed, whichever choice holds it and whatever its sign; the window still
// shows the page before.
TEST(StoryFailure, ConditionOutsideTheVisitCountsEndsAtLocation62) {
  const int64_t conditions[] = {1500, -1500, 1001, std::numeric_limits<int32_t>::min(),
                                std::numeric_limits<int32_t>::max()};
  for (const int64_t condition : conditions) {
    for (std::size_t holder = 0; holder < 4; ++holder) {
      SCOPED_TRACE(::testing::Message()
                   << "condition " << condition << " on choice " << holder + 1);
      StoryFolder folder;
      addFramePicture(folder);
      PageText start = framedPage("Start");
      start.choices[0] = choice("n", 1, 0, "North");
      folder.writePage(0, start);
      PageText north = framedPage("North");
      north.choices[holder] = choice("", 0, condition, "");
      folder.writePage(1, north);
      const StoryRun run = playStory(folder, "n");
      EXPECT_EQ(run.child.exitStatus, 6) << ::testing::PrintToString(run);
      EXPECT_EQ(run.child.stderrBytes, abortMessage(6, "out of bounds array access", 62));
      ASSERT_EQ(run.screens.size(), 1u);
      ASSERT_EQ(run.closingScreens.size(), 1u);
      EXPECT_TRUE(sameImage(run.closingScreens[0], run.screens[0]));
    }
  }
}

// Page 1500's file is read, but the visit count fails before anything is drawn.
TEST(StoryFailure, PageOutsideTheVisitCountsLeavesThePreviousScreenShown) {
  StoryFolder folder;
  startWithPageFile(choice("n", 1500, 0, "Far"), "L500_000.mem")(folder);
  const StoryRun run = playStory(folder, "n");
  EXPECT_EQ(run.child.exitStatus, 6) << ::testing::PrintToString(run);
  ASSERT_EQ(run.screens.size(), 1u);
  ASSERT_EQ(run.closingScreens.size(), 1u);
  EXPECT_TRUE(sameImage(run.closingScreens[0], run.screens[0]));
}

TEST(StoryFailure, ScriptThatRunsOutEndsWithItsOwnStatusAndNoMessage) {
  StoryFolder folder;
  addFramePicture(folder);
  folder.writePage(0, framedPage("Start"));
  const StoryRun run = playStory(folder, "");
  EXPECT_EQ(run.child.exitStatus, kScriptExhaustedStatus);
  EXPECT_EQ(run.child.stderrBytes, "");
  EXPECT_EQ(run.screens.size(), 1u);
}

}  // namespace
}  // namespace quillon::story_test
