#pragma once
// The subcommands of quillon-tool. Each returns the process exit status,
// except play, which ends the process with the player's own status.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quillon::tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFindings = 1;  // check: findings; walk: a run aborted; others: failed
inline constexpr int kExitUsage = 2;
// play passes the player's statuses through, and the player uses 2 for
// "file not found", so play reports usage errors with this one instead.
inline constexpr int kExitPlayUsage = 64;
inline constexpr int32_t kDefaultWalkKeys = 200;

// The whole command line; what main() runs.
int runQuillonTool(int argc, char** argv, std::ostream& out, std::ostream& err);

enum class OutputFormat { Text, Json };

struct CheckOptions {
  std::string story;
  OutputFormat format = OutputFormat::Text;
};
int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& err);

struct PlayOptions {
  std::string story;
  std::vector<int32_t> keys;
  std::string screenshot;   // the final screen, if not empty
  std::string shotsFolder;  // one PNG per key wait, if not empty
};
// Runs the player in this process in the story folder; never returns.
[[noreturn]] void runPlay(const PlayOptions& options);

struct WalkOptions {
  std::string story;
  int64_t runs = 1;
  uint64_t seed = 0;
  int32_t maxKeys = kDefaultWalkKeys;
  OutputFormat format = OutputFormat::Text;
  bool verbose = false;
  double timeLimitSeconds = 20.0;  // per run
};
int runWalk(const WalkOptions& options, std::ostream& out, std::ostream& err);

enum class GraphFormat { Dot, Svg, Png };
struct GraphOptions {
  std::string story;
  GraphFormat format = GraphFormat::Dot;
  std::string output;  // standard output when empty
};
int runGraph(const GraphOptions& options, std::ostream& out, std::ostream& err);

struct PictureSize {
  int32_t width = 0;
  int32_t height = 0;
};
int runToPng(const std::string& picture, std::optional<PictureSize> size, const std::string& png,
             std::ostream& err);
int runFromPng(const std::string& png, const std::string& picture, std::ostream& err);

}  // namespace quillon::tool
