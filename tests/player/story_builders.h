#pragma once
// Pages and pictures shared by the player's story tests.
#include <cstdint>
#include <string>
#include <vector>

#include "support/story_fixture.h"

namespace quillon::story_test {

inline constexpr char kEscape = '\x1b';
inline constexpr char kTab = '\t';
inline constexpr char kBackspace = '\b';

// A 10 x 6 picture named for its size: a frame of colour 12 around colour 1,
// with a column of 14 in the middle.
inline const char* const kFramePictureName = "fram1006.VIS";
inline std::vector<int32_t> framePicture() {
  std::vector<int32_t> values;
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 10; ++x) {
      const bool edge = x == 0 || y == 0 || x == 9 || y == 5;
      values.push_back(edge ? 12 : (x == 5 ? 14 : 1));
    }
  }
  return values;
}

// A page with a title, the frame picture and five short lines; no choices.
inline PageText framedPage(const std::string& title) {
  PageText page;
  page.title = title;
  page.width = 10;
  page.height = 6;
  page.picture = kFramePictureName;
  page.lines = {"First line", "Second line", "Third line", "Fourth line", "Fifth line"};
  return page;
}

inline ChoiceText choice(std::string key, int64_t target, int64_t condition, std::string label) {
  return ChoiceText{std::move(key), target, condition, std::move(label)};
}

// A folder with the background and the frame picture.
inline void addFramePicture(StoryFolder& folder) {
  folder.writePicture(kFramePictureName, framePicture(), 10);
}

}  // namespace quillon::story_test
