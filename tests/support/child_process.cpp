// fork, pipes and waitpid behind runInChild.
#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <exception>

namespace quillon {

namespace {

constexpr int kPollSliceMs = 20;
constexpr int kChildSetupFailed = 126;

struct Pipe {
  int read = -1;
  int write = -1;
};

bool openPipe(Pipe& pipe) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  pipe.read = fds[0];
  pipe.write = fds[1];
  return true;
}

void closeFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// Reads what is available now; closes `fd` and returns at end of stream.
void readAvailable(int& fd, std::string& into) {
  std::array<char, 4096> chunk;
  while (fd >= 0) {
    const ssize_t got = ::read(fd, chunk.data(), chunk.size());
    if (got > 0) {
      into.append(chunk.data(), static_cast<std::size_t>(got));
    } else if (got == 0) {
      closeFd(fd);
    } else if (errno != EINTR) {
      if (errno != EAGAIN && errno != EWOULDBLOCK) closeFd(fd);
      return;
    }
  }
}

[[noreturn]] void runBodyInChild(const std::function<void()>& body, Pipe& out, Pipe& err) {
  const int devNull = ::open("/dev/null", O_RDONLY);
  if (devNull < 0 || ::dup2(devNull, STDIN_FILENO) < 0 || ::dup2(out.write, STDOUT_FILENO) < 0 ||
      ::dup2(err.write, STDERR_FILENO) < 0) {
    ::_exit(kChildSetupFailed);
  }
  try {
    body();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "child body threw: %s\n", error.what());
    std::fflush(nullptr);
    ::_exit(kChildBodyThrew);
  } catch (...) {
    std::fprintf(stderr, "child body threw\n");
    std::fflush(nullptr);
    ::_exit(kChildBodyThrew);
  }
  std::fflush(nullptr);
  ::_exit(0);
}

void storeStatus(int status, ChildResult& result) {
  if (WIFEXITED(status)) {
    result.exited = true;
    result.exitStatus = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.signal = WTERMSIG(status);
  }
}

std::string escaped(const std::string& bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      text += "\\n";
    } else if (c == '\\' || c == '"') {
      text += '\\';
      text += c;
    } else if (byte < 0x20 || byte >= 0x7f) {
      static constexpr char kHex[] = "0123456789abcdef";
      text += "\\x";
      text += kHex[byte >> 4];
      text += kHex[byte & 0xf];
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace

ChildResult runInChild(std::function<void()> body, std::chrono::milliseconds timeLimit) {
  ChildResult result;
  Pipe out;
  Pipe err;
  if (!openPipe(out) || !openPipe(err)) {
    result.stderrBytes = "runInChild: no pipe";
    return result;
  }
  // Whatever the parent has buffered must not be written twice.
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) runBodyInChild(body, out, err);
  closeFd(out.write);
  closeFd(err.write);
  if (pid < 0) {
    closeFd(out.read);
    closeFd(err.read);
    result.stderrBytes = "runInChild: fork failed";
    return result;
  }
  ::fcntl(out.read, F_SETFL, O_NONBLOCK);
  ::fcntl(err.read, F_SETFL, O_NONBLOCK);

  // The streams are read while the child runs, so a child that writes more
  // than a pipe holds does not block. A grandchild may keep a pipe open after
  // the child has gone, so the child's end, not end of stream, stops the loop.
  const auto deadline = std::chrono::steady_clock::now() + timeLimit;
  int status = 0;
  bool reaped = false;
  for (;;) {
    const pid_t waited = ::waitpid(pid, &status, WNOHANG);
    if (waited == pid) {
      reaped = true;
      break;
    }
    if (waited < 0 && errno != EINTR) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      result.timedOut = true;
      ::kill(pid, SIGKILL);
      pid_t killed = 0;
      do {
        killed = ::waitpid(pid, &status, 0);
      } while (killed < 0 && errno == EINTR);
      reaped = killed == pid;
      break;
    }
    std::array<pollfd, 2> fds{};
    nfds_t count = 0;
    if (out.read >= 0) fds[count++] = {out.read, POLLIN, 0};
    if (err.read >= 0) fds[count++] = {err.read, POLLIN, 0};
    if (count == 0) {
      ::usleep(kPollSliceMs * 1000);
    } else {
      ::poll(fds.data(), count, kPollSliceMs);
    }
    readAvailable(out.read, result.stdoutBytes);
    readAvailable(err.read, result.stderrBytes);
  }
  readAvailable(out.read, result.stdoutBytes);
  readAvailable(err.read, result.stderrBytes);
  closeFd(out.read);
  closeFd(err.read);
  if (reaped) {
    storeStatus(status, result);
  } else {
    result.stderrBytes += "runInChild: the child could not be waited for";
  }
  return result;
}

void PrintTo(const ChildResult& result, std::ostream* out) {
  if (result.timedOut) {
    *out << "timed out";
  } else if (result.exited) {
    *out << "exited with status " << result.exitStatus;
  } else {
    *out << "killed by signal " << result.signal;
  }
  *out << ", stderr \"" << escaped(result.stderrBytes) << "\", stdout \""
       << escaped(result.stdoutBytes) << "\"";
}

}  // namespace quillon
