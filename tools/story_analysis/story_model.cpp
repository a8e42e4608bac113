#include "story_analysis/story_model.h"

#include <algorithm>
#include <system_error>

#include "data/record_reader.h"

namespace quillon::tool {
namespace {

// A slot the player never uses, for looking whether a file opens.
constexpr int32_t kProbeSlot = 200;

}  // namespace

std::string displayPath(std::string_view playerPath) {
  std::string shown(playerPath);
  std::replace(shown.begin(), shown.end(), '\\', '/');
  return shown;
}

InStoryFolder::InStoryFolder(const std::filesystem::path& folder)
    : previous_(std::filesystem::current_path()) {
  std::filesystem::current_path(folder);
}

InStoryFolder::~InStoryFolder() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
}

// Absolute, so that scopes may nest.
Story::Story(std::filesystem::path root) : root_(std::filesystem::absolute(root)) {}

int32_t Story::openError(const std::string& playerPath) {
  if (const auto known = openErrors_.find(playerPath); known != openErrors_.end()) {
    return known->second;
  }
  InStoryFolder inside(root_);
  closeSlot(kProbeSlot);
  const int32_t error = openForInput(playerPath, kProbeSlot);
  closeSlot(kProbeSlot);
  openErrors_.emplace(playerPath, error);
  return error;
}

const PageFile& Story::pageFile(int32_t page) {
  const std::string path = pageFilePath(page, 0);
  if (const auto known = pageFiles_.find(path); known != pageFiles_.end()) return known->second;
  PageFile file;
  file.file = displayPath(path);
  file.openError = openError(path);
  if (file.exists()) {
    InStoryFolder inside(root_);
    // The player's own loader; it cannot fail here since the file opens.
    loadPageFile(page, 0, file.fields);
    for (std::string& line : file.lines) line = readString(kPageFileSlot);
    while (!slotAtEnd(kPageFileSlot)) {
      const std::string extra = readString(kPageFileSlot);
      if (extra.find_first_not_of(" \t") == std::string::npos) continue;
      if (file.extraFields++ == 0) file.firstExtra = extra;
    }
    closeSlot(kPageFileSlot);
  }
  return pageFiles_.emplace(path, std::move(file)).first->second;
}

const std::vector<int32_t>& Story::numberedPages() {
  if (!listed_) {
    listed_ = true;
    for (int32_t page = kStartPage; page <= kHighestNumberedFile; ++page) {
      if (openError(pageFilePath(page, 0)) == 0) numberedPages_.push_back(page);
    }
  }
  return numberedPages_;
}

}  // namespace quillon::tool
