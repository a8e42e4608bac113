// Story files on a POSIX host: `\` becomes `/`, names that differ from the
// story's only in letter case are found, and only regular files are opened.
//
// Story folders come from strangers, so a relative story path reaches only
// files inside the working directory (the story folder): a path whose ".."
// would climb above it, or that leads out of it through a symbolic link, is
// not found. Links that stay inside the folder are followed. Absolute paths
// are the caller's own choice and are not confined; the player never builds
// one, since its paths all begin with "pages\" or "sprites\".
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/host_file.h"
#include "errors/error_numbers.h"

namespace quillon {
namespace {

char foldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return foldAsciiCase(x) == foldAsciiCase(y);
         });
}

std::string joinPath(const std::string& directory, std::string_view name) {
  if (directory.empty()) return std::string(name);
  std::string joined = directory;
  if (joined.back() != '/') joined += '/';
  joined += name;
  return joined;
}

// The entry of `directory` whose name equals `name` ignoring case. Of several
// such entries the first in byte order is taken, so the choice does not depend
// on the order in which the host lists them.
std::optional<std::string> findIgnoringCase(const std::string& directory, std::string_view name) {
  DIR* listing = opendir(directory.empty() ? "." : directory.c_str());
  if (listing == nullptr) return std::nullopt;
  std::optional<std::string> best;
  while (const dirent* entry = readdir(listing)) {
    std::string_view candidate(entry->d_name);
    if (equalIgnoringAsciiCase(candidate, name) && (!best || candidate < *best)) {
      best = std::string(candidate);
    }
  }
  closedir(listing);
  return best;
}

// Rebuilds `path` component by component: a component that exists as written
// is kept (an exact match always wins), otherwise a case-insensitive match is
// looked for in the directory reached so far.
std::optional<std::string> resolveIgnoringCase(const std::string& path) {
  std::string resolved = path.front() == '/' ? "/" : "";
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string_view component(path.data() + start, end - start);
    start = end + 1;
    if (component.empty()) continue;
    std::string exact = joinPath(resolved, component);
    struct stat status {};
    if (component == "." || component == ".." || lstat(exact.c_str(), &status) == 0) {
      resolved = std::move(exact);
      continue;
    }
    std::optional<std::string> match = findIgnoringCase(resolved, component);
    if (!match) return std::nullopt;
    resolved = joinPath(resolved, *match);
  }
  // A trailing separator still demands a directory.
  if (path.back() == '/' && !resolved.empty() && resolved.back() != '/') resolved += '/';
  return resolved;
}

// Whether some ".." of a relative path climbs above the folder it starts in,
// judged on the text alone ("a/../b" stays, "a/../../b" climbs).
bool climbsAboveStart(std::string_view path) {
  int64_t depth = 0;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view component = path.substr(start, end - start);
    if (component == "..") {
      if (--depth < 0) return true;
    } else if (!component.empty() && component != ".") {
      ++depth;
    }
    start = end + 1;
  }
  return false;
}

// The path with every link, "." and ".." resolved, or nullopt with errno set.
std::optional<std::string> realPath(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr),
                                                         &std::free);
  if (!real) return std::nullopt;
  return std::string(real.get());
}

bool liesInside(const std::string& real, const std::string& folder) {
  if (folder == "/") return true;
  return real.size() > folder.size() && real.compare(0, folder.size(), folder) == 0 &&
         real[folder.size()] == '/';
}

// Opens a regular file for reading, or returns -1 with errno set. The open is
// non-blocking so that a FIFO at the path cannot stall the player; regular
// files ignore that mode, and it is cleared again once the type is known.
int openRegularFile(const std::string& path, int extraFlags = 0) {
  int descriptor;
  do {
    descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | extraFlags);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) return -1;
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(descriptor);
    errno = EISDIR;
    return -1;
  }
  int flags = fcntl(descriptor, F_GETFL);
  if (flags >= 0) fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
  return descriptor;
}

// Opens the regular file at `path`; a relative path only where its real
// location lies inside the working directory. Returns -1 with errno set,
// ENOENT or ENOTDIR when nothing is at the path as written.
int openStoryFile(const std::string& path) {
  if (path.front() == '/') return openRegularFile(path);
  const std::optional<std::string> real = realPath(path);
  if (!real) return -1;
  const std::optional<std::string> folder = realPath(".");
  if (!folder || !liesInside(*real, *folder)) {
    errno = EACCES;
    return -1;
  }
  // The resolved path holds no link; should one appear there now, it is refused.
  return openRegularFile(*real, O_NOFOLLOW);
}

}  // namespace

int32_t openHostFile(std::string_view storyPath, HostFileHandle& file) {
  file = kNoHostFile;
  // A NUL would silently cut the path short and name another file.
  if (storyPath.empty() || storyPath.find('\0') != std::string_view::npos) return kFileNotFound;
  std::string path(storyPath);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.front() != '/' && climbsAboveStart(path)) return kFileNotFound;

  int descriptor = openStoryFile(path);
  if (descriptor < 0 && (errno == ENOENT || errno == ENOTDIR)) {
    if (std::optional<std::string> resolved = resolveIgnoringCase(path)) {
      descriptor = openStoryFile(*resolved);
    }
  }
  if (descriptor < 0) return kFileNotFound;

  // The end is sought once to learn the size; a file that cannot seek is
  // refused. Reading then starts from the first byte.
  if (lseek(descriptor, 0, SEEK_END) < 0 || lseek(descriptor, 0, SEEK_SET) < 0) {
    close(descriptor);
    return kIllegalFunctionCall;
  }
  file = descriptor;
  return kNoError;
}

std::size_t readHostFile(HostFileHandle file, unsigned char* buffer, std::size_t size) {
  if (file < 0) return 0;
  ssize_t count;
  do {
    count = read(static_cast<int>(file), buffer, size);
  } while (count < 0 && errno == EINTR);
  return count > 0 ? static_cast<std::size_t>(count) : 0;
}

void closeHostFile(HostFileHandle file) {
  if (file >= 0) close(static_cast<int>(file));
}

}  // namespace quillon
