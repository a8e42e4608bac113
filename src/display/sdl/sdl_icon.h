#pragma once
// The window icon: a quill over an open book, drawn in code.
#include <SDL.h>

namespace quillon {

// A new 32 x 32 ARGB surface with the icon, or nullptr; the caller frees it.
SDL_Surface* createWindowIcon();

}  // namespace quillon
