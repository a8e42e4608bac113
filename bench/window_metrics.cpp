// Measures the quillon window on an X display (Xvfb in scripts/bench.sh):
//   start-up: from starting the program to the first story screen in the window;
//   key latency: from sending a choice key to the next page in the window;
//   idle CPU: CPU time while the player waits at a page (ten seconds), in % of
//   one core;
//   peak memory: VmHWM of the process after the runs.
// Usage: window_metrics <quillon executable> <display> [runs]
// It writes a two-page story of its own into a temporary folder and plays it
// there; a screen counts as shown when the window's pixels equal the screen
// it settled on in a first, untimed run.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kWidth = 320;
constexpr int kHeight = 200;

std::string pictureText(int width, int height, int seed) {
  std::string text;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      text += std::to_string((x * 7 + y * 13 + seed) % 256);
      text += x + 1 < width ? "," : "\n";
    }
  }
  return text;
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// Page 0 and page 1, each leading to the other; a 64 x 48 picture on each.
std::filesystem::path writeStory() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "quillon-metrics-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::exit(2);
  const std::filesystem::path root = pattern;
  writeFile(root / "sprites" / "bkgd2424.VIS", pictureText(24, 24, 0));
  writeFile(root / "sprites" / "east6448.VIS", pictureText(64, 48, 40));
  writeFile(root / "sprites" / "west6448.VIS", pictureText(64, 48, 90));
  const std::string lines = "The tide comes in.\nThe tide goes out.\n\n\nChoose a side.\n";
  writeFile(root / "pages" / "L000_000.mem",
            "West shore,64,48,west6448.VIS\nn,1,0,East\n,0,0,\n,0,0,\n,0,0,\n" + lines);
  writeFile(root / "pages" / "L001_000.mem",
            "East shore,64,48,east6448.VIS\nb,0,0,West\n,0,0,\n,0,0,\n,0,0,\n" + lines);
  return root;
}

pid_t startPlayer(const std::string& program, const std::filesystem::path& folder,
                  const std::string& display) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(126);
    setenv("DISPLAY", display.c_str(), 1);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

// The top-level window named "quillon", or 0.
Window findWindow(Display* x, const char* name) {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count) == 0) return 0;
  for (unsigned int i = 0; i < count && found == 0; ++i) {
    char* title = nullptr;
    XWindowAttributes attributes;
    if (XFetchName(x, children[i], &title) != 0 && title != nullptr) {
      if (std::strcmp(title, name) == 0 && XGetWindowAttributes(x, children[i], &attributes) != 0 &&
          attributes.map_state == IsViewable) {
        found = children[i];
      }
      XFree(title);
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

std::vector<uint32_t> capture(Display* x, Window window) {
  std::vector<uint32_t> pixels;
  XImage* image = XGetImage(x, window, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
  if (image == nullptr) return pixels;
  pixels.resize(static_cast<std::size_t>(kWidth * kHeight));
  for (int y = 0; y < kHeight; ++y) {
    for (int x0 = 0; x0 < kWidth; ++x0) {
      pixels[static_cast<std::size_t>(y * kWidth + x0)] =
          static_cast<uint32_t>(XGetPixel(image, x0, y) & 0xFFFFFF);
    }
  }
  XDestroyImage(image);
  return pixels;
}

// Waits until the window shows `expected`; the time it took, or -1.
double waitForScreen(Display* x, Window window, const std::vector<uint32_t>& expected,
                     Clock::time_point since, std::chrono::milliseconds limit = 10s) {
  while (Clock::now() - since < limit) {
    if (capture(x, window) == expected) {
      return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
    }
  }
  return -1;
}

// The screen once it has stayed the same for half a second.
std::vector<uint32_t> settledScreen(Display* x, Window window) {
  std::vector<uint32_t> last = capture(x, window);
  auto stableSince = Clock::now();
  while (Clock::now() - stableSince < 500ms) {
    std::this_thread::sleep_for(20ms);
    std::vector<uint32_t> now = capture(x, window);
    if (now != last) {
      last = std::move(now);
      stableSince = Clock::now();
    }
  }
  return last;
}

Window waitForWindow(Display* x, Clock::time_point since) {
  while (Clock::now() - since < 20s) {
    if (const Window window = findWindow(x, "quillon")) return window;
    std::this_thread::sleep_for(1ms);
  }
  return 0;
}

// A key press and release sent to the window, as xdotool's --window does.
void sendKey(Display* x, Window window, KeySym symbol) {
  XKeyEvent event{};
  event.display = x;
  event.window = window;
  event.root = DefaultRootWindow(x);
  event.subwindow = None;
  event.time = CurrentTime;
  event.same_screen = True;
  event.keycode = XKeysymToKeycode(x, symbol);
  event.type = KeyPress;
  XSendEvent(x, window, True, KeyPressMask, reinterpret_cast<XEvent*>(&event));
  event.type = KeyRelease;
  XSendEvent(x, window, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&event));
  XFlush(x);
}

double cpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  double ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14 || i == 15) ticks += std::stod(field);  // utime, stime
  }
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long statusKilobytes(pid_t pid, const std::string& key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
  }
  return -1;
}

void endPlayer(Display* x, Window window, pid_t pid) {
  sendKey(x, window, XK_Escape);
  int status = 0;
  for (int i = 0; i < 500 && waitpid(pid, &status, WNOHANG) == 0; ++i) {
    std::this_thread::sleep_for(10ms);
  }
  if (waitpid(pid, &status, WNOHANG) == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? -1 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <quillon> <display> [runs]\n", argv[0]);
    return 2;
  }
  const std::string program = argv[1];
  const std::string displayName = argv[2];
  const int runs = argc > 3 ? std::atoi(argv[3]) : 10;
  Display* x = XOpenDisplay(displayName.c_str());
  if (x == nullptr) {
    std::fprintf(stderr, "cannot open display %s\n", displayName.c_str());
    return 2;
  }
  XSetErrorHandler(ignoreErrors);
  const std::filesystem::path story = writeStory();

  // The untimed run: the screens of page 0 and page 1 as they settle.
  pid_t pid = startPlayer(program, story, displayName);
  Window window = waitForWindow(x, Clock::now());
  if (window == 0) {
    std::fprintf(stderr, "no quillon window appeared\n");
    return 1;
  }
  const std::vector<uint32_t> west = settledScreen(x, window);
  // A key sent while the window is still settling in may be lost: send the
  // choice key again until the page changes.
  std::vector<uint32_t> east = west;
  for (int attempt = 0; attempt < 5 && east == west; ++attempt) {
    sendKey(x, window, XK_n);
    std::this_thread::sleep_for(200ms);
    east = settledScreen(x, window);
  }
  endPlayer(x, window, pid);
  if (west.empty() || west == east) {
    std::fprintf(stderr, "the choice key did not lead to the second page\n");
    return 1;
  }

  std::vector<double> startups, keys;
  double idlePercent = -1;
  long peakKilobytes = -1;
  for (int run = 0; run < runs; ++run) {
    const auto started = Clock::now();
    pid = startPlayer(program, story, displayName);
    window = waitForWindow(x, started);
    if (window == 0) return 1;
    startups.push_back(waitForScreen(x, window, west, started));
    // Back and forth between the two pages.
    for (int press = 0; press < 10; ++press) {
      const bool toEast = press % 2 == 0;
      const auto sent = Clock::now();
      sendKey(x, window, toEast ? XK_n : XK_b);
      keys.push_back(waitForScreen(x, window, toEast ? east : west, sent));
    }
    if (run == 0) {
      // Waiting at a page: no key comes for ten seconds.
      constexpr auto kIdle = 10s;
      const double before = cpuSeconds(pid);
      std::this_thread::sleep_for(kIdle);
      idlePercent =
          (cpuSeconds(pid) - before) / std::chrono::duration<double>(kIdle).count() * 100.0;
    }
    peakKilobytes = std::max(peakKilobytes, statusKilobytes(pid, "VmHWM"));
    endPlayer(x, window, pid);
  }
  std::error_code ignored;
  std::filesystem::remove_all(story, ignored);
  XCloseDisplay(x);

  const auto failed = [](const std::vector<double>& v) {
    return std::count(v.begin(), v.end(), -1.0);
  };
  std::printf("startup_to_first_screen_ms median %.1f min %.1f max %.1f (runs %zu, missed %ld)\n",
              median(startups), *std::min_element(startups.begin(), startups.end()),
              *std::max_element(startups.begin(), startups.end()), startups.size(),
              static_cast<long>(failed(startups)));
  std::printf("key_to_updated_window_ms median %.1f min %.1f max %.1f (presses %zu, missed %ld)\n",
              median(keys), *std::min_element(keys.begin(), keys.end()),
              *std::max_element(keys.begin(), keys.end()), keys.size(),
              static_cast<long>(failed(keys)));
  std::printf("idle_cpu_percent_of_one_core %.2f\n", idlePercent);
  std::printf("peak_memory_VmHWM_MB %.1f\n", static_cast<double>(peakKilobytes) / 1024.0);
  return 0;
}
