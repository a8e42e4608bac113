// The close request of a window manager: a WM_DELETE_WINDOW client message.
// Xlib is loaded at run time, so the tests need no X development files to link.
#include <dlfcn.h>

#include <cstdlib>

#include "window/xvfb_session.h"

// Last: Xlib defines macros (None, Status, Bool) that would clash above.
#include <X11/Xlib.h>

namespace quillon::window_test {

bool sendCloseRequest(const std::string& display, const std::string& window) {
  void* library = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    return false;
  }
  using OpenDisplay = Display* (*)(const char*);
  using InternAtom = Atom (*)(Display*, const char*, Bool);
  using SendEvent = Status (*)(Display*, Window, Bool, long, XEvent*);
  using Sync = int (*)(Display*, Bool);
  using CloseDisplay = int (*)(Display*);
  const auto openDisplay = reinterpret_cast<OpenDisplay>(dlsym(library, "XOpenDisplay"));
  const auto internAtom = reinterpret_cast<InternAtom>(dlsym(library, "XInternAtom"));
  const auto sendEvent = reinterpret_cast<SendEvent>(dlsym(library, "XSendEvent"));
  const auto sync = reinterpret_cast<Sync>(dlsym(library, "XSync"));
  const auto closeDisplay = reinterpret_cast<CloseDisplay>(dlsym(library, "XCloseDisplay"));
  bool sent = false;
  if (openDisplay != nullptr && internAtom != nullptr && sendEvent != nullptr && sync != nullptr &&
      closeDisplay != nullptr) {
    if (Display* connection = openDisplay(display.c_str())) {
      const auto id = static_cast<Window>(std::strtoul(window.c_str(), nullptr, 0));
      XEvent event{};
      event.xclient.type = ClientMessage;
      event.xclient.window = id;
      event.xclient.message_type = internAtom(connection, "WM_PROTOCOLS", False);
      event.xclient.format = 32;
      event.xclient.data.l[0] =
          static_cast<long>(internAtom(connection, "WM_DELETE_WINDOW", False));
      event.xclient.data.l[1] = CurrentTime;
      sent = sendEvent(connection, id, False, NoEventMask, &event) != 0;
      sync(connection, False);
      closeDisplay(connection);
    }
  }
  dlclose(library);
  return sent;
}

}  // namespace quillon::window_test
