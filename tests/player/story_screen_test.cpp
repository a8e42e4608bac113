// The story screen's text: the menu line of the offered choices, and where
// title, lines and menu land on the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/scripted_session.h"
#include "player/story_builders.h"
#include "player/story_screen.h"
#include "player/story_state.h"
#include "support/golden.h"
#include "support/story_harness.h"

namespace quillon::story_test {
namespace {

// Page 3 counts as visited in every case.
StoryState stateWithChoices(const std::vector<ChoiceText>& choices) {
  StoryState state;
  state.GRAI.assign(static_cast<std::size_t>(state.MP) + 1, 0);
  state.GRAI[3] = 1;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    state.page.DAS[i + 1] = choices[i].key;
    state.page.DAI[i + 1] = static_cast<int32_t>(choices[i].target);
    state.page.DDAI[i + 1] = static_cast<int32_t>(choices[i].condition);
    state.page.DDAS[i + 1] = choices[i].label;
  }
  return state;
}

TEST(MenuLine, ListsTheOfferedChoicesInOrder) {
  struct Case {
    const char* what;
    std::vector<ChoiceText> choices;
    std::string menu;
  };
  const std::string forty(40, 'x');
  const Case cases[] = {
      {"nothing offered", {}, ""},
      {"two choices", {choice("n", 1, 0, "North"), choice("s", 2, 0, "South")}, "n>North  s>South"},
      {"the cave mouth",
       {choice("n", 7, 0, "Go north"), choice("s", 8, -4, "Go down"), choice(" ", 9, 3, "Go back")},
       "n>Go north  s>Go down  Go back"},
      {"a choice not offered leaves no trace",
       {choice("a", 1, 4, "Hidden"), choice("b", 1, -3, "Hidden too"), choice("c", 1, 0, "Shown")},
       "c>Shown"},
      {"an empty label adds nothing, not even a separator",
       {choice("a", 1, 0, "One"), choice("e", 1, 0, ""), choice("b", 1, 0, "Two")},
       "a>One  b>Two"},
      {"the space bar shows its label alone", {choice(" ", 1, 0, "Go on")}, "Go on"},
      {"an empty key shows the mark", {choice("", 1, 0, "Lost")}, ">Lost"},
      {"a space bar choice after another",
       {choice("a", 1, 0, "A"), choice(" ", 1, 0, "B")},
       "a>A  B"},
      {"forty characters are shown whole",
       {choice("a", 1, 0, std::string(38, 'x'))},
       "a>" + std::string(38, 'x')},
      {"forty-one are cut to 38 and two dots",
       {choice("a", 1, 0, forty)},
       "a>" + std::string(36, 'x') + ".."},
      // The cut happens after each choice; the result is the same as one cut.
      {"the cut line grows again and is cut again",
       {choice("a", 1, 0, forty), choice("b", 1, 0, "More")},
       "a>" + std::string(36, 'x') + ".."},
      {"a short line stays whole after a long label is cut",
       {choice("a", 1, 0, std::string(30, 'y')), choice("b", 1, 0, "12345678")},
       "a>" + std::string(30, 'y') + "  b>12.."},
  };
  for (const Case& c : cases) {
    StoryState state = stateWithChoices(c.choices);
    EXPECT_EQ(buildMenuLine(state), c.menu) << c.what;
  }
}

TEST(AvailabilityRule, SetsTheCodeOfEachChoice) {
  StoryState state = stateWithChoices({choice("a", 0, 0, "none"), choice("b", 0, 3, "visited"),
                                       choice("c", 0, -5, "not visited"),
                                       choice("d", 0, -3, "visited after all")});
  const int32_t expected[] = {0, 2, 1, -1, 0};
  for (int32_t T = 1; T <= 4; ++T) {
    applyAvailabilityRule(state, T);
    EXPECT_EQ(state.CMAI[static_cast<std::size_t>(T)], expected[T]) << "choice " << T;
  }
  // The rule starts from 0 each time.
  state.page.DDAI[2] = 5;
  applyAvailabilityRule(state, 2);
  EXPECT_EQ(state.CMAI[2], 0);
}

TEST(CountVisit, CountsEveryEntryAndEachPageOnce) {
  StoryState state;
  state.GRAI.assign(static_cast<std::size_t>(state.MP) + 1, 0);
  for (const int32_t page : {0, 7, 7, 1000, 0}) {
    state.PL = page;
    countVisit(state);
  }
  EXPECT_EQ(state.PC, 3);
  EXPECT_EQ(state.GRAI[0], 2);
  EXPECT_EQ(state.GRAI[7], 2);
  EXPECT_EQ(state.GRAI[1000], 1);
}

// Screens that show where the menu line lands: 16 characters from column 13,
// 30 from column 6, a cut one of 40 from column 1.
TEST(StoryScreen, MenuLinesAreCentredOnRow24) {
  struct Case {
    const char* golden;
    std::vector<ChoiceText> choices;
  };
  const Case cases[] = {
      {"player/menu_north_south.png", {choice("n", 1, 0, "North"), choice("s", 2, 0, "South")}},
      {"player/menu_cave_mouth.png",
       {choice("n", 7, 0, "Go north"), choice("s", 8, -3, "Go down"),
        choice(quoted(" "), 9, 0, "Go back"), choice("", 0, 0, "")}},
      {"player/menu_cut.png",
       {choice("a", 1, 0, "Take the long way round the hill"), choice("b", 2, 0, "Wait")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.golden);
    StoryFolder folder;
    addFramePicture(folder);
    PageText page = framedPage("Cave mouth");
    page.lines[4] = "";  // the menu alone on row 24
    for (std::size_t i = 0; i < c.choices.size(); ++i) page.choices[i] = c.choices[i];
    folder.writePage(0, page);
    const StoryRun run = playStory(folder, "");
    ASSERT_EQ(run.screens.size(), 1u) << ::testing::PrintToString(run);
    EXPECT_TRUE(matchesGolden(run.screens[0], c.golden));
  }
}

// Long texts: a title of 41 characters starts in column 40 and wraps; a fifth
// line of 42 scrolls the page up before the menu is printed.
TEST(StoryScreen, OverlongTitleAndLastLineWrap) {
  StoryFolder folder;
  addFramePicture(folder);
  PageText page = framedPage("A title that is forty-one characters long");
  page.lines[4] = "The fifth line has forty-two characters ok";
  page.choices[0] = choice("q", 1, 0, "Quit");
  folder.writePage(0, page);
  const StoryRun run = playStory(folder, "");
  ASSERT_EQ(run.screens.size(), 1u) << ::testing::PrintToString(run);
  EXPECT_TRUE(matchesGolden(run.screens[0], "player/overlong_texts.png"));
}

}  // namespace
}  // namespace quillon::story_test
