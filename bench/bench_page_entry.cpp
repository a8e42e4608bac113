// Entering a page on the headless display with a 320 x 200 picture: from
// loadPageFile to the finished screen on the visible page (loadPageFile,
// drawPagePicture, composeStoryScreen, showStoryScreen), and the same plus
// one presentation pass, which turns the visible page into window pixels.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_story.h"
#include "data/page_file.h"
#include "data/picture.h"
#include "player/story_screen.h"
#include "player/story_state.h"

namespace quillon::bench {
namespace {

constexpr int32_t kPage = 7;

struct PageEntry {
  StoryFolder folder;
  HeadlessFrontEnd* frontEnd = nullptr;
  StoryState state;

  PageEntry() {
    folder.write("sprites/full.pic", generatedPicture(kScreenWidth, kScreenHeight));
    folder.write("pages/L007_000.mem",
                 "The Lighthouse Keeper,320,200,full.pic\n"
                 "n,1,0,North\ns,2,0,South\nb,0,7,Back\n,0,0,\n"
                 "Night has fallen on the little bay.\n"
                 "Far off, the lighthouse stands dark.\n"
                 "Its keeper left at dusk and never\n"
                 "came back. Ships will be passing soon.\n"
                 "Someone has to light the lamp.\n");
    frontEnd = &openStoryDisplay();
    state.GRAI.assign(static_cast<std::size_t>(state.MP) + 1, 0);
    state.PL = kPage;
  }
};

PageEntry& pageEntry() {
  static PageEntry entry;
  return entry;
}

void countVisitOf(void* context) { countVisit(*static_cast<StoryState*>(context)); }

void enterPage(StoryState& state) {
  loadPageFile(state.PL, state.BK, state.page);
  drawPagePicture(state.PL, state.page.F2, state.page.XX, state.page.YY, countVisitOf, &state);
  composeStoryScreen(state);
  showStoryScreen(state);
}

void BM_EnterPage320x200(benchmark::State& benchmarkState) {
  PageEntry& entry = pageEntry();
  for (auto _ : benchmarkState) enterPage(entry.state);
}
BENCHMARK(BM_EnterPage320x200)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_EnterPage320x200AndPresent(benchmark::State& benchmarkState) {
  PageEntry& entry = pageEntry();
  for (auto _ : benchmarkState) {
    enterPage(entry.state);
    benchmark::DoNotOptimize(entry.frontEnd->presentNow().data());
  }
}
BENCHMARK(BM_EnterPage320x200AndPresent)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace quillon::bench

BENCHMARK_MAIN();
