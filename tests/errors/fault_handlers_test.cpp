// Fatal signals and real processor faults end the process with the signal's
// error number and message, on the main thread or any other.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "errors/error_numbers.h"
#include "errors/fault_handlers.h"
#include "errors/runtime_error.h"
#include "support/child_process.h"

namespace quillon {
namespace {

constexpr const char* kInterruptedMessage =
    "\nAborting due to runtime error 9 (\"interrupted\" signal) in Quillon::()\n\n";
constexpr const char* kIllegalInstructionMessage =
    "\nAborting due to runtime error 10 (\"illegal instruction\" signal) in Quillon::()\n\n";
constexpr const char* kFloatingPointMessage =
    "\nAborting due to runtime error 11 (\"floating point error\" signal) in Quillon::()\n\n";
constexpr const char* kSegmentationMessage =
    "\nAborting due to runtime error 12 (\"segmentation violation\" signal) in Quillon::()\n\n";
constexpr const char* kTerminationMessage =
    "\nAborting due to runtime error 13 (\"termination request\" signal) in Quillon::()\n\n";
constexpr const char* kAbnormalTerminationMessage =
    "\nAborting due to runtime error 14 (\"abnormal termination\" signal) in Quillon::()\n\n";

void writeMarker(const char* text) {
  [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
}

void expectEnded(const ChildResult& result, int status, const std::string& stderrBytes,
                 const std::string& what) {
  EXPECT_TRUE(result.exited) << what << ": " << ::testing::PrintToString(result);
  EXPECT_EQ(result.exitStatus, status) << what << ": " << ::testing::PrintToString(result);
  EXPECT_EQ(result.stderrBytes, stderrBytes) << what;
}

// The faults below are real: the processor traps and the kernel sends the
// signal. The undefined-behaviour checker is kept out of them, or it would
// report the fault itself instead of letting it happen.
__attribute__((noinline, no_sanitize("undefined"))) void writeThroughNullPointer() {
  volatile int* volatile pointer = nullptr;
  *pointer = 1;
}

__attribute__((noinline, no_sanitize("undefined"))) void divideIntegerByZero() {
  volatile int dividend = 1;
  volatile int divisor = 0;
  [[maybe_unused]] volatile int quotient = dividend / divisor;
}

volatile bool gKeepRecursing = true;

// The flag and the use of the frame after the call keep the optimiser from
// turning the recursion into a loop.
[[gnu::noinline]] int recurseWithoutEnd(int depth) {
  volatile char frame[1024];
  frame[0] = static_cast<char>(depth);
  if (gKeepRecursing) return recurseWithoutEnd(depth + 1) + frame[0];
  return frame[0];
}

void overflowTheStack() { [[maybe_unused]] volatile int sum = recurseWithoutEnd(0); }

void executeIllegalInstruction() { __builtin_trap(); }

void abortTheProcess() { std::abort(); }

struct FaultCase {
  const char* what;
  void (*fault)();
  int exitStatus;
  const char* stderrBytes;
};

const FaultCase kFaultCases[] = {
    {"write through a null pointer", writeThroughNullPointer, 12, kSegmentationMessage},
    {"stack overflow", overflowTheStack, 12, kSegmentationMessage},
    {"integer division by zero", divideIntegerByZero, 11, kFloatingPointMessage},
    {"illegal instruction", executeIllegalInstruction, 10, kIllegalInstructionMessage},
    {"abort", abortTheProcess, 14, kAbnormalTerminationMessage},
};

TEST(FaultHandlers, RealFaultsOnTheMainThreadEndWithTheSignalNumber) {
  for (const FaultCase& c : kFaultCases) {
    const ChildResult result = runInChild([&] {
      installFaultHandlers();
      c.fault();
    });
    expectEnded(result, c.exitStatus, c.stderrBytes, c.what);
  }
}

// The presenter is such a thread: its fault must end the process at once,
// while the main thread is still blocked waiting for it.
TEST(FaultHandlers, RealFaultsOnASecondThreadEndTheProcessWithoutWaiting) {
  for (const FaultCase& c : kFaultCases) {
    const ChildResult result = runInChild([&] {
      installFaultHandlers();
      std::thread worker([&] {
        prepareThreadForFaults();
        c.fault();
      });
      worker.join();
      writeMarker("main thread went on\n");
    });
    expectEnded(result, c.exitStatus, c.stderrBytes, c.what);
  }
}

struct SignalCase {
  int signal;
  int32_t number;
  const char* stderrBytes;
};

const SignalCase kSignalCases[] = {
    {SIGINT, 9, kInterruptedMessage},    {SIGILL, 10, kIllegalInstructionMessage},
    {SIGFPE, 11, kFloatingPointMessage}, {SIGSEGV, 12, kSegmentationMessage},
    {SIGTERM, 13, kTerminationMessage},  {SIGABRT, 14, kAbnormalTerminationMessage},
};

TEST(FaultHandlers, MapsTheSixSignalsAndNoOthers) {
  for (const SignalCase& c : kSignalCases) {
    EXPECT_EQ(errorNumberForSignal(c.signal), c.number) << c.signal;
  }
  for (const int other : {0, SIGQUIT, SIGBUS, SIGHUP, SIGUSR1, SIGPIPE}) {
    EXPECT_EQ(errorNumberForSignal(other), kNoError) << other;
  }
}

TEST(FaultHandlers, EachRaisedSignalEndsWithItsNumberAndMessage) {
  for (const SignalCase& c : kSignalCases) {
    const ChildResult result = runInChild([&] {
      installFaultHandlers();
      ::raise(c.signal);
      writeMarker("handler returned\n");
    });
    expectEnded(result, c.number, c.stderrBytes, std::to_string(c.signal));
  }
}

TEST(FaultHandlers, SignalsSentByAnotherProcessEndTheProgram) {
  for (const SignalCase& c : {kSignalCases[0], kSignalCases[4]}) {
    const ChildResult result = runInChild([&] {
      installFaultHandlers();
      if (::fork() == 0) {
        ::kill(::getppid(), c.signal);
        ::_exit(0);
      }
      for (;;) ::usleep(1000);
    });
    expectEnded(result, c.number, c.stderrBytes, std::to_string(c.signal));
  }
}

// A signal closes the display like a runtime error does, but tells the
// closers that only async-signal-safe work is allowed.
TEST(FaultHandlers, ClosersRunInOrderAndKnowTheyAreInAHandler) {
  const ChildResult result = runInChild([] {
    registerCloser(CloserStage::Display, [](bool inSignalHandler) {
      writeMarker(inSignalHandler ? "display closed in handler\n" : "display closed\n");
    });
    registerCloser(CloserStage::Files, [](bool inSignalHandler) {
      writeMarker(inSignalHandler ? "files closed in handler\n" : "files closed\n");
    });
    installFaultHandlers();
    writeThroughNullPointer();
  });
  expectEnded(
      result, 12,
      std::string("display closed in handler\nfiles closed in handler\n") + kSegmentationMessage,
      "closers");
}

void previousHandler(int) { writeMarker("previous handler\n"); }

TEST(FaultHandlers, HandlersInstalledBeforeAreNotCalled) {
  const ChildResult result = runInChild([] {
    struct sigaction previous {};
    previous.sa_handler = previousHandler;
    ::sigaction(SIGSEGV, &previous, nullptr);
    installFaultHandlers();
    writeThroughNullPointer();
  });
  expectEnded(result, 12, kSegmentationMessage, "previous handler");
}

#if defined(__SANITIZE_THREAD__)
constexpr bool kThreadSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
constexpr bool kThreadSanitizer = true;
#else
constexpr bool kThreadSanitizer = false;
#endif
#else
constexpr bool kThreadSanitizer = false;
#endif

struct ReentryCase {
  const char* what;
  void (*start)();
  Closer displayCloser;
  int exitStatus;
  const char* stderrBytes;
};

constexpr const char* kMissingBackgroundMessage =
    "\nAborting due to runtime error 2 (file not found) at line 32 of Quillon::()\n\n";

void expectFirstReportStands(const ReentryCase& c) {
  const ChildResult result = runInChild([&] {
    registerCloser(CloserStage::Display, c.displayCloser);
    installFaultHandlers();
    c.start();
  });
  expectEnded(result, c.exitStatus, c.stderrBytes, c.what);
}

// A second ending inside the first must neither recurse without end, nor be
// killed silently, nor print a second message: the first report stands.
TEST(FaultHandlers, ASecondEndingWhileEndingKeepsTheFirstReport) {
  const ReentryCase cases[] = {
      {"closer faults during a runtime error", [] { runtimeError(kFileNotFound, 32); },
       [](bool) { writeThroughNullPointer(); }, 2, kMissingBackgroundMessage},
      {"closer raises a runtime error during a fault", writeThroughNullPointer,
       [](bool) { runtimeError(kOutOfMemory, 7); }, 12, kSegmentationMessage},
  };
  for (const ReentryCase& c : cases) expectFirstReportStands(c);
}

TEST(FaultHandlers, AFaultInsideTheSignalHandlerKeepsTheFirstReport) {
  if (kThreadSanitizer) {
    // ThreadSanitizer blocks every signal while a handler runs, so a fault
    // inside the handler kills the process before any handler sees it.
    GTEST_SKIP() << "a fault inside a signal handler cannot be caught under ThreadSanitizer";
  }
  const ReentryCase cases[] = {
      {"closer faults during a fault", writeThroughNullPointer,
       [](bool) { writeThroughNullPointer(); }, 12, kSegmentationMessage},
      {"closer divides by zero during a fault", writeThroughNullPointer,
       [](bool) { divideIntegerByZero(); }, 12, kSegmentationMessage},
  };
  for (const ReentryCase& c : cases) expectFirstReportStands(c);
}

}  // namespace
}  // namespace quillon
