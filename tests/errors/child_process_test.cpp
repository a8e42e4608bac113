// The child-process helper that the ending tests rely on must tell exits,
// kills and hangs apart and return every byte the child wrote.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "support/child_process.h"

namespace quillon {
namespace {

TEST(ChildProcess, CollectsBothStreamsAndTheExitStatus) {
  const ChildResult result = runInChild([] {
    std::fputs("to stdout", stdout);
    std::fputs("to stderr", stderr);
    std::fflush(nullptr);
    ::_exit(42);
  });
  EXPECT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 42);
  EXPECT_EQ(result.stdoutBytes, "to stdout");
  EXPECT_EQ(result.stderrBytes, "to stderr");
}

// More than a pipe holds: the parent must read while the child writes.
TEST(ChildProcess, CollectsOutputLargerThanAPipe) {
  const std::string large(1 << 20, 'x');
  const ChildResult result = runInChild([&] { std::fputs(large.c_str(), stderr); });
  EXPECT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.stderrBytes.size(), large.size());
}

TEST(ChildProcess, ReportsAKillingSignal) {
  const ChildResult result = runInChild([] {
    ::signal(SIGTERM, SIG_DFL);
    ::raise(SIGTERM);
  });
  EXPECT_FALSE(result.exited);
  EXPECT_EQ(result.signal, SIGTERM);
}

TEST(ChildProcess, KillsAChildThatOutlivesTheTimeLimit) {
  const ChildResult result = runInChild(
      [] {
        for (;;) ::usleep(1000);
      },
      std::chrono::milliseconds(200));
  EXPECT_TRUE(result.timedOut);
  EXPECT_FALSE(result.exited);
  EXPECT_EQ(result.signal, SIGKILL);
}

TEST(ChildProcess, ReportsABodyThatThrows) {
  const ChildResult result = runInChild([] { throw std::runtime_error("broken"); });
  EXPECT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, kChildBodyThrew);
  EXPECT_EQ(result.stderrBytes, "child body threw: broken\n");
}

}  // namespace
}  // namespace quillon
