#pragma once
// The program's ending: abort messages, runtimeError, checkIndex, endProgram.
// Nothing here allocates on the way out, so the same path serves fatal signals.
#include <cstddef>
#include <cstdint>

namespace quillon {

inline constexpr const char* kModuleName = "Quillon";
inline constexpr std::size_t kMessageBufferSize = 1024;

// Text of row `number` of the error table, or nullptr outside 0..17.
const char* errorText(int32_t number);

// Composes the abort message into `buffer` (NUL-terminated, at most size-1
// characters) and returns its length. Async-signal-safe.
// `module` or `function` may be nullptr (not set).
std::size_t composeAbortMessage(int32_t number, int32_t location, const char* module,
                                const char* function, char* buffer, std::size_t size);

// The error state: module and function name, current error number. The names
// start as kModuleName and ""; nullptr means not set.
void setModuleName(const char* name);    // must point to static storage
void setFunctionName(const char* name);  // must point to static storage
int32_t setErrorNumber(int32_t number);  // stores and returns `number`
int32_t currentErrorNumber();

// Closers that lower layers register so that the ending closes what they own:
// the display first, then the open file slots. `inSignalHandler` tells a closer
// that it may only do async-signal-safe work.
using Closer = void (*)(bool inSignalHandler);
enum class CloserStage { Display = 0, Files = 1 };
void registerCloser(CloserStage stage, Closer closer);

// The ending closes the display, then the files, writes the message (if any)
// to the standard error stream and exits with `number` (or `status`) as the
// process exit status. POSIX keeps only 8 bits of it: a number outside 0..255
// exits with its low 8 bits, so -1 exits with 255 and 256 with 0.
// Only the first ending counts: a fault or another ending that starts while
// one is under way exits at once with the first one's status and message.
[[noreturn]] void runtimeError(int32_t number, int32_t location);
void checkIndex(int32_t index, int32_t lower, int32_t upper, int32_t location);
[[noreturn]] void endProgram(int32_t status);

// The signal path: ends the process with `number` and location -1 from a
// signal handler on any thread. Async-signal-safe.
[[noreturn]] void endFromSignal(int32_t number);

}  // namespace quillon
