#pragma once
// What `check` reports: one finding per problem, each naming its file, the
// field (counted from 1; 0 for the file as a whole) and what the player does.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon::tool {

// Errors end the player; warnings are what an author most likely does not
// want; notes tell without complaining (an intended ending, a cut-short
// analysis). Only errors and warnings count as findings for the exit status.
enum class Severity { Error, Warning, Note };
const char* severityName(Severity severity);

inline constexpr int32_t kNoPage = -2147483647 - 1;

struct Finding {
  Severity severity = Severity::Warning;
  std::string kind;  // stable name, e.g. "missing-page-file"
  std::string file;  // relative to the story folder, "/" separated
  int64_t field = 0;
  int32_t page = kNoPage;  // the story page concerned, if any
  std::string message;
  std::optional<std::string> keys;  // play --keys that lead there, when known
};

struct CheckReport {
  std::vector<Finding> findings;
  std::vector<int32_t> reachedPages;  // pages whose screen can be shown
  bool complete = true;
  // Errors and warnings.
  int64_t problemCount() const;
};

// Orders findings by file, field, then kind, so reports are stable.
void sortFindings(std::vector<Finding>& findings);

}  // namespace quillon::tool
