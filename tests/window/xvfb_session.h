#pragma once
// A private X server (Xvfb) for the window tests, and the X tools that drive
// it: xdotool for real key events, xwininfo for the window's geometry and
// title, ImageMagick's import for screenshots, and an Xlib client message for
// the close request a window manager would send.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "display/png_image.h"

namespace quillon::window_test {

// True when every program in `names` is found on PATH.
bool programsAvailable(const std::vector<std::string>& names);
// Xvfb and the X tools the tests drive it with.
bool xvfbToolsAvailable();

// Xvfb on a free display number (it picks one itself), 1024 x 768 x 24;
// stopped by the destructor.
class XvfbServer {
 public:
  XvfbServer();
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool running() const { return pid_ > 0 && !display_.empty(); }
  const std::string& display() const { return display_; }  // ":N"

 private:
  pid_t pid_ = -1;
  std::string display_;
};

struct CommandResult {
  int exitStatus = -1;  // -1 when the program could not run or was killed
  std::string output;   // standard output
};

// Runs a program with DISPLAY set; gives up after `timeLimit`.
CommandResult runOnDisplay(const std::string& display, const std::vector<std::string>& argv,
                           std::chrono::milliseconds timeLimit = std::chrono::seconds(20));

// The first visible window of process `pid`, in decimal as xdotool prints it;
// empty when none appears within `timeLimit`.
std::string waitForWindowOf(const std::string& display, pid_t pid,
                            std::chrono::milliseconds timeLimit = std::chrono::seconds(15));

// A window's geometry and title as xwininfo reports them.
struct WindowInfo {
  bool found = false;
  int32_t width = 0;
  int32_t height = 0;
  std::string title;
  bool viewable = false;
};
WindowInfo windowInfo(const std::string& display, const std::string& window);

// The window's content; false when the capture failed.
bool captureWindow(const std::string& display, const std::string& window, RgbImage& image);

// Waits until the window shows exactly `expected` (a capture about every
// 100 ms); the last capture stays in `last`.
bool waitForScreen(const std::string& display, const std::string& window, const RgbImage& expected,
                   RgbImage& last, std::chrono::milliseconds timeLimit = std::chrono::seconds(10));

// "first difference at (x, y): rgb(...) instead of rgb(...)" or a size note.
std::string describeDifference(const RgbImage& actual, const RgbImage& expected);

// Real key events to the window: `xdotool key --window` with the key names.
bool pressKeys(const std::string& display, const std::string& window,
               const std::vector<std::string>& keys);

// Sends WM_DELETE_WINDOW, as a window manager does for the close button.
bool sendCloseRequest(const std::string& display, const std::string& window);

// A program started in `folder` with DISPLAY set (an empty display leaves it
// without any display server), standard error kept in a file; killed by the
// destructor if it is still running.
class ChildProgram {
 public:
  ChildProgram(const std::filesystem::path& program, const std::filesystem::path& folder,
               const std::string& display);
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  pid_t pid() const { return pid_; }
  // True when it ended within `timeLimit`; `exitStatus` is -1 after a signal.
  bool waitForExit(std::chrono::milliseconds timeLimit, int& exitStatus);
  bool stillRunning();
  std::string standardError() const;

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
  std::filesystem::path errorFile_;
};

// User plus system CPU time of a process so far, in seconds (from /proc).
double cpuSeconds(pid_t pid);

// The quillon executable of this build (beside the tests folder).
std::filesystem::path quillonExecutable();

}  // namespace quillon::window_test
