#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "quillon_tool/external_program.h"

namespace quillon::tool {
namespace {

constexpr int kCannotRun = 127;
constexpr std::size_t kChunk = 4096;

void closeBoth(int pipe[2]) {
  ::close(pipe[0]);
  ::close(pipe[1]);
}

}  // namespace

bool programInPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::istringstream folders(path);
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
  }
  return false;
}

ProgramResult runProgram(const std::vector<std::string>& arguments, const std::string& input) {
  ProgramResult result;
  int in[2];
  int out[2];
  int err[2];
  if (::pipe(in) != 0) return result;
  if (::pipe(out) != 0) {
    closeBoth(in);
    return result;
  }
  if (::pipe(err) != 0) {
    closeBoth(in);
    closeBoth(out);
    return result;
  }
  std::cout.flush();
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(in[0], STDIN_FILENO);
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    closeBoth(in);
    closeBoth(out);
    closeBoth(err);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(kCannotRun);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  if (child < 0) {
    ::close(in[1]);
    ::close(out[0]);
    ::close(err[0]);
    return result;
  }
  // A broken pipe must not end the tool when the program stops reading.
  ::signal(SIGPIPE, SIG_IGN);
  ::fcntl(in[1], F_SETFL, O_NONBLOCK);
  std::size_t sent = 0;
  if (input.empty()) {
    ::close(in[1]);
    in[1] = -1;
  }
  pollfd fds[3] = {{in[1], POLLOUT, 0}, {out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* sinks[3] = {nullptr, &result.output, &result.errors};
  while (fds[0].fd >= 0 || fds[1].fd >= 0 || fds[2].fd >= 0) {
    if (::poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[0].fd >= 0 && fds[0].revents != 0) {
      const ssize_t n = ::write(fds[0].fd, input.data() + sent, input.size() - sent);
      if (n > 0) sent += static_cast<std::size_t>(n);
      if (n < 0 && errno != EAGAIN) sent = input.size();
      if (sent == input.size()) {
        ::close(fds[0].fd);
        fds[0].fd = -1;
      }
    }
    for (int i = 1; i < 3; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[kChunk];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        ::close(fds[i].fd);
        fds[i].fd = -1;
      }
    }
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.started = !(WIFEXITED(status) && WEXITSTATUS(status) == kCannotRun);
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace quillon::tool
