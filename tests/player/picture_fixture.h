#pragma once
// An open story display on a headless front end, run inside a temporary story
// folder, with every page painted a distinct pattern and the copies onto the
// visible page recorded, for drawing pictures in the test process.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <utility>
#include <vector>

#include "data/picture.h"
#include "data/record_reader.h"
#include "display/framebuffer.h"
#include "display/front_end.h"
#include "display/headless_front_end.h"
#include "player/story_state.h"
#include "support/story_fixture.h"

namespace quillon::story_test {

inline constexpr int32_t kPagesUsed = 5;  // visible, work, map, background, composed
using PageSet = std::array<std::vector<uint8_t>, kPagesUsed>;
using VisibleCopy = std::pair<int32_t, int64_t>;  // pass, row

inline std::vector<uint8_t>& pageBytes(int32_t page) {
  return currentDisplay()->pages[static_cast<std::size_t>(page)];
}

inline uint8_t pixelOf(const std::vector<uint8_t>& page, int64_t x, int64_t y) {
  return page[static_cast<std::size_t>(y * kScreenWidth + x)];
}

inline PageSet capturePages() {
  PageSet pages;
  for (int32_t page = 0; page < kPagesUsed; ++page) {
    pages[static_cast<std::size_t>(page)] = pageBytes(page);
  }
  return pages;
}

inline void restorePages(const PageSet& pages) {
  for (int32_t page = 0; page < kPagesUsed; ++page) {
    pageBytes(page) = pages[static_cast<std::size_t>(page)];
  }
}

// The first pixel where two pages differ, for assertion messages.
inline ::testing::AssertionResult samePage(const std::vector<uint8_t>& actual,
                                           const std::vector<uint8_t>& expected, const char* what) {
  for (std::size_t i = 0; i < actual.size() && i < expected.size(); ++i) {
    if (actual[i] != expected[i]) {
      return ::testing::AssertionFailure()
             << what << " differs first at (" << i % kScreenWidth << ", " << i / kScreenWidth
             << "): " << int{actual[i]} << " instead of " << int{expected[i]};
    }
  }
  if (actual.size() != expected.size()) return ::testing::AssertionFailure() << what << " size";
  return ::testing::AssertionSuccess();
}

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.root());
    setFrontEnd(&frontEnd_);
    ASSERT_EQ(openScreen(kScreenWidth, kScreenHeight, kStoryDepth, kStoryPageCount), 0);
    setPages(kWorkPage, kVisiblePage);
    // Distinct patterns: each page's part in a result can be told apart.
    for (int32_t page = 0; page < kPagesUsed; ++page) {
      std::vector<uint8_t>& bytes = pageBytes(page);
      const auto offset = static_cast<std::size_t>(16 * page + 100);
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>((i % 7 + (i / kScreenWidth) % 5 + offset) & 0xFF);
      }
    }
    setVisibleCopyObserver(&PictureTest::recordCopy, this);
  }

  void TearDown() override {
    setVisibleCopyObserver(nullptr, nullptr);
    closeAllSlots();
    closeDisplay();
    setFrontEnd(nullptr);
    std::filesystem::current_path(previousDirectory_);
  }

  void draw(int32_t PL, const std::string& name, int32_t XX, int32_t YY) {
    drawPagePicture(PL, name, XX, YY, nullptr, nullptr);
  }

  static void recordCopy(void* context, int32_t pass, int64_t row) {
    static_cast<PictureTest*>(context)->copies_.emplace_back(pass, row);
  }

  StoryFolder folder_{false};
  HeadlessFrontEnd frontEnd_{false};
  std::vector<VisibleCopy> copies_;

 private:
  std::filesystem::path previousDirectory_;
};

}  // namespace quillon::story_test
