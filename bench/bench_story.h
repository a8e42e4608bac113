#pragma once
// A generated story folder for the benchmarks, made the working directory,
// and the headless story display with the tiled background on it.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "data/picture.h"
#include "display/framebuffer.h"
#include "display/front_end.h"
#include "display/headless_front_end.h"
#include "display/text_console.h"

namespace quillon::bench {

// Picture text of `width` x `height` values, one row per line, colours
// spread over the palette with a transparent pixel now and then.
inline std::string generatedPicture(int32_t width, int32_t height) {
  std::string text;
  uint32_t state = 12345;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      state = state * 1103515245u + 12345u;
      const uint32_t value = (state >> 16) % 257u;
      text += value == 256u ? std::string("-1") : std::to_string(value);
      text += x + 1 < width ? ',' : '\n';
    }
  }
  return text;
}

inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// A temporary story folder with pages/ and sprites/, the working directory
// while it lives.
class StoryFolder {
 public:
  StoryFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quillon-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    previous_ = std::filesystem::current_path();
    writeFile(root_ / "sprites" / "bkgd2424.VIS", generatedPicture(24, 24));
    std::filesystem::create_directories(root_ / "pages");
    std::filesystem::current_path(root_);
  }
  ~StoryFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(root_, ignored);
  }
  StoryFolder(const StoryFolder&) = delete;
  StoryFolder& operator=(const StoryFolder&) = delete;

  void write(const std::string& relative, std::string_view bytes) const {
    writeFile(root_ / relative, bytes);
  }
  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
  std::filesystem::path previous_;
};

// The display as the player's start-up leaves it: pages 0, 2 and 3 hold the
// tiled background, drawing goes to page 1, text is 15 on 0.
inline HeadlessFrontEnd& openStoryDisplay() {
  static HeadlessFrontEnd frontEnd(false);
  setFrontEnd(&frontEnd);
  if (openScreen(kScreenWidth, kScreenHeight, kStoryDepth, kStoryPageCount) != 0) {
    throw std::runtime_error("cannot open the headless display");
  }
  setPages(1, 0);
  setTextColors(15, 0);
  clearScreen();
  fillBox(0, 0, kScreenWidth - 1, kScreenHeight - 1, 0);
  tileBackground();
  return frontEnd;
}

}  // namespace quillon::bench
