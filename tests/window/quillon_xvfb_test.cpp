// The quillon executable under a private Xvfb, driven by real X key events
// and close requests: each key leads to the page the fixture story keys by
// its key string, and the window must show the same screen as the headless
// player does for the same key strings.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "display/key_queue.h"
#include "display/window_title.h"
#include "errors/runtime_error.h"
#include "support/story_fixture.h"
#include "support/story_harness.h"
#include "window/xvfb_session.h"

namespace quillon {
namespace {

using namespace window_test;
using namespace story_test;
using namespace std::chrono_literals;

constexpr int32_t kWrongPage = 9;

PageText keyedPage(const std::string& title, const std::vector<ChoiceText>& choices) {
  PageText page;
  page.title = title;
  page.width = kSmallPictureWidth;
  page.height = 2;
  page.picture = "tiny0302.VIS";
  for (std::size_t i = 0; i < choices.size(); ++i) {
    page.choices[i] = choices[i];
  }
  page.lines = {"Each page is reached by one key.", "", "", "", ""};
  return page;
}

// Page n + 1 is reached from page n by the n-th key of the walk below; a key
// that gives anything else either matches nothing (the screen stays) or leads
// to the wrong page.
void writeKeyStory(StoryFolder& folder) {
  folder.writePicture("tiny0302.VIS", kSmallPicture, kSmallPictureWidth);
  folder.writePage(0, keyedPage("Press A", {{"a", 1, 0, "A"}}));
  folder.writePage(1, keyedPage("Press Up", {{"\xFF\x48", 2, 0, "Up"}}));
  folder.writePage(2, keyedPage("Press Escape", {{"\x1b", 3, 0, "Esc"}}));
  folder.writePage(3, keyedPage("Press Ctrl+C", {{"\x03", 4, 0, "^C"}}));
  folder.writePage(4, keyedPage("Press Ctrl+Backspace", {{"\x7f", 5, 0, "^BS"}}));
  folder.writePage(5, keyedPage("Alt+A and F10 then e acute", {{"a", kWrongPage, 0, "a"},
                                                               {"\xFF\x1e", kWrongPage, 0, "Alt+A"},
                                                               {"\xFF\x44", kWrongPage, 0, "F10"},
                                                               {"\x82", 6, 0, "e acute"}}));
  folder.writePage(6, keyedPage("Close the window", {{"\xFF\x6b", 7, 0, "Close"}}));
  folder.writePage(7, keyedPage("The end", {}));
  folder.writePage(kWrongPage, keyedPage("Wrong key", {}));
}

// The key codes the walk should produce, for the headless reference run.
const std::vector<int32_t> kWalkCodes = {'a', extendedKeyCode(72), 27, 3, 127,
                                         130, kCloseKeyCode,       27};

class QuillonUnderXvfb : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!xvfbToolsAvailable()) {
      GTEST_SKIP() << "Xvfb, xdotool, xwininfo or ImageMagick's import is not installed";
    }
    ASSERT_TRUE(std::filesystem::exists(quillonExecutable()))
        << "build the quillon target first: " << quillonExecutable();
    server_ = std::make_unique<XvfbServer>();
    ASSERT_TRUE(server_->running()) << "Xvfb did not start";
  }

  const std::string& display() const { return server_->display(); }

  std::unique_ptr<XvfbServer> server_;
};

TEST_F(QuillonUnderXvfb, KeysCloseRequestsAndFullScreenDriveTheStory) {
  StoryFolder folder;
  writeKeyStory(folder);
  const StoryRun reference = playStory(folder, kWalkCodes);
  ASSERT_EQ(reference.child.exitStatus, 0) << ::testing::PrintToString(reference.child);
  ASSERT_EQ(reference.screens.size(), 8u);

  ChildProgram quillon(quillonExecutable(), folder.root(), display());
  const std::string window = waitForWindowOf(display(), quillon.pid());
  ASSERT_FALSE(window.empty()) << quillon.standardError();

  const WindowInfo info = windowInfo(display(), window);
  EXPECT_EQ(info.width, 320);
  EXPECT_EQ(info.height, 200);
  EXPECT_EQ(info.title, windowTitleFromPath(quillonExecutable().string()));

  RgbImage shown;
  ASSERT_TRUE(waitForScreen(display(), window, reference.screens[0], shown))
      << "start page: " << describeDifference(shown, reference.screens[0]);

  struct Step {
    const char* what;
    std::vector<std::string> keys;
  };
  const Step steps[] = {
      {"A gives 97", {"a"}},
      {"Up gives 255 72", {"Up"}},
      {"Escape gives 27", {"Escape"}},
      {"Ctrl+C gives 3", {"ctrl+c"}},
      {"Ctrl+Backspace gives 127", {"ctrl+BackSpace"}},
      {"Alt+A and F10 give nothing, e acute gives 130", {"alt+a", "F10", "eacute"}},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    ASSERT_TRUE(pressKeys(display(), window, steps[i].keys));
    const RgbImage& expected = reference.screens[i + 1];
    ASSERT_TRUE(waitForScreen(display(), window, expected, shown))
        << steps[i].what << ": " << describeDifference(shown, expected);
  }

  // The close button: the close key, and the window stays.
  ASSERT_TRUE(sendCloseRequest(display(), window));
  ASSERT_TRUE(waitForScreen(display(), window, reference.screens[7], shown))
      << "close request gives 255 107: " << describeDifference(shown, reference.screens[7]);
  EXPECT_TRUE(windowInfo(display(), window).viewable);
  EXPECT_TRUE(quillon.stillRunning());

  // Waiting at a page costs next to nothing.
  std::this_thread::sleep_for(500ms);
  const double before = cpuSeconds(quillon.pid());
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(5s);
  const double used = cpuSeconds(quillon.pid()) - before;
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double percent = 100.0 * used / wall;
  std::cout << "CPU while waiting at a page: " << percent << " % of one core (" << used << " s in "
            << wall << " s)\n";
  // Far above the goal, so only a spinning wait fails it.
  EXPECT_LT(percent, 25.0);

  // Full screen and back: the window survives and shows the whole picture.
  ASSERT_TRUE(pressKeys(display(), window, {"alt+Return"}));
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(pressKeys(display(), window, {"alt+Return"}));
  EXPECT_TRUE(waitForScreen(display(), window, reference.screens[7], shown))
      << "after Alt+Enter twice: " << describeDifference(shown, reference.screens[7]);
  EXPECT_TRUE(windowInfo(display(), window).viewable);

  // Escape closes the window before xdotool sends the key's release, so
  // xdotool's own status says nothing here.
  pressKeys(display(), window, {"Escape"});
  int exitStatus = -1;
  ASSERT_TRUE(quillon.waitForExit(10s, exitStatus));
  EXPECT_EQ(exitStatus, 0);
  EXPECT_EQ(quillon.standardError(), "");
}

TEST(QuillonWithoutDisplay, EndsWithErrorOneAtLocationTwenty) {
  const std::filesystem::path program = quillonExecutable();
  ASSERT_TRUE(std::filesystem::exists(program)) << "build the quillon target first: " << program;
  StoryFolder folder;
  ChildProgram quillon(program, folder.root(), "");
  int exitStatus = -1;
  ASSERT_TRUE(quillon.waitForExit(30s, exitStatus));
  EXPECT_EQ(exitStatus, 1);
  EXPECT_EQ(quillon.standardError(), std::string("\nAborting due to runtime error 1 (illegal "
                                                 "function call) at line 20 of ") +
                                         kModuleName + "::()\n\n");
}

}  // namespace
}  // namespace quillon
