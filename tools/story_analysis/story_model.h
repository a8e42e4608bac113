#pragma once
// A story folder as the player reads it: page files and pictures are read
// through the player's own record reader and page-file code, so every field
// is exactly the value the player gets.
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "data/page_file.h"

namespace quillon::tool {

inline constexpr int32_t kStartPage = 0;
inline constexpr int32_t kHighestCountedPage = 1000;  // MP: pages 0..1000 have a visit count
inline constexpr int32_t kHighestNumberedFile = 999;  // pages 0..999 have files of their own
inline constexpr int32_t kConditionLimit = 1000;
inline constexpr int32_t kTextLineCount = 5;
inline constexpr int32_t kCentredWidth = 38;  // WD: the band cleared before a centred line
inline constexpr int32_t kScreenColumns = 40;
inline constexpr int32_t kScreenRows = 25;
inline constexpr int32_t kTitleRow = 2;
inline constexpr int32_t kFirstTextRow = 20;
inline constexpr int32_t kMenuRow = 24;
inline constexpr int32_t kPageFieldCount = 25;

// Field numbers of a page file, counted from 1.
inline constexpr int32_t kTitleField = 1;
inline constexpr int32_t kWidthField = 2;
inline constexpr int32_t kHeightField = 3;
inline constexpr int32_t kPictureField = 4;
constexpr int32_t keyField(int32_t T) { return 5 + 4 * (T - 1); }
constexpr int32_t targetField(int32_t T) { return 6 + 4 * (T - 1); }
constexpr int32_t conditionField(int32_t T) { return 7 + 4 * (T - 1); }
constexpr int32_t labelField(int32_t T) { return 8 + 4 * (T - 1); }
constexpr int32_t textLineField(int32_t L) { return 20 + L; }

// A path as the player builds it ("pages\L003_000.mem"), shown with "/".
std::string displayPath(std::string_view playerPath);

struct PageFile {
  std::string file;       // display path
  int32_t openError = 0;  // what the player's open reports: 0, or the error number
  PageFields fields;      // fields 1 to 20, trailing-quote rule applied
  std::array<std::string, kTextLineCount> lines;  // fields 21 to 25, as read
  int64_t extraFields = 0;  // non-blank fields after field 25, which the player never reads
  std::string firstExtra;   // the first of them
  bool exists() const { return openError == 0; }
};

class Story {
 public:
  explicit Story(std::filesystem::path root);

  const std::filesystem::path& root() const { return root_; }

  // The page file the player reads when it enters `page` (page 1000 reads
  // page 0's file, pages -1 to -900 those of 999 to 100, and so on).
  const PageFile& pageFile(int32_t page);

  // Error number of the player's open of a path relative to the story
  // folder: 0 when it opens. Remembered per path.
  int32_t openError(const std::string& playerPath);

  // Pages 0 to 999 whose own page file exists.
  const std::vector<int32_t>& numberedPages();

 private:
  std::filesystem::path root_;
  std::map<std::string, PageFile> pageFiles_;
  std::map<std::string, int32_t> openErrors_;
  std::vector<int32_t> numberedPages_;
  bool listed_ = false;
};

// Makes the story folder the working directory for a scope: the player's
// readers take paths relative to it.
class InStoryFolder {
 public:
  explicit InStoryFolder(const std::filesystem::path& folder);
  ~InStoryFolder();
  InStoryFolder(const InStoryFolder&) = delete;
  InStoryFolder& operator=(const InStoryFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace quillon::tool
