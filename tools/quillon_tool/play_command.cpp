// play: the real page cycle, headless, in this process, fed a key script.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "display/png_image.h"
#include "player/page_observer.h"
#include "player/scripted_session.h"
#include "quillon_tool/commands.h"
#include "story_analysis/shown_text.h"

namespace quillon::tool {
namespace {

struct PlayRun {
  std::filesystem::path screenshot;
  std::filesystem::path shots;
  std::size_t keyCount = 0;
  std::optional<int32_t> enteringPage;
  int32_t shownPage = 0;
};

// The ending leaves the process without flushing anything: every line goes
// out at once.
void printLine(const std::string& line) { std::cout << line << '\n' << std::flush; }

void savePng(const std::filesystem::path& path, const RgbImage& image) {
  if (!writePng(path.string(), image)) {
    std::cerr << "quillon-tool play: could not write " << path.string() << "\n" << std::flush;
  }
}

std::string shotName(int32_t wait, int32_t page) {
  char name[64];
  std::snprintf(name, sizeof name, "%04d-p%03d.png", static_cast<int>(wait),
                static_cast<int>(page));
  return name;
}

void onPage(void* context, PageStage stage, const StoryState& state) {
  PlayRun& run = *static_cast<PlayRun*>(context);
  if (stage == PageStage::Entering) {
    run.enteringPage = state.PL;
    return;
  }
  run.enteringPage.reset();
  run.shownPage = state.PL;
  printLine("page " + std::to_string(state.PL) + ": " + shownText(state.page.NM));
}

std::filesystem::path absoluteOrEmpty(const std::string& path) {
  return path.empty() ? std::filesystem::path() : std::filesystem::absolute(path);
}

}  // namespace

void runPlay(const PlayOptions& options) {
  static PlayRun run;
  run.screenshot = absoluteOrEmpty(options.screenshot);
  run.shots = absoluteOrEmpty(options.shotsFolder);
  run.keyCount = options.keys.size();
  std::error_code failed;
  if (!run.shots.empty()) std::filesystem::create_directories(run.shots, failed);
  if (!failed) std::filesystem::current_path(options.story, failed);
  if (failed) {
    std::cerr << "quillon-tool play: " << failed.message() << "\n";
    std::exit(kExitPlayUsage);
  }

  static ScriptedSession session;
  session.keyCodes = options.keys;
  session.observer = [](int32_t wait, const RgbImage& screen) {
    if (!run.shots.empty()) savePng(run.shots / shotName(wait, run.shownPage), screen);
    if (static_cast<std::size_t>(wait) == run.keyCount) {
      printLine("keys used up on page " + std::to_string(run.shownPage) +
                ": the player is ended with exit status " + std::to_string(kScriptExhaustedStatus));
    }
  };
  // The first closing is the end of the story as the user saw it: at an
  // abort or when the keys run out, the ending; at Escape, the reset, after
  // which the player only blanks the window.
  session.closingObserver = [](int32_t closing, const RgbImage& screen) {
    if (run.enteringPage) {
      printLine("page " + std::to_string(*run.enteringPage) + ": not shown");
      run.enteringPage.reset();
    }
    if (closing != 0) return;
    if (!run.screenshot.empty()) savePng(run.screenshot, screen);
    if (!run.shots.empty()) savePng(run.shots / "end.png", screen);
  };
  setPageObserver(&onPage, &run);
  session.run();
}

}  // namespace quillon::tool
