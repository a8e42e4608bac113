// Text and page copies: printText of a full 40 x 25 screen, and a whole-page
// copyPage onto another page and onto the visible page (under the lock, with
// every row marked changed).
#include <benchmark/benchmark.h>

#include <string>

#include "bench_story.h"
#include "display/framebuffer.h"
#include "display/text_console.h"

namespace quillon::bench {
namespace {

constexpr int32_t kColumns = 40;
constexpr int32_t kRows = 25;

void openDisplayOnce() {
  static StoryFolder folder;
  static bool opened = false;
  if (!opened) {
    openStoryDisplay();
    opened = true;
  }
}

void BM_PrintTextFullScreen(benchmark::State& state) {
  openDisplayOnce();
  std::string text;
  for (int32_t i = 0; i < kColumns * kRows; ++i) text += static_cast<char>(32 + i % 95);
  for (auto _ : state) {
    locate(1, 1);
    printText(text);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kColumns * kRows);
}
BENCHMARK(BM_PrintTextFullScreen)->Unit(benchmark::kMicrosecond);

void BM_CopyPage(benchmark::State& state) {
  openDisplayOnce();
  const auto to = static_cast<int32_t>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(copyPage(1, to));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kScreenWidth * kScreenHeight);
}
// Page 4 is a hidden page; page 0 is the visible page.
BENCHMARK(BM_CopyPage)->Arg(4)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon::bench

BENCHMARK_MAIN();
