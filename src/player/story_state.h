#pragma once
// The story state that survives from page to page, and the page cycle.
#include <cstdint>
#include <vector>

#include "data/page_file.h"
#include "data/video_page_roles.h"

namespace quillon {

inline constexpr int32_t kLocationOpenScreen = 20;
inline constexpr int32_t kLocationSizeVisitTable = 29;
inline constexpr int32_t kLocationCondition = 62;
inline constexpr int32_t kLocationResetScreen = 77;
inline constexpr int32_t kLocationCountVisit = 83;

struct StoryState {
  int32_t PL = 0;                                // current page
  int32_t PC = 0;                                // distinct pages visited since the last restart
  int32_t PS = 0;                                // 1 while the percentage label is shown
  int32_t MP = 1000;                             // highest page with a visit count
  int32_t BK = 0;                                // book number in page file names
  int32_t WD = 38;                               // width of the band cleared before a centred line
  std::vector<int32_t> GRAI;                     // visit counts 0..MP
  PageFields page;                               // NM, XX, YY, F2 and the choices
  std::array<int32_t, kChoiceCount + 1> CMAI{};  // availability of choices 1..4
};

// Runs start-up and the page cycle until Escape or a runtime error; never
// returns. The front end must be set (setFrontEnd) before.
[[noreturn]] void runStory();

// Steps of the cycle, reachable on their own for tests.
void countVisit(StoryState& state);
void applyAvailabilityRule(StoryState& state, int32_t T);

}  // namespace quillon
