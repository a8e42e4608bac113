#pragma once
// The check report for people (text) and for programs (JSON).
#include <string>

#include <nlohmann/json.hpp>

#include "story_analysis/findings.h"

namespace quillon::tool {

// One finding a line: "FILE field N: SEVERITY [KIND]: MESSAGE", with the
// keys that lead there (for play --keys) on an indented line below; then a
// summary line.
std::string reportText(const CheckReport& report, const std::string& story);

// {"story", "complete", "reached_pages", "counts": {"error", "warning",
// "note"}, "findings": [{"severity", "kind", "file", "field", "page",
// "message", "keys"}]}; "field" is 0 for a whole file, "page" and "keys"
// are left out when unknown.
nlohmann::json reportJson(const CheckReport& report, const std::string& story);

}  // namespace quillon::tool
