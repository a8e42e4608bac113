// Reader throughput on picture text: readInteger over a large picture file,
// beside a minimal baseline that reads the same bytes, splits them on commas
// and line ends and converts each field with std::from_chars. The ratio of
// the two rates tells what the reader's rules cost.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_story.h"
#include "data/record_reader.h"

namespace quillon::bench {
namespace {

constexpr int32_t kWidth = 2000;
constexpr int32_t kHeight = 2000;
constexpr int32_t kSlot = 3;
constexpr const char* kPath = "sprites\\large.pic";

struct LargePicture {
  StoryFolder folder;
  std::size_t bytes = 0;
  LargePicture() {
    const std::string text = generatedPicture(kWidth, kHeight);
    bytes = text.size();
    folder.write("sprites/large.pic", text);
  }
};

LargePicture& largePicture() {
  static LargePicture picture;
  return picture;
}

void BM_ReaderReadInteger(benchmark::State& state) {
  const LargePicture& picture = largePicture();
  int64_t sum = 0;
  for (auto _ : state) {
    closeSlot(kSlot);
    if (openForInput(kPath, kSlot) != 0) state.SkipWithError("cannot open the picture");
    for (int64_t i = 0; i < int64_t{kWidth} * kHeight; ++i) sum += readInteger(kSlot);
    closeSlot(kSlot);
  }
  benchmark::DoNotOptimize(sum);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(picture.bytes));
}
BENCHMARK(BM_ReaderReadInteger)->Unit(benchmark::kMillisecond);

// The least a reader of this text must do: read the bytes, find the fields
// and convert them.
void BM_BaselineSplitFromChars(benchmark::State& state) {
  const LargePicture& picture = largePicture();
  std::vector<char> buffer(picture.bytes);
  int64_t sum = 0;
  for (auto _ : state) {
    std::FILE* file = std::fopen("sprites/large.pic", "rb");
    if (file == nullptr) state.SkipWithError("cannot open the picture");
    const std::size_t size = std::fread(buffer.data(), 1, buffer.size(), file);
    std::fclose(file);
    const char* field = buffer.data();
    const char* const end = buffer.data() + size;
    for (const char* p = field; p <= end; ++p) {
      if (p == end || *p == ',' || *p == '\n') {
        int32_t value = 0;
        std::from_chars(field, p, value);
        sum += value;
        field = p + 1;
      }
    }
  }
  benchmark::DoNotOptimize(sum);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(picture.bytes));
}
BENCHMARK(BM_BaselineSplitFromChars)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench

BENCHMARK_MAIN();
