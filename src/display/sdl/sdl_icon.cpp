#include "display/sdl/sdl_icon.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quillon {
namespace {

constexpr int kArtSize = 16;
constexpr int kScale = 2;
constexpr int kIconSize = kArtSize * kScale;

// One character per pixel; the legend below gives the colours.
constexpr std::array<std::string_view, kArtSize> kIconArt = {
    "............kkk.",  //
    "...........kfffk",  //
    "..........kffvfk",  //
    ".........kffvfk.",  //
    "........kffvfk..",  //
    ".......kffvfk...",  //
    "......kffvfk....",  //
    "......kfvfk.....",  //
    ".....kvfkk......",  //
    ".kkkkknkkkkkkkk.",  //
    "kwwwwknkwwwwwwwk",  //
    "kwggggwkwggggwwk",  //
    "kwwwwwwkwwwwwwwk",  //
    "kwgggwwkwgggggwk",  //
    "krrrrrrkrrrrrrrk",  //
    ".kkkkkkkkkkkkkk.",  //
};

constexpr bool artIsSquare() {
  for (std::string_view row : kIconArt) {
    if (row.size() != kArtSize) {
      return false;
    }
  }
  return true;
}
static_assert(artIsSquare(), "every row of the icon has one character per pixel");

uint32_t colourOf(char c) {
  switch (c) {
    case 'k':
      return 0xFF2C1E14u;  // outline, dark brown
    case 'f':
      return 0xFFF0F4FFu;  // feather
    case 'v':
      return 0xFF96AAD2u;  // feather shaft
    case 'n':
      return 0xFF1E1E28u;  // nib
    case 'w':
      return 0xFFF2E8C8u;  // paper
    case 'g':
      return 0xFF96826Eu;  // lines of writing
    case 'r':
      return 0xFF962832u;  // binding
    default:
      return 0x00000000u;  // transparent
  }
}

}  // namespace

SDL_Surface* createWindowIcon() {
  SDL_Surface* icon =
      SDL_CreateRGBSurfaceWithFormat(0, kIconSize, kIconSize, 32, SDL_PIXELFORMAT_ARGB8888);
  if (icon == nullptr) {
    return nullptr;
  }
  SDL_LockSurface(icon);
  auto* pixels = static_cast<uint8_t*>(icon->pixels);
  for (int y = 0; y < kIconSize; ++y) {
    uint8_t* row = pixels + y * icon->pitch;
    const std::string_view art = kIconArt[static_cast<std::size_t>(y / kScale)];
    for (int x = 0; x < kIconSize; ++x) {
      const uint32_t colour = colourOf(art[static_cast<std::size_t>(x / kScale)]);
      std::memcpy(row + x * 4, &colour, sizeof colour);
    }
  }
  SDL_UnlockSurface(icon);
  return icon;
}

}  // namespace quillon
