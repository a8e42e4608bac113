#pragma once
// Runs a piece of code in a child process and reports how the child ended and
// what it wrote, for tests of code that ends the process (runtime errors,
// signals, the player's exit).
#include <chrono>
#include <functional>
#include <ostream>
#include <string>

namespace quillon {

struct ChildResult {
  bool exited = false;    // ended by exit/_exit rather than killed by a signal
  int exitStatus = -1;    // the exit status when `exited`
  int signal = 0;         // the signal that killed the child when not `exited`
  bool timedOut = false;  // killed by the parent after the time limit
  std::string stderrBytes;
  std::string stdoutBytes;
};

inline constexpr std::chrono::milliseconds kChildTimeLimit{30000};

// Status of a child whose `body` threw an exception.
inline constexpr int kChildBodyThrew = 125;

// Forks. The child reads standard input from /dev/null, writes standard output
// and standard error into pipes, runs `body` and exits with status 0 when it
// returns. The parent collects both streams, waits for the child and kills it
// with SIGKILL once `timeLimit` has passed, so a hang fails instead of blocking.
ChildResult runInChild(std::function<void()> body,
                       std::chrono::milliseconds timeLimit = kChildTimeLimit);

// For assertion messages: how the child ended and what it wrote, escaped.
void PrintTo(const ChildResult& result, std::ostream* out);

}  // namespace quillon
