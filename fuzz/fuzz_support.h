#pragma once
// What the fuzz targets share: a private story folder as the working
// directory, files written byte for byte into it, and a headless display.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "display/framebuffer.h"
#include "display/front_end.h"
#include "display/headless_front_end.h"

namespace quillon::fuzz {

// Stops the run: a broken invariant is a finding like a sanitizer report.
[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
  std::abort();
}

inline void expect(bool condition, const char* what) {
  if (!condition) fail(what);
}

inline std::string& storyFolder() {
  static std::string folder;
  return folder;
}

// A fresh temporary folder with pages/ and sprites/, made the working
// directory for the whole run (story paths are relative to it) and removed
// when the run ends.
inline void enterStoryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quillon-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) {
    fail("cannot make the story folder");
  }
  storyFolder() = pattern;
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(storyFolder(), ignored);
  });
  mkdir("pages", 0700);
  mkdir("sprites", 0700);
}

// Replaces the file at `path` (relative to the story folder) with `bytes`.
inline void writeFile(const std::string& path, std::string_view bytes) {
  const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (descriptor < 0) fail("cannot write a story file");
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written <= 0) fail("short write of a story file");
    done += static_cast<std::size_t>(written);
  }
  close(descriptor);
}

// Opens the 320 x 200, 16-page display on a front end without a window or
// presenter thread; it stays open for the whole run.
inline void openHeadlessDisplay() {
  static HeadlessFrontEnd frontEnd(false);
  setFrontEnd(&frontEnd);
  if (openScreen(kScreenWidth, kScreenHeight, kStoryDepth, kStoryPageCount) != 0) {
    fail("cannot open the headless display");
  }
}

inline std::vector<uint8_t>& pageBytes(int32_t page) {
  return currentDisplay()->pages[static_cast<std::size_t>(page)];
}

}  // namespace quillon::fuzz
