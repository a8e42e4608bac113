// Window title from the executable's path.
#include "display/window_title.h"

namespace quillon {

std::string windowTitleFromPath(std::string_view path) {
  path = path.substr(0, kTitlePathLimit);
  // Both separators count, so a path of either platform family gives its name.
  const std::size_t separator = path.find_last_of("/\\");
  std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) {
    name = name.substr(0, dot);
  }
  return std::string(name);
}

}  // namespace quillon
