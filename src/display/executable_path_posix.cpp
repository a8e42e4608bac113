// The running executable's path, read from the process's /proc entry.
#include <unistd.h>

#include <array>

#include "display/window_title.h"

namespace quillon {

std::string executablePath() {
  // Longer paths are cut here; the title only looks at the first characters.
  std::array<char, 4096> buffer{};
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0) {
    return {};
  }
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

}  // namespace quillon
