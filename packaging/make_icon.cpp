// Writes the window icon as an RGBA PNG of a given size, for the desktop
// icon theme: `make_icon SIZE FILE`. The icon is pixel art, so it is scaled
// by picking the nearest pixel; sizes that are multiples of 16 stay sharp.
#include <png.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <string_view>
#include <vector>

#include "display/sdl/sdl_icon.h"

namespace {

constexpr int kLargestSize = 1024;

bool parseSize(std::string_view text, int& size) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
  return error == std::errc() && end == text.data() + text.size() && size > 0 &&
         size <= kLargestSize;
}

// The ARGB8888 surface as straight RGBA bytes, scaled to size x size.
std::vector<uint8_t> scaledRgba(const SDL_Surface& icon, int size) {
  std::vector<uint8_t> rgba;
  rgba.reserve(static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * 4);
  const auto* pixels = static_cast<const uint8_t*>(icon.pixels);
  for (int y = 0; y < size; ++y) {
    const int sourceY = y * icon.h / size;
    for (int x = 0; x < size; ++x) {
      const int sourceX = x * icon.w / size;
      uint32_t argb = 0;
      std::memcpy(&argb, pixels + sourceY * icon.pitch + sourceX * 4, sizeof argb);
      rgba.push_back(static_cast<uint8_t>(argb >> 16));
      rgba.push_back(static_cast<uint8_t>(argb >> 8));
      rgba.push_back(static_cast<uint8_t>(argb));
      rgba.push_back(static_cast<uint8_t>(argb >> 24));
    }
  }
  return rgba;
}

}  // namespace

int main(int argc, char** argv) {
  int size = 0;
  if (argc != 3 || !parseSize(argv[1], size)) {
    std::cerr << "usage: make_icon SIZE FILE (SIZE from 1 to " << kLargestSize << ")\n";
    return 2;
  }
  SDL_Surface* icon = quillon::createWindowIcon();
  if (icon == nullptr) {
    std::cerr << "make_icon: the icon could not be drawn: " << SDL_GetError() << "\n";
    return 1;
  }
  SDL_LockSurface(icon);
  const std::vector<uint8_t> rgba = scaledRgba(*icon, size);
  SDL_UnlockSurface(icon);
  SDL_FreeSurface(icon);

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(size);
  image.height = static_cast<png_uint_32>(size);
  image.format = PNG_FORMAT_RGBA;
  if (png_image_write_to_file(&image, argv[2], 0, rgba.data(), 0, nullptr) == 0) {
    std::cerr << "make_icon: could not write " << argv[2] << ": " << image.message << "\n";
    return 1;
  }
  return 0;
}
