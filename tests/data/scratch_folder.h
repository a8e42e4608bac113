#pragma once
// Temporary folders for the data tests: files written byte for byte, and a
// working directory that is restored when the test ends.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace quillon::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-data-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed for " << pattern;
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes `bytes` exactly (no newline translation), creating parent folders.
  std::filesystem::path write(const std::filesystem::path& relative, std::string_view bytes) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) ADD_FAILURE() << "could not write " << file;
    return file;
  }

  std::filesystem::path makeFolder(const std::filesystem::path& relative) const {
    std::filesystem::create_directories(path_ / relative);
    return path_ / relative;
  }

  std::filesystem::path makeFifo(const std::filesystem::path& relative) const {
    const std::filesystem::path fifo = path_ / relative;
    if (mkfifo(fifo.c_str(), 0600) != 0) ADD_FAILURE() << "mkfifo failed for " << fifo;
    return fifo;
  }

 private:
  std::filesystem::path path_;
};

// Makes `folder` the working directory until destroyed.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~WorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace quillon::testing
