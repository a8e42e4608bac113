#include "story_analysis/findings.h"

#include <algorithm>
#include <tuple>

namespace quillon::tool {

const char* severityName(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return "error";
    case Severity::Warning:
      return "warning";
    case Severity::Note:
      return "note";
  }
  return "note";
}

int64_t CheckReport::problemCount() const {
  return std::count_if(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity != Severity::Note; });
}

void sortFindings(std::vector<Finding>& findings) {
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return std::tie(a.file, a.field, a.kind) < std::tie(b.file, b.field, b.kind);
  });
}

}  // namespace quillon::tool
