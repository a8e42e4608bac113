#include "display/sdl/sdl_window.h"

#include <algorithm>

#include "display/sdl/sdl_icon.h"
#include "display/sdl/sdl_layout.h"

namespace quillon {
namespace {

constexpr int kBytesPerPixel = 4;

Uint32 fullScreenFlags(bool fullScreen) {
  return fullScreen ? static_cast<Uint32>(SDL_WINDOW_FULLSCREEN_DESKTOP) : 0u;
}

// SDL_WINDOWPOS_CENTERED_DISPLAY without its mix of signed and unsigned.
int centredOnDisplay(int display) {
  return static_cast<int>(SDL_WINDOWPOS_CENTERED_MASK | static_cast<Uint32>(display));
}

int displayUnderPointer() {
  int x = 0;
  int y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  std::vector<ScreenRect> displays;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(i, &bounds) != 0) {
      bounds = SDL_Rect{};
    }
    displays.push_back(ScreenRect{bounds.x, bounds.y, bounds.w, bounds.h});
  }
  return displayHoldingPoint(displays, x, y);
}

SDL_Rect toSdl(const ScreenRect& r) { return SDL_Rect{r.x, r.y, r.w, r.h}; }

}  // namespace

bool SdlWindow::open(const std::string& title, int32_t width, int32_t height, SdlBackEnd backEnd,
                     bool fullScreen) {
  close();
  backEnd_ = backEnd;
  width_ = width;
  height_ = height;
  fullScreen_ = fullScreen;
  const int display = displayUnderPointer();
  window_ = SDL_CreateWindow(title.c_str(), centredOnDisplay(display), centredOnDisplay(display),
                             width, height, SDL_WINDOW_HIDDEN | fullScreenFlags(fullScreen));
  if (window_ == nullptr || !createPresentation()) {
    close();
    return false;
  }
  SDL_SetWindowMinimumSize(window_, width, height);
  SDL_SetWindowMaximumSize(window_, width, height);
  // After the renderer, which may have re-created the window.
  if (SDL_Surface* icon = createWindowIcon(); icon != nullptr) {
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
  }
  cursor_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  if (cursor_ != nullptr) {
    SDL_SetCursor(cursor_);
  }
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  return true;
}

bool SdlWindow::createPresentation() {
  switch (backEnd_) {
    case SdlBackEnd::AcceleratedRenderer:
    case SdlBackEnd::SoftwareRenderer: {
      const Uint32 flags = backEnd_ == SdlBackEnd::AcceleratedRenderer ? SDL_RENDERER_ACCELERATED
                                                                       : SDL_RENDERER_SOFTWARE;
      renderer_ = SDL_CreateRenderer(window_, -1, flags);
      if (renderer_ == nullptr) {
        return false;
      }
      texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                   width_, height_);
      return texture_ != nullptr;
    }
    case SdlBackEnd::WindowSurface:
      return SDL_GetWindowSurface(window_) != nullptr;
  }
  return false;
}

void SdlWindow::close() {
  if (texture_ != nullptr) {
    SDL_DestroyTexture(texture_);
    texture_ = nullptr;
  }
  if (renderer_ != nullptr) {
    SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
  }
  if (window_ != nullptr) {
    SDL_DestroyWindow(window_);  // also leaves full screen
    window_ = nullptr;
  }
  if (cursor_ != nullptr) {
    SDL_FreeCursor(cursor_);
    cursor_ = nullptr;
  }
}

void SdlWindow::present(const std::vector<uint32_t>& image, RowSpan span) {
  if (window_ == nullptr ||
      image.size() != static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
    return;
  }
  if (!span.empty()) {
    span.first = std::max(span.first, 0);
    span.last = std::min(span.last, height_ - 1);
  }
  if (renderer_ != nullptr) {
    presentWithRenderer(image, span);
  } else {
    presentWithSurface(image, span);
  }
}

void SdlWindow::presentWithRenderer(const std::vector<uint32_t>& image, RowSpan span) {
  if (!span.empty()) {
    const SDL_Rect rows{0, span.first, width_, span.last - span.first + 1};
    SDL_UpdateTexture(
        texture_, &rows,
        image.data() + static_cast<std::size_t>(span.first) * static_cast<std::size_t>(width_),
        width_ * kBytesPerPixel);
  }
  int outputWidth = width_;
  int outputHeight = height_;
  SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
  const SDL_Rect target = toSdl(integerScaledRect(width_, height_, outputWidth, outputHeight));
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, SDL_ALPHA_OPAQUE);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, &target);
  SDL_RenderPresent(renderer_);
}

void SdlWindow::presentWithSurface(const std::vector<uint32_t>& image, RowSpan span) {
  SDL_Surface* target = SDL_GetWindowSurface(window_);
  if (target == nullptr || span.empty()) {
    return;
  }
  // The image is only read; SDL's surface type just has no const variant.
  SDL_Surface* source =
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(image.data()), width_, height_, 32,
                                         width_ * kBytesPerPixel, SDL_PIXELFORMAT_RGB888);
  if (source == nullptr) {
    return;
  }
  const ScreenRect placed = integerScaledRect(width_, height_, target->w, target->h);
  const int factor = placed.w / width_;
  const bool whole = span.first == 0 && span.last == height_ - 1;
  if (whole) {
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
  }
  SDL_Rect from{0, span.first, width_, span.last - span.first + 1};
  SDL_Rect to{placed.x, placed.y + span.first * factor, from.w * factor, from.h * factor};
  if (factor == 1) {
    SDL_BlitSurface(source, &from, target, &to);
  } else {
    SDL_BlitScaled(source, &from, target, &to);
  }
  SDL_FreeSurface(source);
  if (whole) {
    SDL_UpdateWindowSurface(window_);
  } else {
    SDL_UpdateWindowSurfaceRects(window_, &to, 1);
  }
}

bool SdlWindow::toggleFullScreen() {
  if (window_ == nullptr) {
    return false;
  }
  const bool wanted = !fullScreen_;
  if (SDL_SetWindowFullscreen(window_, fullScreenFlags(wanted)) != 0) {
    SDL_SetWindowFullscreen(window_, fullScreenFlags(fullScreen_));
    return false;
  }
  fullScreen_ = wanted;
  if (!wanted) {
    SDL_SetWindowSize(window_, width_, height_);
  }
  return true;
}

void SdlWindow::restore() {
  if (window_ != nullptr) {
    SDL_RestoreWindow(window_);
  }
}

}  // namespace quillon
