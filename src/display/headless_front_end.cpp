// A front end without a window: the presenter keeps the image a window would
// show, on its own thread or on request.
#include "display/headless_front_end.h"

#include <chrono>
#include <mutex>

#include "errors/fault_handlers.h"

namespace quillon {

namespace {

constexpr std::chrono::milliseconds kPassInterval{10};

}  // namespace

HeadlessFrontEnd::HeadlessFrontEnd(bool threaded) : threaded_(threaded) {}

HeadlessFrontEnd::~HeadlessFrontEnd() { closeWindow(); }

int32_t HeadlessFrontEnd::openWindow(const std::string& title, int32_t width, int32_t height,
                                     int32_t /*depth*/, bool /*fullScreen*/) {
  if (failNextOpen_) {
    failNextOpen_ = false;
    return 1;
  }
  closeWindow();
  title_ = title;
  width_ = width;
  height_ = height;
  ++opens_;
  // A new window shows everything afresh.
  presenter_ = Presenter{};
  open_ = true;
  if (threaded_) {
    running_.store(true);
    thread_ = std::thread([this] { presenterLoop(); });
  }
  return 0;
}

void HeadlessFrontEnd::closeWindow() {
  running_.store(false);
  if (thread_.joinable()) {
    thread_.join();
  }
  open_ = false;
}

const std::vector<uint32_t>& HeadlessFrontEnd::presentNow() {
  DisplayLock lock;
  presenter_.presentPassLocked();
  return presenter_.image();
}

void HeadlessFrontEnd::presenterLoop() {
  prepareThreadForFaults();
  while (running_.load()) {
    std::this_thread::sleep_for(kPassInterval);
    std::lock_guard<std::mutex> lock(displayMutex());
    presenter_.presentPassLocked();
  }
}

}  // namespace quillon
