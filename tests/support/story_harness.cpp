#include "support/story_harness.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "player/scripted_session.h"

namespace quillon::story_test {
namespace {

constexpr const char* kWaitScreen = "wait";
constexpr const char* kClosingScreen = "closing";

std::filesystem::path screenPath(const std::filesystem::path& folder, const char* kind,
                                 int32_t index) {
  char name[48];
  std::snprintf(name, sizeof name, "%s-%04d.png", kind, static_cast<int>(index));
  return folder / name;
}

std::vector<RgbImage> readScreens(const std::filesystem::path& folder, const char* kind) {
  std::vector<RgbImage> screens;
  for (int32_t index = 0;; ++index) {
    RgbImage screen;
    if (!readPng(screenPath(folder, kind, index).string(), screen)) break;
    screens.push_back(std::move(screen));
  }
  return screens;
}

}  // namespace

StoryRun playStory(const StoryFolder& folder, const std::vector<int32_t>& keyCodes,
                   StoryOptions options) {
  const std::filesystem::path screens = makeTemporaryDirectory("quillon-screens");
  StoryRun run;
  run.child = runInChild([&] {
    std::filesystem::current_path(folder.root());
    ScriptedSession session;
    session.keyCodes = keyCodes;
    session.observer = [&screens](int32_t index, const RgbImage& screen) {
      writePng(screenPath(screens, kWaitScreen, index).string(), screen);
    };
    session.closingObserver = [&screens](int32_t index, const RgbImage& screen) {
      writePng(screenPath(screens, kClosingScreen, index).string(), screen);
    };
    session.frontEnd().failNextOpen(options.withoutDisplay);
    session.run();
  });
  run.screens = readScreens(screens, kWaitScreen);
  run.closingScreens = readScreens(screens, kClosingScreen);
  std::error_code ignored;
  std::filesystem::remove_all(screens, ignored);
  return run;
}

StoryRun playStory(const StoryFolder& folder, std::string_view keys, StoryOptions options) {
  return playStory(folder, keyCodesOf(keys), options);
}

bool sameImage(const RgbImage& a, const RgbImage& b) {
  return a.width == b.width && a.height == b.height && a.rgb == b.rgb;
}

void PrintTo(const StoryRun& run, std::ostream* out) {
  quillon::PrintTo(run.child, out);
  *out << ", " << run.screens.size() << " screens";
}

}  // namespace quillon::story_test
