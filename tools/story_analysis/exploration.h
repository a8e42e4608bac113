#pragma once
// Every way the story can go, without playing it. The availability of a
// choice depends only on which condition pages have been visited since the
// last restart, so a state is the page shown plus the visited flags of the
// condition pages; the exploration visits every state reachable from the
// start, in order of the number of choices taken, using the player's own
// availability rule and menu line.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "data/page_file.h"
#include "story_analysis/story_model.h"

namespace quillon::tool {

inline constexpr int64_t kDefaultStateLimit = 200000;

// How the player ends: error number and location.
struct Abort {
  int32_t number = 0;
  int32_t location = 0;
  bool operator==(const Abort&) const = default;
};
// The player's own message, without the surrounding blank lines.
std::string abortMessage(const Abort& abort);

// What entering a page does before its screen is shown.
struct EntryOutcome {
  std::optional<Abort> abort;
  int32_t field = 0;  // the field of the page's own file that causes the abort, if any
};
// In the player's order: the page file opens (47), the page has a visit
// count (83), the picture opens (94), every condition has one (62).
EntryOutcome entryOutcome(Story& story, int32_t page);

struct ChoiceUse {
  int64_t offeredStates = 0;   // states in which the choice is offered
  int64_t takenStates = 0;     // ... and its key selects it
  int64_t shadowedStates = 0;  // ... but an earlier offered choice has its key
  int32_t shadowedBy = 0;      // that earlier choice, as first seen
  int64_t firstShadowedState = -1;
};

struct PageVisit {
  int64_t states = 0;      // states that show this page
  int64_t deadStates = 0;  // ... in which no choice can be taken
  int64_t firstState = -1;
  int64_t firstDeadState = -1;
  std::array<ChoiceUse, kChoiceCount + 1> choices{};
  std::string longestMenu;        // the menu line as shown, in the state with the longest one
  int64_t longestMenuLength = 0;  // its length before the cut
  int64_t longestMenuState = -1;
  int32_t menuCutChoice = 0;  // the choice whose entry takes that line past 40 characters
};

// A choice (or the start) that leads into a page entry that ends the player.
struct AbortRoute {
  int32_t fromPage = -1;  // -1 for the start of the story
  int32_t choice = 0;
  int32_t target = 0;
  EntryOutcome outcome;
  int64_t fromState = -1;
  int32_t key = 0;  // key code of the choice
};

struct Exploration {
  std::optional<Abort> startAbort;  // set when nothing can be shown at all
  bool complete = true;             // false when the state limit cut the exploration short
  int64_t stateCount = 0;
  std::map<int32_t, PageVisit> shown;  // pages whose screen is shown
  std::set<int32_t> entered;           // pages entered, shown or not
  std::vector<AbortRoute> aborts;  // the shortest route through each choice that ends the player
  std::vector<int32_t> conditionPages;

  // The key codes that reach a state from the start.
  std::vector<int32_t> keysTo(int64_t state) const;
  // ... and then select the route's choice.
  std::vector<int32_t> keysThrough(const AbortRoute& route) const;

  struct Node {
    int64_t parent = -1;
    int32_t key = 0;
    int32_t page = 0;
  };
  std::vector<Node> nodes;
};

Exploration explore(Story& story, int64_t stateLimit = kDefaultStateLimit);

// Length of the menu line before the cut, for the choices offered in `CMAI`;
// `cutChoice` receives the first choice whose entry takes it past 40
// characters, or 0.
int64_t uncutMenuLength(const PageFields& fields, const std::array<int32_t, kChoiceCount + 1>& CMAI,
                        int32_t* cutChoice = nullptr);

}  // namespace quillon::tool
