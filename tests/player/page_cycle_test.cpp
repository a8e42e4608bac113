// The page cycle played whole: start-up, choices, restarts, the map and the
// percentage label, through scripted keys. A page whose file is missing works
// as a tripwire: entering it ends the program with status 2.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/key_queue.h"
#include "player/scripted_session.h"
#include "player/story_builders.h"
#include "support/golden.h"
#include "support/story_harness.h"

namespace quillon::story_test {
namespace {

constexpr int kTripwireStatus = 2;  // file not found: a page that must not be entered

std::string keys(std::initializer_list<char> list) { return std::string(list); }

// Page 0 leads north to page 1 and on to page 1000; page 1 leads home.
void writeTwoRooms(StoryFolder& folder) {
  addFramePicture(folder);
  PageText start = framedPage("Start");
  start.choices[0] = choice("n", 1, 0, "North");
  start.choices[1] = choice("k", 1000, 0, "Far");
  folder.writePage(0, start);
  PageText north = framedPage("North room");
  north.picture = "small.pic";
  north.width = kSmallPictureWidth;
  north.height = 2;
  north.choices[0] = choice("h", 0, 0, "Home");
  folder.writePage(1, north);
  folder.writePicture("small.pic", kSmallPicture, kSmallPictureWidth);
}

::testing::AssertionResult sameScreens(const StoryRun& run, std::size_t a, std::size_t b) {
  if (a >= run.screens.size() || b >= run.screens.size()) {
    return ::testing::AssertionFailure() << "only " << run.screens.size() << " screens";
  }
  if (sameImage(run.screens[a], run.screens[b])) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "screens " << a << " and " << b << " differ";
}

TEST(PageCycle, FirstStartShowsPageZeroCountedOnce) {
  StoryFolder folder;
  addFramePicture(folder);
  folder.writePage(0, framedPage("Start"));
  // Backspace shows the label: 1 page of 1000 visited is 0.1%.
  const StoryRun run = playStory(folder, keys({kBackspace}));
  ASSERT_EQ(run.child.exitStatus, kScriptExhaustedStatus) << ::testing::PrintToString(run);
  ASSERT_EQ(run.screens.size(), 2u);
  EXPECT_TRUE(matchesGolden(run.screens[0], "player/first_start.png"));
  EXPECT_TRUE(matchesGolden(run.screens[1], "player/first_start_label.png"));
}

TEST(PageCycle, ChoiceBackToPageZeroRestartsTheStory) {
  StoryFolder folder;
  writeTwoRooms(folder);
  // map, any key, label on, north, map, any key, home, map, any key, label on
  const StoryRun run = playStory(folder, "\tx\bn\txh\tx\b");
  ASSERT_EQ(run.child.exitStatus, kScriptExhaustedStatus) << ::testing::PrintToString(run);
  ASSERT_EQ(run.screens.size(), 11u);
  EXPECT_TRUE(matchesGolden(run.screens[1], "player/map_after_start.png"));
  EXPECT_TRUE(sameScreens(run, 2, 0)) << "the map view returns to the story screen";
  EXPECT_TRUE(matchesGolden(run.screens[4], "player/north_room_label.png"))
      << "the label stays on and counts two pages";
  EXPECT_TRUE(matchesGolden(run.screens[5], "player/map_two_pages.png"));
  EXPECT_TRUE(sameScreens(run, 6, 4));
  // Back at page 0: label off, map and count as at the first start.
  EXPECT_TRUE(sameScreens(run, 7, 0));
  EXPECT_TRUE(sameScreens(run, 8, 1));
  EXPECT_TRUE(sameScreens(run, 10, 3)) << "one page counted again: 0.1%";
}

// Page 1000 reads page 0's file but is no restart; its map cell is below the map.
TEST(PageCycle, PageThousandCountsWithoutRestarting) {
  StoryFolder folder;
  writeTwoRooms(folder);
  // map, any key, label on, far (1000), map, any key, far again
  const StoryRun run = playStory(folder, "\tx\bk\txk");
  ASSERT_EQ(run.child.exitStatus, kScriptExhaustedStatus) << ::testing::PrintToString(run);
  ASSERT_EQ(run.screens.size(), 8u);
  EXPECT_TRUE(matchesGolden(run.screens[4], "player/page_thousand_label.png"));
  EXPECT_TRUE(sameScreens(run, 5, 1)) << "the map shows page 0's cell only";
  EXPECT_TRUE(sameScreens(run, 7, 4)) << "a second visit counts no new page";
}

// Conditions on the current page: it has been counted already.
TEST(PageCycle, ConditionsFollowVisitsIncludingTheCurrentPage) {
  StoryFolder folder;
  addFramePicture(folder);
  PageText start = framedPage("Start");
  start.choices[0] = choice("n", 1, 0, "North");
  folder.writePage(0, start);
  PageText north = framedPage("North");
  north.choices[0] = choice("a", 3, 1, "Here");      // offered: page 1 is counted
  north.choices[1] = choice("b", 3, -1, "NotHere");  // not offered
  north.choices[2] = choice("c", 3, 2, "Two");       // offered once page 2 is visited
  north.choices[3] = choice("d", 2, -2, "NotTwo");   // offered until then
  folder.writePage(1, north);
  PageText south = framedPage("South");
  south.choices[0] = choice("p", 1, 0, "Back");
  folder.writePage(2, south);
  // Page 3 is missing: choices a, b and c leading there must not be taken.
  const StoryRun run = playStory(folder, "nbcdp");
  ASSERT_EQ(run.child.exitStatus, kScriptExhaustedStatus) << ::testing::PrintToString(run);
  ASSERT_EQ(run.screens.size(), 6u);
  EXPECT_TRUE(matchesGolden(run.screens[1], "player/conditions_before.png"));
  EXPECT_TRUE(sameScreens(run, 2, 1)) << "b is not offered";
  EXPECT_TRUE(sameScreens(run, 3, 1)) << "c is not offered yet";
  EXPECT_TRUE(matchesGolden(run.screens[5], "player/conditions_after.png"));
}

struct KeyCase {
  const char* what;
  std::vector<ChoiceText> choices;  // of page 0; page 1 exists, page 2 is missing
  std::string keys;
  int expectedStatus;
};

// Which choice a key selects; the choice to page 1 is the right one.
TEST(PageCycle, KeysSelectTheFirstOfferedMatchingChoice) {
  const KeyCase cases[] = {
      {"duplicate keys: the lower number wins",
       {choice("a", 1, 0, "One"), choice("a", 2, 0, "Two")},
       "a",
       kScriptExhaustedStatus},
      {"a matching choice that is not offered is passed over",
       {choice("a", 2, 5, "Two"), choice("a", 1, 0, "One")},
       "a",
       kScriptExhaustedStatus},
      {"an empty label still selects", {choice("e", 1, 0, "")}, "e", kScriptExhaustedStatus},
      {"the space bar choice", {choice(quoted(" "), 1, 0, "Go on")}, " ", kScriptExhaustedStatus},
      {"keys differ by case", {choice("a", 2, 0, "Two")}, "A", kScriptExhaustedStatus},
      {"a choice keyed by Escape takes it",
       {choice("\x1b", 1, 0, "Out")},
       "\x1b",
       kScriptExhaustedStatus},
      {"a choice keyed by Tab takes it",
       {choice(quoted("\t"), 1, 0, "Tab")},
       "\t",
       kScriptExhaustedStatus},
      {"an empty key never selects", {choice("", 2, 0, "Nothing")}, "x", kScriptExhaustedStatus},
      {"the tripwire works", {choice("a", 2, 0, "Two")}, "a", kTripwireStatus},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.what);
    StoryFolder folder;
    addFramePicture(folder);
    PageText start = framedPage("Start");
    for (std::size_t i = 0; i < c.choices.size(); ++i) start.choices[i] = c.choices[i];
    folder.writePage(0, start);
    folder.writePage(1, framedPage("One"));
    const StoryRun run = playStory(folder, c.keys);
    EXPECT_EQ(run.child.exitStatus, c.expectedStatus) << ::testing::PrintToString(run);
  }
}

// Keys that select nothing leave the screen as it was and the wait goes on.
TEST(PageCycle, KeysThatMatchNothingAreIgnored) {
  StoryFolder folder;
  addFramePicture(folder);
  PageText start = framedPage("Start");
  start.choices[0] = choice("a", 1, 0, "One");
  folder.writePage(0, start);
  folder.writePage(1, framedPage("One"));
  std::vector<int32_t> codes = {'A', 'z', kCloseKeyCode, extendedKeyCode(72), 0, 'a'};
  const StoryRun run = playStory(folder, codes);
  ASSERT_EQ(run.child.exitStatus, kScriptExhaustedStatus) << ::testing::PrintToString(run);
  ASSERT_EQ(run.screens.size(), 7u);
  for (std::size_t i = 1; i < 6; ++i) EXPECT_TRUE(sameScreens(run, i, 0)) << "after key " << i;
  EXPECT_FALSE(sameImage(run.screens[6], run.screens[0])) << "a selects page 1";
}

// Tab shows the map until the next key, which is dropped, even Escape or a
// choice key.
TEST(PageCycle, TabShowsTheMapAndSwallowsTheNextKey) {
  StoryFolder folder;
  addFramePicture(folder);
  PageText start = framedPage("Start");
  start.choices[0] = choice("n", 2, 0, "Nowhere");  // page 2 is missing
  folder.writePage(0, start);
  const StoryRun run = playStory(folder, "\t\x1b\tn\b\t\x1b");
  ASSERT_EQ(run.child.exitStatus, kScriptExhaustedStatus) << ::testing::PrintToString(run);
  ASSERT_EQ(run.screens.size(), 8u);
  EXPECT_TRUE(sameScreens(run, 2, 0));
  EXPECT_TRUE(sameScreens(run, 3, 1));
  EXPECT_TRUE(sameScreens(run, 4, 0));
  // The story screen comes back with its label.
  EXPECT_FALSE(sameImage(run.screens[5], run.screens[0]));
  EXPECT_TRUE(sameScreens(run, 6, 1));
  EXPECT_TRUE(sameScreens(run, 7, 5));
}

TEST(PageCycle, BackspaceTwiceRestoresTheScreenExactly) {
  StoryFolder folder;
  addFramePicture(folder);
  folder.writePage(0, framedPage("A title of thirty-eight characters.."));
  const StoryRun run = playStory(folder, "\b\b");
  ASSERT_EQ(run.screens.size(), 3u);
  EXPECT_FALSE(sameImage(run.screens[1], run.screens[0]));
  EXPECT_TRUE(sameScreens(run, 2, 0));
}

TEST(PageCycle, EscapeEndsWithStatusZeroAndABlackWindow) {
  StoryFolder folder;
  addFramePicture(folder);
  folder.writePage(0, framedPage("Start"));
  const StoryRun run = playStory(folder, "\x1b");
  EXPECT_TRUE(run.child.exited);
  EXPECT_EQ(run.child.exitStatus, 0);
  EXPECT_EQ(run.child.stderrBytes, "");
  // The story window closes showing the story; the blank window that replaces
  // it closes black at the end.
  ASSERT_EQ(run.closingScreens.size(), 2u);
  ASSERT_EQ(run.screens.size(), 1u);
  EXPECT_TRUE(sameImage(run.closingScreens[0], run.screens[0]));
  const std::vector<uint8_t>& last = run.closingScreens[1].rgb;
  EXPECT_TRUE(std::all_of(last.begin(), last.end(), [](uint8_t v) { return v == 0; }));
}

}  // namespace
}  // namespace quillon::story_test
