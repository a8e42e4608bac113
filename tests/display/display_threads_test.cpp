// The program's thread drawing and copying pages while the presenter thread
// presents and another thread types keys: every shared access must go
// through the display lock (run under ThreadSanitizer).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "display/framebuffer.h"
#include "display/headless_front_end.h"
#include "display/key_queue.h"
#include "display/palette.h"
#include "display/presenter.h"
#include "display/text_console.h"

namespace quillon {
namespace {

constexpr int32_t kFrames = 60;
constexpr int32_t kKeys = 400;

TEST(DisplayThreadedTest, DrawingPresentingAndTypingShareTheDisplaySafely) {
  clearKeyQueue();
  HeadlessFrontEnd frontEnd(true);
  setFrontEnd(&frontEnd);
  ASSERT_EQ(openScreen(kScreenWidth, kScreenHeight, kStoryDepth, kStoryPageCount), 0);

  std::thread drawer([] {
    for (int32_t frame = 0; frame < kFrames; ++frame) {
      setPages(1, 0);
      fillBox(0, 0, 319, 199, frame);
      for (int32_t i = 0; i < 200; ++i) {
        setPixel(static_cast<float>(i), static_cast<float>(i % 200), frame + i);
      }
      locate(2, 1);
      printText("frame");
      copyPage(1, 0);
      // Drawing straight into the visible page, as the console may.
      setPages(0, 0);
      fillBox(10, 10, 20, 20, frame + 1);
      // A band of pixels long enough that presentation passes fall inside it.
      for (int32_t y = 100; y < 120; ++y) {
        for (int32_t x = 0; x < kScreenWidth; ++x) {
          setPixel(static_cast<float>(x), static_cast<float>(y), frame + x);
        }
      }
      printText("\x07");
      copyPage(0, 2);
      setPages(1, frame % 2 == 0 ? 2 : 0);
    }
    setPages(1, 0);
    fillBox(0, 0, 319, 199, 9);
    copyPage(1, 0);
  });
  std::thread typist([] {
    for (int32_t code = 1; code <= kKeys; ++code) queueKeyCode(code % 255 + 1);
    queueKeyCode(kCloseKeyCode);
  });

  // Keys arrive, some dropped when the queue is full, until the close key,
  // which is queued last and so never dropped.
  std::vector<std::string> keys;
  for (bool closed = false; !closed;) {
    const std::string key = pollKey();
    if (key.empty()) {
      std::this_thread::yield();
      continue;
    }
    keys.push_back(key);
    closed = key == keyStringFromCode(kCloseKeyCode);
  }
  typist.join();
  drawer.join();
  EXPECT_GE(keys.size(), 15u);
  EXPECT_EQ(pollKey(), "");

  const std::vector<uint32_t> image = [&frontEnd] {
    DisplayLock lock;
    return frontEnd.presentNow();
  }();
  const Rgb& colour = defaultPalette()[9];
  const uint32_t expected =
      (uint32_t{colour.r} << 16) | (uint32_t{colour.g} << 8) | uint32_t{colour.b};
  EXPECT_TRUE(std::all_of(image.begin(), image.end(),
                          [expected](uint32_t pixel) { return pixel == expected; }));
  closeDisplay();
  setFrontEnd(nullptr);
}

}  // namespace
}  // namespace quillon
