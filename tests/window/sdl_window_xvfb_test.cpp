// The SDL window in this process under a private Xvfb: what it shows with
// each presentation back end, and the key strings real X key events and close
// requests give pollKey.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "display/framebuffer.h"
#include "display/front_end.h"
#include "display/key_queue.h"
#include "display/png_image.h"
#include "display/sdl/sdl_front_end.h"
#include "display/sdl/sdl_layout.h"
#include "display/window_title.h"
#include "window/xvfb_session.h"

namespace quillon {
namespace {

using namespace window_test;
using namespace std::chrono_literals;

constexpr const char* kMarkerKey = "z";

// Bands of colours from every part of the palette, and single pixels at the
// corners, so that a shifted, scaled or wrongly coloured image shows.
void drawTestPattern() {
  for (int32_t band = 0; band < 20; ++band) {
    const auto top = static_cast<float>(band * 10);
    fillBox(0, top, 319, top + 9, band * 13 + 1);
  }
  fillBox(100, 50, 219, 149, 40);
  setPixel(0, 0, 15);
  setPixel(319, 0, 14);
  setPixel(0, 199, 12);
  setPixel(319, 199, 10);
  copyPage(1, 0);
}

// The window as the user sees it: the image scaled by a whole factor and
// centred, black around it.
bool showsImageScaled(const RgbImage& capture, const RgbImage& image) {
  const ScreenRect placed =
      integerScaledRect(image.width, image.height, capture.width, capture.height);
  const int32_t factor = placed.w / image.width;
  for (int32_t y = 0; y < capture.height; ++y) {
    for (int32_t x = 0; x < capture.width; ++x) {
      const int32_t ix = x - placed.x;
      const int32_t iy = y - placed.y;
      const bool inside = ix >= 0 && iy >= 0 && ix < placed.w && iy < placed.h;
      const auto at = [](const RgbImage& picture, int32_t px, int32_t py) {
        return static_cast<std::size_t>(py * picture.width + px) * 3;
      };
      for (std::size_t channel = 0; channel < 3; ++channel) {
        const uint8_t expected =
            inside ? image.rgb[at(image, ix / factor, iy / factor) + channel] : 0;
        if (capture.rgb[at(capture, x, y) + channel] != expected) {
          return false;
        }
      }
    }
  }
  return true;
}

class SdlWindowUnderXvfb : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (xvfbToolsAvailable()) {
      server_ = std::make_unique<XvfbServer>();
    }
  }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    if (!xvfbToolsAvailable()) {
      GTEST_SKIP() << "Xvfb, xdotool, xwininfo or ImageMagick's import is not installed";
    }
    ASSERT_TRUE(server_ && server_->running()) << "Xvfb did not start";
    setenv("DISPLAY", server_->display().c_str(), 1);
  }

  void TearDown() override {
    closeDisplay();
    setFrontEnd(nullptr);
  }

  void openWith(std::vector<SdlBackEnd> order) {
    frontEnd_ = std::make_unique<SdlFrontEnd>(std::move(order));
    setFrontEnd(frontEnd_.get());
    ASSERT_EQ(openScreen(kScreenWidth, kScreenHeight, kStoryDepth, kStoryPageCount), 0);
    setPages(1, 0);
    window_ = waitForWindowOf(display(), getpid());
    ASSERT_FALSE(window_.empty()) << "no window appeared";
    clearKeyQueue();
  }

  static const std::string& display() { return server_->display(); }

  // Key strings that arrive before the marker key, which is pressed last.
  std::vector<std::string> keyStringsBeforeMarker() {
    std::vector<std::string> received;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
      const std::string key = pollKey();
      if (key == kMarkerKey) {
        return received;
      }
      if (!key.empty()) {
        received.push_back(key);
      } else {
        std::this_thread::sleep_for(5ms);
      }
    }
    received.push_back("(marker key never arrived)");
    return received;
  }

  static std::unique_ptr<XvfbServer> server_;
  std::unique_ptr<SdlFrontEnd> frontEnd_;
  std::string window_;
};

std::unique_ptr<XvfbServer> SdlWindowUnderXvfb::server_;

class SdlBackEndUnderXvfb : public SdlWindowUnderXvfb,
                            public ::testing::WithParamInterface<SdlBackEnd> {};

TEST_P(SdlBackEndUnderXvfb, ShowsTheVisiblePagePixelForPixel) {
  openWith({GetParam()});
  ASSERT_EQ(frontEnd_->backEnd(), GetParam());
  EXPECT_FALSE(frontEnd_->startedFullScreen());
  drawTestPattern();
  const RgbImage expected = renderPage(0);
  RgbImage shown;
  EXPECT_TRUE(waitForScreen(display(), window_, expected, shown))
      << describeDifference(shown, expected);

  const WindowInfo info = windowInfo(display(), window_);
  EXPECT_EQ(info.width, kScreenWidth);
  EXPECT_EQ(info.height, kScreenHeight);
  EXPECT_EQ(info.title, windowTitleFromPath(executablePath()));
}

TEST_P(SdlBackEndUnderXvfb, DrawsOnlyTheChangedRowsInTheirPlace) {
  openWith({GetParam()});
  drawTestPattern();
  RgbImage shown;
  ASSERT_TRUE(waitForScreen(display(), window_, renderPage(0), shown));
  // Drawing straight onto the visible page marks just these rows changed.
  setPages(0, 0);
  fillBox(10, 57, 30, 61, 4);
  setPixel(319, 120, 9);
  const RgbImage expected = renderPage(0);
  EXPECT_TRUE(waitForScreen(display(), window_, expected, shown))
      << describeDifference(shown, expected);
}

TEST_P(SdlBackEndUnderXvfb, AltEnterSwitchesToFullScreenAndBackWithTheWholePicture) {
  openWith({GetParam()});
  drawTestPattern();
  const RgbImage expected = renderPage(0);
  RgbImage shown;
  ASSERT_TRUE(waitForScreen(display(), window_, expected, shown));

  ASSERT_TRUE(pressKeys(display(), window_, {"alt+Return"}));
  // Without a window manager the X server keeps the window's size; with one,
  // the window covers the screen and shows the image scaled.
  bool scaled = false;
  for (int attempt = 0; attempt < 20 && !scaled; ++attempt) {
    std::this_thread::sleep_for(100ms);
    scaled = captureWindow(display(), window_, shown) && shown.width > kScreenWidth &&
             showsImageScaled(shown, expected);
  }
  if (!scaled) {
    std::cout << "full screen was not granted (no window manager); " << shown.width << " x "
              << shown.height << "\n";
  }

  ASSERT_TRUE(pressKeys(display(), window_, {"alt+Return"}));
  EXPECT_TRUE(waitForScreen(display(), window_, expected, shown))
      << describeDifference(shown, expected);
  const WindowInfo info = windowInfo(display(), window_);
  EXPECT_TRUE(info.viewable);
  EXPECT_EQ(info.width, kScreenWidth);
  EXPECT_EQ(info.height, kScreenHeight);
  // Neither switch queued a key.
  EXPECT_EQ(pollKey(), "");
}

std::string backEndName(const ::testing::TestParamInfo<SdlBackEnd>& param) {
  switch (param.param) {
    case SdlBackEnd::AcceleratedRenderer:
      return "AcceleratedRenderer";
    case SdlBackEnd::SoftwareRenderer:
      return "SoftwareRenderer";
    case SdlBackEnd::WindowSurface:
      return "WindowSurface";
  }
  return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(EachBackEnd, SdlBackEndUnderXvfb,
                         ::testing::Values(SdlBackEnd::AcceleratedRenderer,
                                           SdlBackEnd::SoftwareRenderer, SdlBackEnd::WindowSurface),
                         backEndName);
TEST_P(SdlBackEndUnderXvfb, FullScreenShowsTheImageScaledByAWholeFactorOnBlack) {
  openWith({GetParam()});
  // The presentation tried when no window opens: reopen the window that way.
  ASSERT_EQ(frontEnd_->openWindow("full", kScreenWidth, kScreenHeight, kStoryDepth, true), 0);
  EXPECT_TRUE(frontEnd_->startedFullScreen());
  const std::string window = waitForWindowOf(display(), getpid());
  ASSERT_FALSE(window.empty());
  drawTestPattern();
  const RgbImage expected = renderPage(0);
  RgbImage shown;
  // Without a window manager the X server keeps the window's own size.
  bool scaled = false;
  for (int attempt = 0; attempt < 20 && !scaled; ++attempt) {
    std::this_thread::sleep_for(100ms);
    scaled = captureWindow(display(), window, shown) && shown.width > kScreenWidth &&
             showsImageScaled(shown, expected);
  }
  if (!scaled) {
    std::cout << "full screen was not granted (no window manager); " << shown.width << " x "
              << shown.height << "\n";
  }
  WindowInfo info;
  for (int attempt = 0; attempt < 50 && !info.viewable; ++attempt) {
    info = windowInfo(display(), window);
    std::this_thread::sleep_for(100ms);
  }
  EXPECT_TRUE(info.viewable) << "window " << window << (info.found ? " unmapped" : " gone");
}

TEST_F(SdlWindowUnderXvfb, KeyEventsGiveTheKeyStringsOfAWindowsKeyboard) {
  openWith({kSdlBackEndOrder.begin(), kSdlBackEndOrder.end()});
  struct Case {
    std::vector<std::string> keys;  // xdotool key names, pressed in order
    std::vector<std::string> expected;
  };
  const std::string up = "\xFF\x48";
  const Case cases[] = {
      {{"a", "Up", "Escape"}, {"a", up, "\x1b"}},
      {{"A"}, {"A"}},
      {{"ctrl+c"}, {"\x03"}},
      {{"ctrl+Return"}, {"\n"}},
      {{"ctrl+BackSpace"}, {"\x7f"}},
      {{"Tab", "BackSpace", "Return"}, {"\t", "\b", "\r"}},
      {{"shift+Tab"}, {"\xFF\x0f", "\t"}},
      {{"F1", "ctrl+Right", "Delete"}, {"\xFF\x3b", "\xFF\x74", "\xFF\x53"}},
      {{"eacute"}, {"\x82"}},
      {{"KP_Up"}, {up}},
      // System keys and F10 give nothing, not even the text of Alt+A.
      {{"alt+a", "F10", "alt+Up", "alt+F4"}, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> keys = c.keys;
    keys.push_back(kMarkerKey);
    ASSERT_TRUE(pressKeys(display(), window_, keys));
    EXPECT_EQ(keyStringsBeforeMarker(), c.expected) << c.keys.front();
  }
  // The Alt+F4 above neither closed nor hid the window.
  EXPECT_TRUE(windowInfo(display(), window_).viewable);
}

TEST_F(SdlWindowUnderXvfb, CloseRequestQueuesTheCloseKeyAndKeepsTheWindow) {
  openWith({kSdlBackEndOrder.begin(), kSdlBackEndOrder.end()});
  ASSERT_TRUE(sendCloseRequest(display(), window_));
  ASSERT_TRUE(pressKeys(display(), window_, {kMarkerKey}));
  EXPECT_EQ(keyStringsBeforeMarker(), std::vector<std::string>{"\xFF\x6b"});
  EXPECT_TRUE(windowInfo(display(), window_).viewable);

  // A window manager turns Alt+F4 into a close request; that one changes nothing.
  ASSERT_TRUE(pressKeys(display(), window_, {"alt+F4"}));
  ASSERT_TRUE(sendCloseRequest(display(), window_));
  ASSERT_TRUE(pressKeys(display(), window_, {kMarkerKey}));
  EXPECT_EQ(keyStringsBeforeMarker(), std::vector<std::string>{});
  EXPECT_TRUE(windowInfo(display(), window_).viewable);
}

TEST_F(SdlWindowUnderXvfb, ReopeningTheDisplayShowsANewBlackWindow) {
  openWith({kSdlBackEndOrder.begin(), kSdlBackEndOrder.end()});
  drawTestPattern();
  RgbImage shown;
  ASSERT_TRUE(waitForScreen(display(), window_, renderPage(0), shown));
  ASSERT_EQ(resetScreen(), 0);
  const std::string reopened = waitForWindowOf(display(), getpid());
  ASSERT_FALSE(reopened.empty());
  RgbImage black;
  black.width = kScreenWidth;
  black.height = kScreenHeight;
  black.rgb.assign(static_cast<std::size_t>(kScreenWidth * kScreenHeight * 3), 0);
  EXPECT_TRUE(waitForScreen(display(), reopened, black, shown)) << describeDifference(shown, black);
  EXPECT_EQ(windowInfo(display(), reopened).title, windowTitleFromPath(executablePath()));
}

}  // namespace
}  // namespace quillon
