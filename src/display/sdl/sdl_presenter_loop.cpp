#include "display/sdl/sdl_presenter_loop.h"

#include <mutex>
#include <string_view>

#include "display/framebuffer.h"
#include "display/key_queue.h"
#include "display/presenter.h"
#include "display/sdl/sdl_close_request.h"
#include "display/sdl/sdl_keyboard.h"

namespace quillon {
namespace {

class PresenterLoop {
 public:
  explicit PresenterLoop(SdlWindow& window) : window_(window) {}

  void run(const std::atomic<bool>& running) {
    while (running.load()) {
      SDL_Event event;
      const bool gotEvent = SDL_WaitEventTimeout(&event, kPresentationIntervalMs) != 0;
      RowSpan span;
      {
        std::lock_guard<std::mutex> lock(displayMutex());
        if (gotEvent) {
          handle(event);
          while (SDL_PollEvent(&event) != 0) {
            handle(event);
          }
        }
        span = presenter_.presentPassLocked();
      }
      // The image belongs to this thread, so drawing it needs no lock and
      // never holds up the program's drawing.
      if (!span.empty()) {
        window_.present(presenter_.image(), span);
      }
      applyWindowRequests();
    }
  }

 private:
  void handle(const SDL_Event& event) {
    switch (event.type) {
      case SDL_WINDOWEVENT:
        handleWindowEvent(event.window);
        break;
      case SDL_KEYDOWN:
        handleKeyDown(event.key);
        break;
      case SDL_TEXTINPUT:
        queueCodes(textEventCodes(event.text.text, static_cast<uint16_t>(SDL_GetModState())));
        break;
      case SDL_DISPLAYEVENT:
      case SDL_RENDER_TARGETS_RESET:
      case SDL_RENDER_DEVICE_RESET:
        presenter_.markAllChanged();
        break;
      default:
        // Mouse input is not used; SDL_QUIT follows a close request that
        // SDL_WINDOWEVENT_CLOSE has already handled.
        break;
    }
  }

  void handleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
      case SDL_WINDOWEVENT_CLOSE: {
        const Uint8* keys = SDL_GetKeyboardState(nullptr);
        const bool altF4Held = keys[SDL_SCANCODE_F4] != 0 && (SDL_GetModState() & KMOD_ALT) != 0;
        if (closeFilter_.closeRequestQueues(event.timestamp, altF4Held)) {
          queueKeyCodeLocked(kCloseKeyCode);
        }
        break;
      }
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        hasFocus_ = !minimised_;
        presenter_.markAllChanged();
        break;
      case SDL_WINDOWEVENT_FOCUS_LOST:
        hasFocus_ = false;
        presenter_.markAllChanged();
        break;
      case SDL_WINDOWEVENT_MINIMIZED:
        minimised_ = true;
        hasFocus_ = false;
        presenter_.markAllChanged();
        break;
      case SDL_WINDOWEVENT_RESTORED:
        minimised_ = false;
        presenter_.markAllChanged();
        break;
      case SDL_WINDOWEVENT_MAXIMIZED:
        // The maximise button switches to full screen instead.
        restoreRequested_ = true;
        toggleRequested_ = toggleRequested_ || hasFocus_;
        break;
      case SDL_WINDOWEVENT_SHOWN:
      case SDL_WINDOWEVENT_EXPOSED:
      case SDL_WINDOWEVENT_SIZE_CHANGED:
      case SDL_WINDOWEVENT_DISPLAY_CHANGED:
        presenter_.markAllChanged();
        break;
      default:
        break;
    }
  }

  void handleKeyDown(const SDL_KeyboardEvent& key) {
    // SDL sends the text of a press as the event right after its key-down.
    SDL_Event next;
    std::string_view text;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
        next.type == SDL_TEXTINPUT &&
        SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT) == 1) {
      text = next.text.text;
    }
    const KeyPress press{key.keysym.scancode, key.keysym.sym, key.keysym.mod, key.repeat != 0,
                         text};
    const KeyPressOutcome outcome = keyPressOutcome(press);
    queueCodes(outcome.codes);
    switch (outcome.request) {
      case WindowRequest::ToggleFullScreen:
        toggleRequested_ = toggleRequested_ || hasFocus_;
        break;
      case WindowRequest::AltF4:
        closeFilter_.altF4Pressed(key.timestamp);
        break;
      case WindowRequest::None:
        break;
    }
  }

  static void queueCodes(const std::vector<int32_t>& codes) {
    for (int32_t code : codes) {
      queueKeyCodeLocked(code);
    }
  }

  // Window changes wait for the display lock to be released: a switch to
  // full screen can take a while.
  void applyWindowRequests() {
    if (restoreRequested_) {
      restoreRequested_ = false;
      window_.restore();
    }
    if (toggleRequested_) {
      toggleRequested_ = false;
      window_.toggleFullScreen();
      presenter_.markAllChanged();
    }
  }

  SdlWindow& window_;
  Presenter presenter_;
  CloseRequestFilter closeFilter_;
  bool hasFocus_ = true;
  bool minimised_ = false;
  bool toggleRequested_ = false;
  bool restoreRequested_ = false;
};

}  // namespace

void runPresenterLoop(SdlWindow& window, const std::atomic<bool>& running) {
  PresenterLoop loop(window);
  loop.run(running);
}

}  // namespace quillon
