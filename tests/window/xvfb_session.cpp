#include "window/xvfb_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace quillon::window_test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kScreenGeometry = "1024x768x24";
constexpr auto kPollInterval = std::chrono::milliseconds(100);

int millisecondsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(left);
}

// Waits for a child, killing it once the deadline has passed. Returns its exit
// status, or -1 when it was killed or ended by a signal.
int reapChild(pid_t pid, Clock::time_point deadline) {
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() >= deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void redirect(int fd, const char* path, int flags) {
  const int opened = open(path, flags, 0600);
  if (opened >= 0) {
    dup2(opened, fd);
    close(opened);
  }
}

[[noreturn]] void execute(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const std::string& arg : argv) {
    args.push_back(const_cast<char*>(arg.c_str()));
  }
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

std::filesystem::path uniqueTemporaryFile(const char* stem, const char* extension) {
  static std::atomic<int> counter{0};
  std::ostringstream name;
  name << stem << '-' << getpid() << '-' << counter++ << extension;
  return std::filesystem::temp_directory_path() / name.str();
}

}  // namespace

bool programsAvailable(const std::vector<std::string>& names) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) {
    return false;
  }
  for (const std::string& name : names) {
    bool found = false;
    std::istringstream folders(path);
    std::string folder;
    while (!found && std::getline(folders, folder, ':')) {
      found = !folder.empty() && access((folder + "/" + name).c_str(), X_OK) == 0;
    }
    if (!found) {
      return false;
    }
  }
  return true;
}

bool xvfbToolsAvailable() { return programsAvailable({"Xvfb", "xdotool", "xwininfo", "import"}); }

XvfbServer::XvfbServer() {
  int fds[2];
  if (pipe(fds) != 0) {
    return;
  }
  pid_ = fork();
  if (pid_ == 0) {
    close(fds[0]);
    redirect(STDIN_FILENO, "/dev/null", O_RDONLY);
    redirect(STDOUT_FILENO, "/dev/null", O_WRONLY);
    redirect(STDERR_FILENO, "/dev/null", O_WRONLY);
    // Xvfb picks a free display number and writes it to the pipe.
    execute({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", kScreenGeometry,
             "-nolisten", "tcp"});
  }
  close(fds[1]);
  if (pid_ < 0) {
    close(fds[0]);
    return;
  }
  std::string number;
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  pollfd waiting{fds[0], POLLIN, 0};
  while (poll(&waiting, 1, millisecondsLeft(deadline)) > 0) {
    char c = 0;
    if (read(fds[0], &c, 1) != 1 || c == '\n') {
      break;
    }
    number.push_back(c);
  }
  close(fds[0]);
  if (!number.empty()) {
    display_ = ":" + number;
  }
}

XvfbServer::~XvfbServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    reapChild(pid_, Clock::now() + std::chrono::seconds(5));
  }
}

CommandResult runOnDisplay(const std::string& display, const std::vector<std::string>& argv,
                           std::chrono::milliseconds timeLimit) {
  CommandResult result;
  int fds[2];
  if (pipe(fds) != 0) {
    return result;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    dup2(fds[1], STDOUT_FILENO);
    close(fds[1]);
    redirect(STDIN_FILENO, "/dev/null", O_RDONLY);
    redirect(STDERR_FILENO, "/dev/null", O_WRONLY);
    setenv("DISPLAY", display.c_str(), 1);
    execute(argv);
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    return result;
  }
  const auto deadline = Clock::now() + timeLimit;
  pollfd waiting{fds[0], POLLIN, 0};
  char buffer[4096];
  while (poll(&waiting, 1, millisecondsLeft(deadline)) > 0) {
    const ssize_t count = read(fds[0], buffer, sizeof buffer);
    if (count <= 0) {
      break;
    }
    result.output.append(buffer, static_cast<std::size_t>(count));
  }
  close(fds[0]);
  result.exitStatus = reapChild(pid, deadline);
  return result;
}

std::string waitForWindowOf(const std::string& display, pid_t pid,
                            std::chrono::milliseconds timeLimit) {
  const auto deadline = Clock::now() + timeLimit;
  while (Clock::now() < deadline) {
    const CommandResult found =
        runOnDisplay(display, {"xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid)});
    std::istringstream lines(found.output);
    std::string window;
    if (std::getline(lines, window) && !window.empty()) {
      return window;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  return {};
}

WindowInfo windowInfo(const std::string& display, const std::string& window) {
  WindowInfo info;
  const CommandResult result = runOnDisplay(display, {"xwininfo", "-id", window});
  if (result.exitStatus != 0) {
    return info;
  }
  info.found = true;
  std::istringstream lines(result.output);
  std::string line;
  while (std::getline(lines, line)) {
    const auto value = [&line](const std::string& label) {
      return line.substr(line.find(label) + label.size());
    };
    if (line.find("Window id:") != std::string::npos) {
      const auto open = line.find('"');
      const auto close = line.rfind('"');
      if (open != std::string::npos && close > open) {
        info.title = line.substr(open + 1, close - open - 1);
      }
    } else if (line.find("  Width: ") != std::string::npos) {
      info.width = std::stoi(value("Width: "));
    } else if (line.find("  Height: ") != std::string::npos) {
      info.height = std::stoi(value("Height: "));
    } else if (line.find("Map State: ") != std::string::npos) {
      info.viewable = value("Map State: ") == "IsViewable";
    }
  }
  return info;
}

bool captureWindow(const std::string& display, const std::string& window, RgbImage& image) {
  const std::filesystem::path file = uniqueTemporaryFile("quillon-capture", ".png");
  // png24: keeps every capture in 8-bit RGB, whatever colours it holds.
  const CommandResult result =
      runOnDisplay(display, {"import", "-window", window, "png24:" + file.string()});
  const bool read = result.exitStatus == 0 && readPng(file.string(), image);
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  return read;
}

bool waitForScreen(const std::string& display, const std::string& window, const RgbImage& expected,
                   RgbImage& last, std::chrono::milliseconds timeLimit) {
  const auto deadline = Clock::now() + timeLimit;
  do {
    if (captureWindow(display, window, last) && last.width == expected.width &&
        last.height == expected.height && last.rgb == expected.rgb) {
      return true;
    }
    std::this_thread::sleep_for(kPollInterval);
  } while (Clock::now() < deadline);
  return false;
}

std::string describeDifference(const RgbImage& actual, const RgbImage& expected) {
  std::ostringstream out;
  if (actual.width != expected.width || actual.height != expected.height) {
    out << "size " << actual.width << " x " << actual.height << " instead of " << expected.width
        << " x " << expected.height;
    return out.str();
  }
  for (std::size_t i = 0; i + 2 < actual.rgb.size(); i += 3) {
    if (actual.rgb[i] != expected.rgb[i] || actual.rgb[i + 1] != expected.rgb[i + 1] ||
        actual.rgb[i + 2] != expected.rgb[i + 2]) {
      const auto pixel = static_cast<int32_t>(i / 3);
      out << "first difference at (" << pixel % actual.width << ", " << pixel / actual.width
          << "): rgb(" << int{actual.rgb[i]} << ", " << int{actual.rgb[i + 1]} << ", "
          << int{actual.rgb[i + 2]} << ") instead of rgb(" << int{expected.rgb[i]} << ", "
          << int{expected.rgb[i + 1]} << ", " << int{expected.rgb[i + 2]} << ")";
      return out.str();
    }
  }
  return "no difference";
}

bool pressKeys(const std::string& display, const std::string& window,
               const std::vector<std::string>& keys) {
  std::vector<std::string> argv = {"xdotool", "key", "--window", window, "--delay", "50"};
  argv.insert(argv.end(), keys.begin(), keys.end());
  return runOnDisplay(display, argv).exitStatus == 0;
}

ChildProgram::ChildProgram(const std::filesystem::path& program,
                           const std::filesystem::path& folder, const std::string& display)
    : errorFile_(uniqueTemporaryFile("quillon-stderr", ".txt")) {
  pid_ = fork();
  if (pid_ == 0) {
    if (chdir(folder.c_str()) != 0) {
      _exit(126);
    }
    redirect(STDIN_FILENO, "/dev/null", O_RDONLY);
    redirect(STDOUT_FILENO, "/dev/null", O_WRONLY);
    redirect(STDERR_FILENO, errorFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
    if (display.empty()) {
      unsetenv("DISPLAY");
      // No Wayland socket either: the runtime folder is the story folder.
      setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    } else {
      setenv("DISPLAY", display.c_str(), 1);
    }
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    execute({program.string()});
  }
}

ChildProgram::~ChildProgram() {
  if (pid_ > 0 && !reaped_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::error_code ignored;
  std::filesystem::remove(errorFile_, ignored);
}

bool ChildProgram::waitForExit(std::chrono::milliseconds timeLimit, int& exitStatus) {
  const auto deadline = Clock::now() + timeLimit;
  while (!reaped_) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      reaped_ = true;
      exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      return true;
    }
    if (done < 0 || Clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

bool ChildProgram::stillRunning() {
  return !reaped_ && pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0;
}

std::string ChildProgram::standardError() const {
  std::string text;
  if (FILE* file = std::fopen(errorFile_.c_str(), "rb")) {
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
      text.append(buffer, count);
    }
    std::fclose(file);
  }
  return text;
}

double cpuSeconds(pid_t pid) {
  std::string stat;
  if (FILE* file = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "rb")) {
    char buffer[1024];
    const std::size_t count = std::fread(buffer, 1, sizeof buffer, file);
    stat.assign(buffer, count);
    std::fclose(file);
  }
  // Fields after the command name, which ends at the last ')': state is
  // field 3, utime field 14 and stime field 15.
  std::istringstream fields(stat.substr(stat.rfind(')') + 1));
  std::vector<std::string> values;
  for (std::string value; fields >> value;) {
    values.push_back(value);
  }
  constexpr std::size_t kUtime = 14 - 3;
  constexpr std::size_t kStime = 15 - 3;
  if (values.size() <= kStime) {
    return 0.0;
  }
  const double ticks = std::stod(values[kUtime]) + std::stod(values[kStime]);
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::filesystem::path quillonExecutable() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return self.parent_path().parent_path() / "quillon";
}

}  // namespace quillon::window_test
