#pragma once
// The story screen: title, five text lines, menu line, percentage label, map.
#include <cstdint>
#include <string>

#include "player/story_state.h"

namespace quillon {

inline constexpr int32_t kTextColumns = 40;
inline constexpr std::size_t kMenuLimit = 40;

// Column at which a string of `length` characters is centred:
// (40 - length) * 0.5 + 1 rounded to nearest, ties to even.
int32_t centringColumn(std::size_t length);
// The menu line of the offered choices (applies the availability rule).
std::string buildMenuLine(StoryState& state);
// "8.199999999999999%" and the like, from PC and MP.
std::string percentageLabel(int32_t PC, int32_t MP);

void composeStoryScreen(StoryState& state);
void showStoryScreen(const StoryState& state);
void showMap();

}  // namespace quillon
