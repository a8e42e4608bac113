// quillon-tool play is how authors see what their story shows without a
// window; it is only worth trusting if its screens are the window's. The demo
// story is walked twice with the same keys: headless by quillon-tool play
// (one PNG per key wait), and by the real quillon under Xvfb with real X key
// events. Every screen the window shows must equal the tool's, pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "support/story_fixture.h"
#include "window/xvfb_session.h"

namespace quillon {
namespace {

using namespace window_test;
using namespace std::chrono_literals;

// One key press: in quillon-tool's notation and as xdotool names it.
struct WalkKey {
  const char* notation;
  const char* xdotoolKey;
  const char* what;
};

// Through the demo: choices, the map, the percentage label, a key no choice
// takes, a picture large enough to be drawn growing, then Escape.
const WalkKey kWalk[] = {
    {" ", "space", "space begins: the shore"},
    {"c", "c", "c: the sea cave"},
    {"{Tab}", "Tab", "Tab: the map of the three visited pages"},
    {"x", "x", "a key leaves the map: the sea cave again"},
    {"{Backspace}", "BackSpace", "Backspace: the percentage label"},
    {"s", "s", "s: the old key, with the label"},
    {" ", "space", "space: back to the sea cave, the dig choice gone"},
    {"i", "i", "i: deep in the cave"},
    {"p", "p", "p: the rock pool, a large picture"},
    {"z", "z", "z takes no choice: the rock pool stays"},
    {"{Backspace}", "BackSpace", "Backspace again: the label off"},
    {"b", "b", "b: deep in the cave"},
    {"{Tab}", "Tab", "Tab: the map of six pages"},
    {"b", "b", "b only leaves the map"},
    {"{Esc}", "Escape", "Escape quits"},
};

std::filesystem::path toolExecutable() {
  return quillonExecutable().parent_path() / "tools" / "quillon-tool";
}

std::filesystem::path demoStory() {
  return std::filesystem::path(QUILLON_TEST_SOURCE_DIR).parent_path() / "stories" / "demo";
}

// Removes the folder and everything in it at the end of the test.
class TemporaryFolder {
 public:
  TemporaryFolder() : path_(story_test::makeTemporaryDirectory("quillon-shots")) {}
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The per-wait screens quillon-tool play wrote, in wait order (their names
// start with the zero-padded wait number); the closing screen is left out.
std::vector<RgbImage> readShots(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename() != "end.png") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<RgbImage> shots(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_TRUE(readPng(files[i].string(), shots[i])) << files[i];
  }
  return shots;
}

class QuillonToolPlayAgainstQuillonUnderXvfb : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!xvfbToolsAvailable()) {
      GTEST_SKIP() << "Xvfb, xdotool, xwininfo or ImageMagick's import is not installed";
    }
    ASSERT_TRUE(std::filesystem::exists(quillonExecutable()))
        << "build the quillon target first: " << quillonExecutable();
    ASSERT_TRUE(std::filesystem::exists(toolExecutable()))
        << "build the quillon-tool target first: " << toolExecutable();
    ASSERT_TRUE(std::filesystem::exists(demoStory() / "pages" / "L000_000.mem")) << demoStory();
    server_ = std::make_unique<XvfbServer>();
    ASSERT_TRUE(server_->running()) << "Xvfb did not start";
  }

  const std::string& display() const { return server_->display(); }

  std::unique_ptr<XvfbServer> server_;
};

TEST_F(QuillonToolPlayAgainstQuillonUnderXvfb, WindowShowsTheToolsScreenForEveryKeyOfADemoWalk) {
  std::string notation;
  for (const WalkKey& key : kWalk) notation += key.notation;

  TemporaryFolder shotsFolder;
  const CommandResult played =
      runOnDisplay(display(),
                   {toolExecutable().string(), "play", demoStory().string(), "--keys", notation,
                    "--shots", shotsFolder.path().string()},
                   60s);
  ASSERT_EQ(played.exitStatus, 0) << played.output;
  const std::vector<RgbImage> shots = readShots(shotsFolder.path());
  // One screen per key wait: the start, then one after each key but Escape.
  ASSERT_EQ(shots.size(), std::size(kWalk)) << played.output;

  ChildProgram quillon(quillonExecutable(), demoStory(), display());
  const std::string window = waitForWindowOf(display(), quillon.pid());
  ASSERT_FALSE(window.empty()) << quillon.standardError();

  RgbImage shown;
  ASSERT_TRUE(waitForScreen(display(), window, shots[0], shown))
      << "title page: " << describeDifference(shown, shots[0]);
  for (std::size_t i = 0; i + 1 < std::size(kWalk); ++i) {
    ASSERT_TRUE(pressKeys(display(), window, {kWalk[i].xdotoolKey})) << kWalk[i].what;
    ASSERT_TRUE(waitForScreen(display(), window, shots[i + 1], shown))
        << "after key " << i + 1 << ", " << kWalk[i].what << ": "
        << describeDifference(shown, shots[i + 1]);
  }

  // Escape closes the window before xdotool sends the key's release, so
  // xdotool's own status says nothing here.
  pressKeys(display(), window, {kWalk[std::size(kWalk) - 1].xdotoolKey});
  int exitStatus = -1;
  ASSERT_TRUE(quillon.waitForExit(10s, exitStatus));
  EXPECT_EQ(exitStatus, 0);
  EXPECT_EQ(quillon.standardError(), "");
}

}  // namespace
}  // namespace quillon
