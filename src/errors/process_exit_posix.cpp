// POSIX: write(2) and _exit(2), the two calls the signal path may make.
#include <unistd.h>

#include <cerrno>

#include "errors/process_exit.h"

namespace quillon {

void writeToStandardError(const char* bytes, std::size_t length) {
  while (length > 0) {
    const ssize_t written = ::write(STDERR_FILENO, bytes, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      return;  // no standard error stream: the text is lost, the status still tells
    }
    if (written == 0) return;
    bytes += written;
    length -= static_cast<std::size_t>(written);
  }
}

void exitProcessNow(int32_t status) {
  // The host keeps the low 8 bits of the status.
  ::_exit(status);
}

}  // namespace quillon
