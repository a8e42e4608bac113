#include "quillon_tool/walker.h"

#include "display/key_queue.h"
#include "story_analysis/key_notation.h"

namespace quillon::tool {
namespace {

constexpr int32_t kEscape = 27;
constexpr int32_t kTab = 9;
constexpr int32_t kBackspace = 8;
constexpr int32_t kAnyKey = 'x';
// Out of 1000 key waits: how often each other key is pressed. Quitting is
// rare, so that most runs go deep before they start afresh.
constexpr uint64_t kPerMille = 1000;
constexpr uint64_t kMapBelow = 30;
constexpr uint64_t kLabelBelow = 60;
constexpr uint64_t kCloseBelow = 80;
constexpr uint64_t kQuitBelow = 85;

}  // namespace

uint64_t SplitMix64::next() {
  state_ += 0x9E3779B97F4A7C15ull;
  uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

uint64_t runSeed(uint64_t seed, int64_t run) {
  SplitMix64 mix(seed ^ (static_cast<uint64_t>(run) * 0xD1B54A32D192ED03ull));
  return mix.next();
}

void Walker::pageShown(const StoryState& state) {
  inMap_ = false;
  offered_.clear();
  for (int32_t T = 1; T <= kChoiceCount; ++T) {
    const auto choice = static_cast<std::size_t>(T);
    if (state.CMAI[choice] == 0) continue;
    if (const auto code = keyCodeOfKeyString(state.page.DAS[choice])) offered_.push_back(*code);
  }
}

std::optional<int32_t> Walker::nextKey() {
  if (pressed_ >= maxKeys_) return std::nullopt;
  ++pressed_;
  const auto anyOffered = [&] {
    return offered_.empty() ? kAnyKey : offered_[random_.below(offered_.size())];
  };
  if (inMap_) {
    // Any key only ends the map view.
    inMap_ = false;
    return anyOffered();
  }
  const uint64_t roll = random_.below(kPerMille);
  if (roll < kMapBelow) {
    inMap_ = true;
    return kTab;
  }
  if (roll < kLabelBelow) return kBackspace;
  if (roll < kCloseBelow) return kCloseKeyCode;
  if (roll < kQuitBelow || offered_.empty()) return kEscape;
  return anyOffered();
}

}  // namespace quillon::tool
