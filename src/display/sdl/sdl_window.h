#pragma once
// One window of the presenter thread, shown through one of the presentation
// back ends. Every call is made on the thread that opened it.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "display/presenter.h"

namespace quillon {

enum class SdlBackEnd { AcceleratedRenderer, SoftwareRenderer, WindowSurface };

// The order in which the back ends are tried, windowed and then full-screen.
// The plain window surface comes first: a 320 x 200 image needs no GPU, and
// the renderers load a GL driver that costs memory and start-up time.
inline constexpr std::array<SdlBackEnd, 3> kSdlBackEndOrder = {
    SdlBackEnd::WindowSurface, SdlBackEnd::SoftwareRenderer, SdlBackEnd::AcceleratedRenderer};

class SdlWindow {
 public:
  SdlWindow() = default;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;
  ~SdlWindow() { close(); }

  // Creates the window, centred on the display under the mouse pointer, and
  // shows it. False (with everything released) when the back end can't.
  bool open(const std::string& title, int32_t width, int32_t height, SdlBackEnd backEnd,
            bool fullScreen);
  void close();

  // Draws the rows `span` of the width x height 0x00RRGGBB image and shows
  // the window; the whole window when the span covers every row.
  void present(const std::vector<uint32_t>& image, RowSpan span);

  // Switches between the window and desktop full screen; a switch that fails
  // returns to the presentation before it. True when the switch was made.
  bool toggleFullScreen();
  // Puts a maximised window back to its own size.
  void restore();

  bool fullScreen() const { return fullScreen_; }
  Uint32 id() const { return window_ == nullptr ? 0 : SDL_GetWindowID(window_); }

 private:
  bool createPresentation();
  void presentWithRenderer(const std::vector<uint32_t>& image, RowSpan span);
  void presentWithSurface(const std::vector<uint32_t>& image, RowSpan span);

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Cursor* cursor_ = nullptr;
  SdlBackEnd backEnd_ = SdlBackEnd::AcceleratedRenderer;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool fullScreen_ = false;
};

}  // namespace quillon
