#pragma once
// The fixed roles of the video pages, shared by the picture renderings and
// the story player.
#include <cstdint>

namespace quillon {

inline constexpr int32_t kVisiblePage = 0;
inline constexpr int32_t kWorkPage = 1;
inline constexpr int32_t kMapPage = 2;
inline constexpr int32_t kBackgroundPage = 3;
inline constexpr int32_t kComposedPage = 4;

}  // namespace quillon
