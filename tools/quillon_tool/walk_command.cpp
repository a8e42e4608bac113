// walk: random playthroughs, each in a child process, and what they found.
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "player/scripted_session.h"
#include "player/story_screen.h"
#include "quillon_tool/commands.h"
#include "quillon_tool/walk_run.h"
#include "quillon_tool/walker.h"
#include "story_analysis/key_notation.h"
#include "story_analysis/story_model.h"

namespace quillon::tool {
namespace {

struct AbortSeen {
  int status = 0;
  int64_t runs = 0;
  std::vector<int32_t> keys;  // the shortest sequence that led to it
};

struct WalkSummary {
  std::set<int32_t> shown;
  int32_t highestVisited = 0;
  int64_t byEscape = 0;
  int64_t atKeyLimit = 0;
  int64_t aborted = 0;
  std::map<std::string, AbortSeen> aborts;  // by what the player reported
};

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of("\r\n ");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of("\r\n ") - first + 1);
}

// What ended a run that neither pressed Escape nor ran out of keys.
std::string abortDescription(const WalkRun& run, double timeLimit) {
  if (run.timedOut)
    return "no key wait within " + std::to_string(timeLimit) + " s: the run was killed";
  if (!run.exited) return "killed by signal " + std::to_string(run.signal);
  std::string message = trimmed(run.standardError);
  if (message.empty()) message = "no message";
  return message + " (exit status " + std::to_string(run.exitStatus) + ")";
}

std::string runEnding(const WalkRun& run) {
  if (run.exited && run.exitStatus == kExitOk) return "Escape";
  if (run.exited && run.exitStatus == kScriptExhaustedStatus) return "key limit";
  return "abort";
}

void record(const WalkRun& run, double timeLimit, WalkSummary& summary) {
  summary.shown.insert(run.shownPages.begin(), run.shownPages.end());
  summary.highestVisited = std::max(summary.highestVisited, run.highestVisited);
  const std::string ending = runEnding(run);
  if (ending == "Escape") {
    ++summary.byEscape;
  } else if (ending == "key limit") {
    ++summary.atKeyLimit;
  } else {
    ++summary.aborted;
    AbortSeen& seen = summary.aborts[abortDescription(run, timeLimit)];
    if (seen.runs++ == 0 || run.keys.size() < seen.keys.size()) {
      seen.keys = run.keys;
      seen.status = run.exited ? run.exitStatus : -1;
    }
  }
}

std::string pageList(const std::vector<int32_t>& pages) {
  if (pages.empty()) return "none";
  std::string text;
  for (const int32_t page : pages) text += (text.empty() ? "" : " ") + std::to_string(page);
  return text;
}

void printText(const WalkOptions& options, const WalkSummary& summary,
               const std::vector<int32_t>& neverShown, std::ostream& out) {
  out << "walk of " << options.story << ": " << options.runs << " runs, seed " << options.seed
      << ", at most " << options.maxKeys << " keys each\n";
  out << "pages shown: " << pageList({summary.shown.begin(), summary.shown.end()}) << "\n";
  out << "page files never shown: " << pageList(neverShown) << "\n";
  out << "highest percentage: " << percentageLabel(summary.highestVisited, kHighestCountedPage)
      << "\n";
  out << "runs ended: " << summary.byEscape << " by Escape, " << summary.atKeyLimit
      << " at the key limit, " << summary.aborted << " by an abort\n";
  for (const auto& [message, seen] : summary.aborts) {
    out << "abort in " << seen.runs << (seen.runs == 1 ? " run: " : " runs: ") << message << "\n";
    out << "    keys: " << keyNotation(seen.keys) << "\n";
  }
}

void printJson(const WalkOptions& options, const WalkSummary& summary,
               const std::vector<int32_t>& neverShown, std::ostream& out) {
  nlohmann::json aborts = nlohmann::json::array();
  for (const auto& [message, seen] : summary.aborts) {
    aborts.push_back({{"message", message},
                      {"exit_status", seen.status},
                      {"runs", seen.runs},
                      {"keys", keyNotation(seen.keys)}});
  }
  const nlohmann::json report = {
      {"story", options.story},
      {"runs", options.runs},
      {"seed", options.seed},
      {"max_keys", options.maxKeys},
      {"pages_shown", std::vector<int32_t>(summary.shown.begin(), summary.shown.end())},
      {"page_files_never_shown", neverShown},
      {"highest_percentage", percentageLabel(summary.highestVisited, kHighestCountedPage)},
      {"ended",
       {{"escape", summary.byEscape},
        {"key_limit", summary.atKeyLimit},
        {"abort", summary.aborted}}},
      {"aborts", std::move(aborts)}};
  out << report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

}  // namespace

int runWalk(const WalkOptions& options, std::ostream& out, std::ostream& err) {
  if (!std::filesystem::is_directory(options.story)) {
    err << "quillon-tool walk: " << options.story << " is not a folder\n";
    return kExitUsage;
  }
  const std::filesystem::path story = std::filesystem::absolute(options.story);
  WalkSummary summary;
  for (int64_t i = 0; i < options.runs; ++i) {
    const WalkRun run =
        runWalkInChild(story, runSeed(options.seed, i), options.maxKeys, options.timeLimitSeconds);
    record(run, options.timeLimitSeconds, summary);
    if (options.verbose) {
      err << "run " << i << ": " << run.keys.size() << " keys, ended by " << runEnding(run)
          << "; pages " << pageList(run.shownPages) << "\n";
    }
  }
  Story files(story);
  std::vector<int32_t> neverShown;
  for (const int32_t page : files.numberedPages()) {
    if (!summary.shown.contains(page)) neverShown.push_back(page);
  }
  if (options.format == OutputFormat::Json) {
    printJson(options, summary, neverShown, out);
  } else {
    printText(options, summary, neverShown, out);
  }
  return summary.aborted > 0 ? kExitFindings : kExitOk;
}

}  // namespace quillon::tool
