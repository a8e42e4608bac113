#pragma once
// Tiny story folders, built from C++ in a temporary directory: page files in
// pages/ and picture files in sprites/, as the player expects below its
// working directory.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::story_test {

// A choice as the page file spells it. Key and label are written exactly as
// given: quote them (quoted()) where the reader would drop leading blanks.
struct ChoiceText {
  std::string key;
  int64_t target = 0;
  int64_t condition = 0;
  std::string label;
};

// The 25 fields of a page file: title, picture size and name on one line,
// one line per choice, then one line per text line.
struct PageText {
  std::string title;
  int64_t width = 0;
  int64_t height = 0;
  std::string picture;
  std::array<ChoiceText, 4> choices{};
  std::array<std::string, 5> lines{};
};

std::string quoted(std::string_view text);
std::string pageFileText(const PageText& page);
// "L", three digits, "_000.mem": the file name of a page from 0 to 999.
std::string pageFileNameFor(int32_t page);

// Picture text: `width` values per line, rows from the top.
std::string pictureText(const std::vector<int32_t>& values, int32_t width);

// The 24 x 24 background tile the stories use: dark grey with a light grey
// line along its top and left edges and one transparent pixel at (12, 12).
std::vector<int32_t> backgroundTile();
inline constexpr int32_t kTileSize = 24;

// A 3 x 2 picture: red, green, blue / yellow, transparent, white.
inline const std::vector<int32_t> kSmallPicture = {4, 2, 1, 14, -1, 15};
inline constexpr int32_t kSmallPictureWidth = 3;

// A temporary folder with pages/ and sprites/; removed with everything in it.
class StoryFolder {
 public:
  // With `withBackground`, sprites/bkgd2424.VIS holds backgroundTile().
  explicit StoryFolder(bool withBackground = true);
  ~StoryFolder();
  StoryFolder(const StoryFolder&) = delete;
  StoryFolder& operator=(const StoryFolder&) = delete;

  const std::filesystem::path& root() const { return root_; }

  void writePage(int32_t page, const PageText& text);
  // Any file below the folder, bytes as given ("pages/L500_000.mem").
  void writeFile(std::string_view relativePath, std::string_view bytes);
  void writePicture(std::string_view name, const std::vector<int32_t>& values, int32_t width);
  void removeFile(std::string_view relativePath);

 private:
  std::filesystem::path root_;
};

// Makes a fresh empty temporary directory; removed by the caller.
std::filesystem::path makeTemporaryDirectory(std::string_view prefix);

}  // namespace quillon::story_test
