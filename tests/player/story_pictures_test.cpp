// Page pictures as the whole player shows them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "player/scripted_session.h"
#include "player/story_builders.h"
#include "support/golden.h"
#include "support/story_harness.h"

namespace quillon::story_test {
namespace {

const std::vector<int32_t> kTenValues = {9, 10, 11, 12, 13, 9, 10, 11, 12, 13};

StoryRun playPicture(const std::vector<int32_t>& values, int64_t width, int64_t height) {
  StoryFolder folder;
  folder.writePicture("ten.pic", values, 10);
  PageText start = framedPage("Largest picture");
  start.picture = "ten.pic";
  start.width = width;
  start.height = height;
  folder.writePage(0, start);
  return playStory(folder, "\tx");
}

// A page file may give any size. The largest one, centred, covers the whole
// page; with a ten-value file every pixel on the page is one of the missing
// ones, colour 0. The page must be entered at once instead of after hours of
// such pixels, and look as a page-covering picture whose file holds the ten
// values and then zeros, drawn pixel by pixel.
TEST(StoryPictures, LargestSizeWithAShortFileShowsWhatAPageCoveringPictureShows) {
  constexpr int32_t kLargest = std::numeric_limits<int32_t>::max();
  // 322 x 232 at (-2, -31) covers the page; the ten values lie above it.
  constexpr int32_t kCoverWidth = 322;
  constexpr int32_t kCoverHeight = 232;
  std::vector<int32_t> covering(kCoverWidth * kCoverHeight, 0);
  std::copy(kTenValues.begin(), kTenValues.end(), covering.begin());

  const StoryRun largest = playPicture(kTenValues, kLargest, kLargest);
  const StoryRun cover = playPicture(covering, kCoverWidth, kCoverHeight);
  ASSERT_EQ(largest.child.exitStatus, kScriptExhaustedStatus) << ::testing::PrintToString(largest);
  ASSERT_EQ(cover.child.exitStatus, kScriptExhaustedStatus) << ::testing::PrintToString(cover);
  ASSERT_EQ(largest.screens.size(), 3u);
  ASSERT_EQ(cover.screens.size(), 3u);
  EXPECT_TRUE(sameImage(largest.screens[0], cover.screens[0])) << "story screen";
  EXPECT_TRUE(sameImage(largest.screens[1], cover.screens[1])) << "map";
  EXPECT_TRUE(matchesGolden(largest.screens[0], "player/largest_picture.png"));
  EXPECT_TRUE(matchesGolden(largest.screens[1], "player/largest_picture_map.png"));
}

}  // namespace
}  // namespace quillon::story_test
