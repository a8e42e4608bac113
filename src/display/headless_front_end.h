#pragma once
// A front end with no window and no display server: its presenter keeps the
// RGB image a window would show. Tests and tools feed it keys.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "display/front_end.h"
#include "display/presenter.h"

namespace quillon {

class HeadlessFrontEnd : public FrontEnd {
 public:
  // With `threaded`, a presenter thread runs a pass about every 10 ms, as a
  // window's would; otherwise passes run only through presentNow().
  explicit HeadlessFrontEnd(bool threaded = false);
  ~HeadlessFrontEnd() override;

  int32_t openWindow(const std::string& title, int32_t width, int32_t height, int32_t depth,
                     bool fullScreen) override;
  void closeWindow() override;
  void beep() override { ++beeps_; }

  // Runs one presentation pass now and returns the presented image.
  const std::vector<uint32_t>& presentNow();
  const Presenter& presenter() const { return presenter_; }
  bool isOpen() const { return open_; }
  int32_t beeps() const { return beeps_; }
  int32_t opens() const { return opens_; }
  const std::string& title() const { return title_; }
  int32_t windowWidth() const { return width_; }
  int32_t windowHeight() const { return height_; }
  // Makes the next openWindow fail, as a machine without a display would.
  void failNextOpen(bool fail) { failNextOpen_ = fail; }

 private:
  void presenterLoop();

  Presenter presenter_;
  std::thread thread_;
  std::atomic<bool> running_{false};
  bool threaded_ = false;
  bool open_ = false;
  bool failNextOpen_ = false;
  int32_t beeps_ = 0;
  int32_t opens_ = 0;
  std::string title_;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace quillon
