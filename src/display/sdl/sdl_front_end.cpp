#include "display/sdl/sdl_front_end.h"

#include <SDL.h>

#include <string_view>

#include "display/sdl/sdl_presenter_loop.h"
#include "display/sdl/sdl_subsystems.h"
#include "errors/fault_handlers.h"

namespace quillon {
namespace {

static_assert(std::atomic<bool>::is_always_lock_free,
              "closeFromSignal clears the running flag inside a signal handler");

void setPresenterHints() {
  // The program's own handlers report SIGINT and SIGTERM.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The screen saver is switched off explicitly while a window is open, so
  // that its setting can be saved and restored.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // Closing the window only queues the close key.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_WINDOWS_NO_CLOSE_ON_ALT_F4, "1");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // The window surface is X11's own shared-memory image; letting SDL back it
  // with a GL texture would load the GL driver (with Mesa's software
  // rasteriser about 60 MB of LLVM) for one 320 x 200 image.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // GL drivers keep shader caches on disk (Mesa below ~/.cache, NVIDIA below
  // ~/.nv); the player writes no files, and its one texture needs no cache.
  // A setting the user made stays.
  SDL_setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
  SDL_setenv("__GL_SHADER_DISK_CACHE", "0", 0);
}

// SDL falls back to video drivers that show nothing when no display server
// can be reached; for the player that means no window can be opened.
bool showsWindows(const char* driver) {
  if (driver == nullptr) {
    return false;
  }
  const std::string_view name(driver);
  return name != "offscreen" && name != "dummy" && name != "evdev";
}

}  // namespace

SdlFrontEnd::SdlFrontEnd() : order_(kSdlBackEndOrder.begin(), kSdlBackEndOrder.end()) {}

SdlFrontEnd::SdlFrontEnd(std::vector<SdlBackEnd> order) : order_(std::move(order)) {}

SdlFrontEnd::~SdlFrontEnd() { closeWindow(); }

int32_t SdlFrontEnd::openWindow(const std::string& title, int32_t width, int32_t height,
                                int32_t /*depth: the image is always converted to RGB*/,
                                bool fullScreen) {
  closeWindow();
  // Every back end windowed first (unless full screen was asked for), then
  // every back end in full screen.
  for (const bool presentFullScreen : {false, true}) {
    if (fullScreen && !presentFullScreen) {
      continue;
    }
    for (const SdlBackEnd backEnd : order_) {
      if (startPresenter(title, width, height, backEnd, presentFullScreen)) {
        return 0;
      }
    }
  }
  return 1;
}

bool SdlFrontEnd::startPresenter(const std::string& title, int32_t width, int32_t height,
                                 SdlBackEnd backEnd, bool fullScreen) {
  {
    std::lock_guard<std::mutex> lock(startMutex_);
    start_ = Start::Pending;
  }
  running_.store(true);
  thread_ =
      std::thread(&SdlFrontEnd::presenterThread, this, title, width, height, backEnd, fullScreen);
  std::unique_lock<std::mutex> lock(startMutex_);
  startChanged_.wait(lock, [this] { return start_ != Start::Pending; });
  if (start_ == Start::Ready) {
    backEnd_ = backEnd;
    fullScreen_ = fullScreen;
    return true;
  }
  lock.unlock();
  thread_.join();
  running_.store(false);
  return false;
}

void SdlFrontEnd::reportStart(Start start) {
  {
    std::lock_guard<std::mutex> lock(startMutex_);
    start_ = start;
  }
  startChanged_.notify_all();
}

void SdlFrontEnd::presenterThread(std::string title, int32_t width, int32_t height,
                                  SdlBackEnd backEnd, bool fullScreen) {
  prepareThreadForFaults();
  setPresenterHints();
  if (!initSdlSubsystem(SDL_INIT_VIDEO)) {
    reportStart(Start::Failed);
    return;
  }
  if (!showsWindows(SDL_GetCurrentVideoDriver())) {
    quitSdlSubsystem(SDL_INIT_VIDEO);
    reportStart(Start::Failed);
    return;
  }
  {
    SdlWindow window;
    if (!window.open(title, width, height, backEnd, fullScreen)) {
      window.close();
      quitSdlSubsystem(SDL_INIT_VIDEO);
      reportStart(Start::Failed);
      return;
    }
    const bool screenSaverWasOn = SDL_IsScreenSaverEnabled() == SDL_TRUE;
    SDL_DisableScreenSaver();
    SDL_StartTextInput();
    reportStart(Start::Ready);

    runPresenterLoop(window, running_);

    window.close();
    if (screenSaverWasOn) {
      SDL_EnableScreenSaver();
    }
  }
  quitSdlSubsystem(SDL_INIT_VIDEO);
}

void SdlFrontEnd::closeWindow() {
  if (!thread_.joinable()) {
    return;
  }
  running_.store(false);
  thread_.join();
}

void SdlFrontEnd::beep() { bell_.ring(); }

void SdlFrontEnd::closeFromSignal() {
  // Only a lock-free store: the presenter stops at its next pass. Nothing else
  // needs undoing, since the display server drops the window and the screen
  // saver suspension with the process's connection.
  running_.store(false);
}

}  // namespace quillon
