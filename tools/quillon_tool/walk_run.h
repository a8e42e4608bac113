#pragma once
// One random playthrough in a child process, with the headless player.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quillon::tool {

struct WalkRun {
  bool exited = false;  // false: killed by a signal (or by the time limit)
  int exitStatus = -1;
  int signal = 0;
  bool timedOut = false;
  std::string standardError;  // what the player wrote: its abort message
  std::vector<int32_t> keys;  // every key pressed, in order
  std::vector<int32_t> shownPages;
  int32_t highestVisited = 0;  // the largest PC seen
};

WalkRun runWalkInChild(const std::filesystem::path& story, uint64_t seed, int32_t maxKeys,
                       double timeLimitSeconds);

}  // namespace quillon::tool
