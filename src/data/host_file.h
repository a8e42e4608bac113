#pragma once
// The platform's file layer for story files: finding a file by a story path,
// reading its bytes and closing it. Only this layer knows the host's paths.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon {

// An open host file; kNoHostFile marks none. Wide enough for any platform's handle.
using HostFileHandle = std::intptr_t;
inline constexpr HostFileHandle kNoHostFile = -1;

// Opens a story path for reading. `\` and `/` both separate directories; a
// relative path starts at the working directory; a name that does not exist
// exactly is looked up ignoring ASCII letter case. Returns 0 and sets `file`;
// 2 when there is no readable regular file at the path (the path is empty,
// missing, a directory, a FIFO, a device or unreadable, and for a relative
// path that would leave the working directory through ".." or a symbolic
// link); 1 when the file's end cannot be sought. On failure nothing stays open.
int32_t openHostFile(std::string_view storyPath, HostFileHandle& file);

// Reads up to `size` bytes from the current position. Returns the count, 0 at
// the end of the file or when the host reports a read failure.
std::size_t readHostFile(HostFileHandle file, unsigned char* buffer, std::size_t size);

// Closes the file, ignoring what the host reports. Async-signal-safe.
void closeHostFile(HostFileHandle file);

}  // namespace quillon
