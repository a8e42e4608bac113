#pragma once
// The choices of one random playthrough, made as the player goes: mostly an
// offered choice, now and then Tab (the map), Backspace (the percentage
// label), the window's close key (ignored by the player) or Escape. On a
// page where nothing is offered it presses Escape.
#include <cstdint>
#include <optional>
#include <vector>

#include "player/story_state.h"

namespace quillon::tool {

// SplitMix64: small, fast and the same on every platform, so a seed gives
// the same walk everywhere.
class SplitMix64 {
 public:
  explicit SplitMix64(uint64_t seed) : state_(seed) {}
  uint64_t next();
  // Uniform enough below `bound` (> 0) for choosing keys.
  uint64_t below(uint64_t bound) { return next() % bound; }

 private:
  uint64_t state_;
};

// The seed of run `run` of a walk seeded with `seed`.
uint64_t runSeed(uint64_t seed, int64_t run);

class Walker {
 public:
  Walker(uint64_t seed, int32_t maxKeys) : random_(seed), maxKeys_(maxKeys) {}

  // At every page shown: its offered keys.
  void pageShown(const StoryState& state);
  // The key for the next key wait; none once the key limit is reached.
  std::optional<int32_t> nextKey();

 private:
  SplitMix64 random_;
  int32_t maxKeys_;
  int32_t pressed_ = 0;
  bool inMap_ = false;
  std::vector<int32_t> offered_;
};

}  // namespace quillon::tool
