// Each walk runs in a forked child: the player ends its process however the
// story goes, and a story that hangs or crashes takes only that child along.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "display/png_image.h"
#include "player/page_observer.h"
#include "player/scripted_session.h"
#include "quillon_tool/walk_run.h"
#include "quillon_tool/walker.h"

namespace quillon::tool {
namespace {

constexpr int kChildSetupFailed = 125;
constexpr std::size_t kReadChunk = 4096;

int gEventStream = -1;

// Unbuffered, since the player ends the process without flushing anything.
void sendEvent(char kind, int64_t first, int64_t second = 0) {
  char line[64];
  const int length = std::snprintf(line, sizeof line, "%c %lld %lld\n", kind,
                                   static_cast<long long>(first), static_cast<long long>(second));
  if (length <= 0) return;
  std::size_t written = 0;
  while (written < static_cast<std::size_t>(length)) {
    const ssize_t n =
        ::write(gEventStream, line + written, static_cast<std::size_t>(length) - written);
    if (n <= 0) return;
    written += static_cast<std::size_t>(n);
  }
}

[[noreturn]] void childBody(const std::filesystem::path& story, uint64_t seed, int32_t maxKeys) {
  if (::chdir(story.c_str()) != 0) ::_exit(kChildSetupFailed);
  static Walker walker(seed, maxKeys);
  static ScriptedSession session;
  setPageObserver(
      [](void*, PageStage stage, const StoryState& state) {
        if (stage == PageStage::Entering) {
          sendEvent('E', state.PL);
          return;
        }
        walker.pageShown(state);
        sendEvent('S', state.PL, state.PC);
      },
      nullptr);
  session.observer = [](int32_t, const RgbImage&) {
    if (const auto key = walker.nextKey()) {
      session.keyCodes.push_back(*key);
      sendEvent('K', *key);
    }
  };
  session.run();
}

void parseEvents(const std::string& text, WalkRun& run) {
  std::istringstream lines(text);
  char kind = 0;
  long long first = 0;
  long long second = 0;
  while (lines >> kind >> first >> second) {
    if (kind == 'K') run.keys.push_back(static_cast<int32_t>(first));
    if (kind == 'S') {
      run.shownPages.push_back(static_cast<int32_t>(first));
      if (second > run.highestVisited) run.highestVisited = static_cast<int32_t>(second);
    }
  }
}

// Reads both pipes until the child closes them or the time runs out.
bool collect(int events, int errors, double timeLimitSeconds, std::string& eventText,
             std::string& errorText) {
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(timeLimitSeconds));
  pollfd fds[2] = {{events, POLLIN, 0}, {errors, POLLIN, 0}};
  std::string* sinks[2] = {&eventText, &errorText};
  int open = 2;
  while (open > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    if (::poll(fds, 2, static_cast<int>(left.count())) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[kReadChunk];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        fds[i].fd = -1;
        --open;
      }
    }
  }
  return true;
}

}  // namespace

WalkRun runWalkInChild(const std::filesystem::path& story, uint64_t seed, int32_t maxKeys,
                       double timeLimitSeconds) {
  WalkRun run;
  int events[2];
  int errors[2];
  if (::pipe(events) != 0) return run;
  if (::pipe(errors) != 0) {
    ::close(events[0]);
    ::close(events[1]);
    return run;
  }
  std::cout.flush();
  std::cerr.flush();
  const pid_t child = ::fork();
  if (child == 0) {
    const int nothing = ::open("/dev/null", O_RDWR);
    ::dup2(nothing, STDIN_FILENO);
    ::dup2(nothing, STDOUT_FILENO);
    ::dup2(errors[1], STDERR_FILENO);
    ::close(events[0]);
    ::close(errors[0]);
    ::close(errors[1]);
    gEventStream = events[1];
    childBody(story, seed, maxKeys);
  }
  ::close(events[1]);
  ::close(errors[1]);
  if (child < 0) {
    ::close(events[0]);
    ::close(errors[0]);
    return run;
  }
  std::string eventText;
  if (!collect(events[0], errors[0], timeLimitSeconds, eventText, run.standardError)) {
    ::kill(child, SIGKILL);
    run.timedOut = true;
  }
  ::close(events[0]);
  ::close(errors[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  run.exited = WIFEXITED(status) && !run.timedOut;
  if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  parseEvents(eventText, run);
  return run;
}

}  // namespace quillon::tool
