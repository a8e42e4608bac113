#pragma once
// The host's last steps of the ending: an unbuffered write to the standard
// error stream and an immediate exit. Both are async-signal-safe.
#include <cstddef>
#include <cstdint>

namespace quillon {

// Writes all of `bytes`, going on after partial writes and interruptions.
// Gives up silently when the stream is missing or broken.
void writeToStandardError(const char* bytes, std::size_t length);

// Ends the process at once with `status`, without running exit handlers.
[[noreturn]] void exitProcessNow(int32_t status);

}  // namespace quillon
