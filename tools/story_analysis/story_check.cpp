#include "story_analysis/story_check.h"

#include <set>

#include "story_analysis/check_parts.h"
#include "story_analysis/key_notation.h"
#include "story_analysis/shown_text.h"

namespace quillon::tool {

std::string describeChoice(const PageFields& fields, int32_t T) {
  const std::string& key = fields.DAS[static_cast<std::size_t>(T)];
  std::string text = "choice " + std::to_string(T);
  if (!key.empty()) text += " (key " + describeKeyString(key) + ")";
  return text;
}

CheckReport checkStory(Story& story, int64_t stateLimit) {
  CheckReport report;
  const Exploration exploration = explore(story, stateLimit);
  report.complete = exploration.complete;
  addFlowFindings(story, exploration, report.findings);

  // Every page file once: those that exist and those the player can show
  // (page 1000 shows page 0's file).
  std::set<std::string> seenFiles;
  std::vector<int32_t> pages;
  std::set<int32_t> candidates(story.numberedPages().begin(), story.numberedPages().end());
  for (const auto& [page, visit] : exploration.shown) candidates.insert(page);
  for (const int32_t page : candidates) {
    const PageFile& file = story.pageFile(page);
    if (!file.exists() || !seenFiles.insert(file.file).second) continue;
    pages.push_back(page);
    addPageTextFindings(page, file, report.findings);
  }
  addPictureFindings(story, pages, exploration.entered, report.findings);

  for (const auto& [page, visit] : exploration.shown) report.reachedPages.push_back(page);
  sortFindings(report.findings);
  return report;
}

}  // namespace quillon::tool
