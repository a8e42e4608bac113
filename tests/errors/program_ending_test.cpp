// runtimeError, endProgram and checkIndex end real child processes; the exit
// status and the exact standard-error bytes are what a user sees.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "errors/error_numbers.h"
#include "errors/runtime_error.h"
#include "support/child_process.h"

namespace quillon {
namespace {

void writeMarker(const char* text) {
  // write(2), as a closer may run inside a signal handler.
  [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
}

void expectEnded(const ChildResult& result, int status, const std::string& stderrBytes,
                 const char* what) {
  EXPECT_TRUE(result.exited) << what << ": " << ::testing::PrintToString(result);
  EXPECT_EQ(result.exitStatus, status) << what << ": " << ::testing::PrintToString(result);
  EXPECT_EQ(result.stderrBytes, stderrBytes) << what;
}

struct RuntimeErrorCase {
  const char* what;
  int32_t number;
  int32_t location;
  int exitStatus;
  const char* stderrBytes;
};

// The exit status is the error number; POSIX keeps its low 8 bits.
const RuntimeErrorCase kRuntimeErrorCases[] = {
    {"missing background picture", 2, 32, 2,
     "\nAborting due to runtime error 2 (file not found) at line 32 of Quillon::()\n\n"},
    {"display cannot be opened", 1, 1, 1,
     "\nAborting due to runtime error 1 (illegal function call) at line 1 of Quillon::()\n\n"},
    {"number outside the table", 18, 5, 18,
     "\nAborting due to runtime error 18 at line 5 of Quillon::()\n\n"},
    {"negative number exits with its low byte", -1, 3, 255,
     "\nAborting due to runtime error -1 at line 3 of Quillon::()\n\n"},
    {"number above 255 exits with its low byte", 300, 4, 44,
     "\nAborting due to runtime error 300 at line 4 of Quillon::()\n\n"},
    {"no location", 4, 0, 4,
     "\nAborting due to runtime error 4 (out of memory) in Quillon::()\n\n"},
};

TEST(RuntimeError, ExitsWithTheNumberAndWritesTheMessage) {
  for (const RuntimeErrorCase& c : kRuntimeErrorCases) {
    const ChildResult result = runInChild([&] { runtimeError(c.number, c.location); });
    expectEnded(result, c.exitStatus, c.stderrBytes, c.what);
    EXPECT_EQ(result.stdoutBytes, "") << c.what;
  }
}

TEST(RuntimeError, NamesTheModuleAndFunctionThatAreSet) {
  const ChildResult result = runInChild([] {
    setModuleName("Other");
    setFunctionName("draw");
    runtimeError(kFileNotFound, 9);
  });
  expectEnded(result, 2,
              "\nAborting due to runtime error 2 (file not found) at line 9 of Other::draw()\n\n",
              "names set");
}

TEST(RuntimeError, RecordsTheNumberAsTheCurrentError) {
  const ChildResult result = runInChild([] {
    registerCloser(CloserStage::Display, [](bool) {
      writeMarker(currentErrorNumber() == kOutOfMemory ? "current 4\n" : "current other\n");
    });
    runtimeError(kOutOfMemory, 7);
  });
  expectEnded(result, 4,
              "current 4\n\nAborting due to runtime error 4 (out of memory) at line 7 of "
              "Quillon::()\n\n",
              "current number");
}

// The display must be gone and the files closed before the message appears,
// and both closers are told they are not in a signal handler.
TEST(RuntimeError, ClosesTheDisplayThenTheFilesThenWritesTheMessage) {
  const ChildResult result = runInChild([] {
    registerCloser(CloserStage::Files, [](bool inSignalHandler) {
      writeMarker(inSignalHandler ? "files closed in handler\n" : "files closed\n");
    });
    registerCloser(CloserStage::Display, [](bool inSignalHandler) {
      writeMarker(inSignalHandler ? "display closed in handler\n" : "display closed\n");
    });
    runtimeError(kFileNotFound, 32);
  });
  expectEnded(result, 2,
              "display closed\nfiles closed\n"
              "\nAborting due to runtime error 2 (file not found) at line 32 of Quillon::()\n\n",
              "closers");
}

// What the program printed through stdio before the failure is not lost, and
// it comes before the message.
TEST(RuntimeError, FlushesBufferedOutputBeforeTheMessage) {
  const ChildResult result = runInChild([] {
    std::fputs("page text", stdout);
    std::fputs("earlier warning\n", stderr);
    runtimeError(kOutOfBounds, 62);
  });
  expectEnded(result, 6,
              "earlier warning\n\nAborting due to runtime error 6 (out of bounds array access) "
              "at line 62 of Quillon::()\n\n",
              "flush");
  EXPECT_EQ(result.stdoutBytes, "page text");
}

struct ReentryCase {
  const char* what;
  Closer displayCloser;
  int exitStatus;
  const char* stderrBytes;
};

// A second ending that starts inside the first (a closer that fails) must
// neither loop nor print a second message: the first report stands.
const ReentryCase kReentryCases[] = {
    {"closer raises another runtime error", [](bool) { runtimeError(kOutOfMemory, 7); }, 2,
     "\nAborting due to runtime error 2 (file not found) at line 32 of Quillon::()\n\n"},
    {"closer ends the program", [](bool) { endProgram(0); }, 2,
     "\nAborting due to runtime error 2 (file not found) at line 32 of Quillon::()\n\n"},
};

TEST(RuntimeError, ASecondEndingInsideTheFirstKeepsTheFirstReport) {
  for (const ReentryCase& c : kReentryCases) {
    const ChildResult result = runInChild([&] {
      registerCloser(CloserStage::Display, c.displayCloser);
      registerCloser(CloserStage::Files, [](bool) { writeMarker("files closed\n"); });
      runtimeError(kFileNotFound, 32);
    });
    expectEnded(result, c.exitStatus, c.stderrBytes, c.what);
  }
}

struct EndProgramCase {
  int32_t status;
  int exitStatus;
};

TEST(EndProgram, ExitsWithTheStatusAndWritesNothing) {
  for (const EndProgramCase& c : {EndProgramCase{0, 0}, EndProgramCase{3, 3},
                                  EndProgramCase{263, 7}, EndProgramCase{-1, 255}}) {
    const ChildResult result = runInChild([&] { endProgram(c.status); });
    expectEnded(result, c.exitStatus, "", std::to_string(c.status).c_str());
  }
}

TEST(EndProgram, RunsTheClosersInOrder) {
  const ChildResult result = runInChild([] {
    registerCloser(CloserStage::Display, [](bool) { writeMarker("display closed\n"); });
    registerCloser(CloserStage::Files, [](bool) { writeMarker("files closed\n"); });
    std::fputs("last page", stdout);
    endProgram(0);
  });
  expectEnded(result, 0, "display closed\nfiles closed\n", "closers");
  EXPECT_EQ(result.stdoutBytes, "last page");
}

struct IndexCase {
  int32_t index;
  int32_t lower;
  int32_t upper;
};

TEST(CheckIndex, ReturnsAndClearsTheErrorWithinTheBounds) {
  for (const IndexCase& c :
       {IndexCase{0, 0, 1000}, IndexCase{1000, 0, 1000}, IndexCase{500, 0, 1000},
        IndexCase{-5, -5, -5}, IndexCase{INT32_MIN, INT32_MIN, INT32_MAX},
        IndexCase{INT32_MAX, INT32_MIN, INT32_MAX}}) {
    setErrorNumber(kFileNotFound);
    checkIndex(c.index, c.lower, c.upper, 62);
    EXPECT_EQ(currentErrorNumber(), kNoError) << c.index << " in " << c.lower << ".." << c.upper;
  }
}

struct OutOfBoundsCase {
  IndexCase index;
  int32_t location;
  const char* stderrBytes;
};

TEST(CheckIndex, EndsWithNumber6OutsideTheBounds) {
  const OutOfBoundsCase cases[] = {
      {{1001, 0, 1000},
       62,
       "\nAborting due to runtime error 6 (out of bounds array access) at line 62 of "
       "Quillon::()\n\n"},
      {{-1, 0, 1000},
       62,
       "\nAborting due to runtime error 6 (out of bounds array access) at line 62 of "
       "Quillon::()\n\n"},
      {{INT32_MIN, 0, 1000},
       14,
       "\nAborting due to runtime error 6 (out of bounds array access) at line 14 of "
       "Quillon::()\n\n"},
      {{INT32_MAX, 0, 1000},
       0,
       "\nAborting due to runtime error 6 (out of bounds array access) in Quillon::()\n\n"},
  };
  for (const OutOfBoundsCase& c : cases) {
    const ChildResult result =
        runInChild([&] { checkIndex(c.index.index, c.index.lower, c.index.upper, c.location); });
    expectEnded(result, 6, c.stderrBytes, std::to_string(c.index.index).c_str());
  }
}

}  // namespace
}  // namespace quillon
