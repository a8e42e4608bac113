#include "support/story_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace quillon::story_test {
namespace {

constexpr int32_t kTileBase = 8;   // dark grey
constexpr int32_t kTileEdge = 7;   // light grey
constexpr int32_t kTileHole = -1;  // transparent: stays black
constexpr int32_t kTileHoleAt = 12;
constexpr int32_t kLastNumberedPage = 999;

std::string choiceLine(const ChoiceText& choice) {
  return choice.key + "," + std::to_string(choice.target) + "," + std::to_string(choice.condition) +
         "," + choice.label + "\n";
}

}  // namespace

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string pageFileText(const PageText& page) {
  std::string text = page.title + "," + std::to_string(page.width) + "," +
                     std::to_string(page.height) + "," + page.picture + "\n";
  for (const ChoiceText& choice : page.choices) text += choiceLine(choice);
  for (const std::string& line : page.lines) text += line + "\n";
  return text;
}

std::string pageFileNameFor(int32_t page) {
  if (page < 0 || page > kLastNumberedPage) throw std::invalid_argument("page outside 0..999");
  char name[16];
  std::snprintf(name, sizeof name, "L%03d_000.mem", static_cast<int>(page));
  return name;
}

std::string pictureText(const std::vector<int32_t>& values, int32_t width) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    text += std::to_string(values[i]);
    const bool rowEnds = width > 0 && (i + 1) % static_cast<std::size_t>(width) == 0;
    text += rowEnds || i + 1 == values.size() ? "\n" : ",";
  }
  return text;
}

std::vector<int32_t> backgroundTile() {
  std::vector<int32_t> tile;
  for (int32_t y = 0; y < kTileSize; ++y) {
    for (int32_t x = 0; x < kTileSize; ++x) {
      int32_t colour = x == 0 || y == 0 ? kTileEdge : kTileBase;
      if (x == kTileHoleAt && y == kTileHoleAt) colour = kTileHole;
      tile.push_back(colour);
    }
  }
  return tile;
}

std::filesystem::path makeTemporaryDirectory(std::string_view prefix) {
  const std::filesystem::path pattern =
      std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX");
  std::string buffer = pattern.string();
  if (::mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return buffer;
}

StoryFolder::StoryFolder(bool withBackground) : root_(makeTemporaryDirectory("quillon-story")) {
  std::filesystem::create_directories(root_ / "pages");
  std::filesystem::create_directories(root_ / "sprites");
  if (withBackground) writePicture("bkgd2424.VIS", backgroundTile(), kTileSize);
}

StoryFolder::~StoryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void StoryFolder::writePage(int32_t page, const PageText& text) {
  writeFile("pages/" + pageFileNameFor(page), pageFileText(text));
}

void StoryFolder::writeFile(std::string_view relativePath, std::string_view bytes) {
  const std::filesystem::path path = root_ / std::filesystem::path(relativePath);
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void StoryFolder::writePicture(std::string_view name, const std::vector<int32_t>& values,
                               int32_t width) {
  writeFile("sprites/" + std::string(name), pictureText(values, width));
}

void StoryFolder::removeFile(std::string_view relativePath) {
  std::filesystem::remove(root_ / std::filesystem::path(relativePath));
}

}  // namespace quillon::story_test
