#pragma once
// The window title: the running executable's file name without its extension.
#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

// Only this many leading characters of the executable's path are looked at,
// so a longer path is cut before the file name is taken from it.
inline constexpr std::size_t kTitlePathLimit = 126;

// The part after the last path separator of the first kTitlePathLimit
// characters, with everything from its last "." removed.
std::string windowTitleFromPath(std::string_view path);

// The path of the running executable, or an empty string if it can't be had.
std::string executablePath();

}  // namespace quillon
