// The program's ending closes the open display: the whole close on a normal
// ending, only the front end's signal-safe part on the signal path.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <ostream>
#include <string>

#include "display/framebuffer.h"
#include "display/front_end.h"
#include "display/headless_front_end.h"
#include "errors/runtime_error.h"
#include "support/child_process.h"

namespace quillon {
namespace {

constexpr const char* kClosedMarker = "window closed\n";
constexpr const char* kSignalMarker = "closed from signal\n";
constexpr const char* kFunctionName = "STORY";

void writeMarker(const char* text) {
  // write(2): the signal path allows nothing buffered.
  const ssize_t written = ::write(STDOUT_FILENO, text, std::strlen(text));
  static_cast<void>(written);
}

class MarkingFrontEnd : public HeadlessFrontEnd {
 public:
  MarkingFrontEnd() : HeadlessFrontEnd(true) {}
  void closeWindow() override {
    if (isOpen()) writeMarker(kClosedMarker);
    HeadlessFrontEnd::closeWindow();
  }
  void closeFromSignal() override { writeMarker(kSignalMarker); }
};

enum class Ending { Normal, RuntimeError, Signal };

struct EndingCase {
  std::string name;
  Ending ending;
  int32_t status;
  std::string stdoutBytes;
  bool withMessage;
};

void PrintTo(const EndingCase& c, std::ostream* out) { *out << c.name; }

class DisplayCloserTest : public ::testing::TestWithParam<EndingCase> {};

TEST_P(DisplayCloserTest, TheEndingClosesTheOpenDisplay) {
  const EndingCase& c = GetParam();
  const ChildResult result = runInChild([&c] {
    static MarkingFrontEnd frontEnd;
    setFrontEnd(&frontEnd);
    setFunctionName(kFunctionName);
    if (openScreen(320, 200, 8, 16) != 0) return;
    switch (c.ending) {
      case Ending::Normal:
        endProgram(c.status);
      case Ending::RuntimeError:
        runtimeError(c.status, 7);
      case Ending::Signal:
        endFromSignal(c.status);
    }
  });
  ASSERT_TRUE(result.exited) << ::testing::PrintToString(result);
  EXPECT_EQ(result.exitStatus, c.status);
  EXPECT_EQ(result.stdoutBytes, c.stdoutBytes);
  std::string message;
  if (c.withMessage) {
    char buffer[kMessageBufferSize];
    const int32_t location = c.ending == Ending::Signal ? -1 : 7;
    message.assign(buffer, composeAbortMessage(c.status, location, kModuleName, kFunctionName,
                                               buffer, sizeof buffer));
  }
  EXPECT_EQ(result.stderrBytes, message);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, DisplayCloserTest,
    ::testing::Values(EndingCase{"Escape", Ending::Normal, 0, kClosedMarker, false},
                      EndingCase{"RuntimeError", Ending::RuntimeError, 2, kClosedMarker, true},
                      // A handler may not join threads or free memory.
                      EndingCase{"Signal", Ending::Signal, 5, kSignalMarker, true}),
    [](const auto& testCase) { return testCase.param.name; });

}  // namespace
}  // namespace quillon
