#pragma once
// The window front end on SDL. Each opening starts a presenter thread that
// initialises SDL video, creates the window and then owns it: it shows the
// visible page and turns window and keyboard events into key codes.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "display/front_end.h"
#include "display/sdl/sdl_bell.h"
#include "display/sdl/sdl_window.h"

namespace quillon {

class SdlFrontEnd : public FrontEnd {
 public:
  SdlFrontEnd();
  // Tries only these back ends, in this order (tests try each one alone).
  explicit SdlFrontEnd(std::vector<SdlBackEnd> order);
  SdlFrontEnd(const SdlFrontEnd&) = delete;
  SdlFrontEnd& operator=(const SdlFrontEnd&) = delete;
  ~SdlFrontEnd() override;

  int32_t openWindow(const std::string& title, int32_t width, int32_t height, int32_t depth,
                     bool fullScreen) override;
  void closeWindow() override;
  void beep() override;
  void closeFromSignal() override;

  // The back end and presentation the open window started with.
  SdlBackEnd backEnd() const { return backEnd_; }
  bool startedFullScreen() const { return fullScreen_; }

 private:
  enum class Start { Pending, Ready, Failed };

  bool startPresenter(const std::string& title, int32_t width, int32_t height, SdlBackEnd backEnd,
                      bool fullScreen);
  void presenterThread(std::string title, int32_t width, int32_t height, SdlBackEnd backEnd,
                       bool fullScreen);
  void reportStart(Start start);

  std::vector<SdlBackEnd> order_;
  std::thread thread_;
  // Lock-free, so the fatal-signal path may clear it.
  std::atomic<bool> running_{false};
  std::mutex startMutex_;
  std::condition_variable startChanged_;
  Start start_ = Start::Pending;
  SdlBackEnd backEnd_ = SdlBackEnd::AcceleratedRenderer;
  bool fullScreen_ = false;
  SdlBell bell_;
};

}  // namespace quillon
