#pragma once
// Plays a whole story headless in a child process: the player runs in the
// story folder with a scripted key sequence, and every screen it waits on
// comes back as an image.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "display/png_image.h"
#include "support/child_process.h"
#include "support/story_fixture.h"

namespace quillon::story_test {

struct StoryRun {
  ChildResult child;              // exit status and the exact standard-error bytes
  std::vector<RgbImage> screens;  // the window at each key wait, in order
  // The window's last image each time it closed: at Escape's reset and at
  // the ending, so after a runtime error the last one is what the user saw.
  std::vector<RgbImage> closingScreens;
};

struct StoryOptions {
  // The front end refuses to open a window, as on a machine without a display.
  bool withoutDisplay = false;
};

// Runs the player in `folder` and feeds it one key code per key wait; when the
// codes run out the player is ended with kScriptExhaustedStatus. The screens
// are saved as PNG files by the child and read back.
StoryRun playStory(const StoryFolder& folder, const std::vector<int32_t>& keyCodes,
                   StoryOptions options = {});
// One key code per byte of `keys`.
StoryRun playStory(const StoryFolder& folder, std::string_view keys, StoryOptions options = {});

// Same pixels, for comparing two screens in a test.
bool sameImage(const RgbImage& a, const RgbImage& b);

void PrintTo(const StoryRun& run, std::ostream* out);

}  // namespace quillon::story_test
