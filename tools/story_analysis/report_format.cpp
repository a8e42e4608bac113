#include "story_analysis/report_format.h"

#include <algorithm>
#include <array>

namespace quillon::tool {
namespace {

std::array<int64_t, 3> countBySeverity(const CheckReport& report) {
  std::array<int64_t, 3> counts{};
  for (const Finding& finding : report.findings) {
    ++counts[static_cast<std::size_t>(finding.severity)];
  }
  return counts;
}

std::string plural(int64_t count, const std::string& word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

}  // namespace

std::string reportText(const CheckReport& report, const std::string& story) {
  std::string text;
  for (const Finding& finding : report.findings) {
    text += finding.file;
    if (finding.field > 0) text += " field " + std::to_string(finding.field);
    text += ": " + std::string(severityName(finding.severity)) + " [" + finding.kind +
            "]: " + finding.message + "\n";
    if (finding.keys && !finding.keys->empty()) text += "    keys: " + *finding.keys + "\n";
  }
  const auto counts = countBySeverity(report);
  text += story + ": " + plural(counts[0], "error") + ", " + plural(counts[1], "warning") + ", " +
          plural(counts[2], "note") + "; " +
          plural(static_cast<int64_t>(report.reachedPages.size()), "page") + " can be shown\n";
  return text;
}

nlohmann::json reportJson(const CheckReport& report, const std::string& story) {
  nlohmann::json findings = nlohmann::json::array();
  for (const Finding& finding : report.findings) {
    nlohmann::json entry = {{"severity", severityName(finding.severity)},
                            {"kind", finding.kind},
                            {"file", finding.file},
                            {"field", finding.field},
                            {"message", finding.message}};
    if (finding.page != kNoPage) entry["page"] = finding.page;
    if (finding.keys) entry["keys"] = *finding.keys;
    findings.push_back(std::move(entry));
  }
  const auto counts = countBySeverity(report);
  return {{"story", story},
          {"complete", report.complete},
          {"reached_pages", report.reachedPages},
          {"counts", {{"error", counts[0]}, {"warning", counts[1]}, {"note", counts[2]}}},
          {"findings", std::move(findings)}};
}

}  // namespace quillon::tool
