#pragma once
// What the picture renderings share: the guarded file steps and the copies of
// the work page onto the visible page that show drawing as it goes on.
#include <cstdint>

namespace quillon {

inline constexpr int32_t kBackgroundPass = 0;
inline constexpr int32_t kThumbnailPass = 1;
inline constexpr int32_t kFullPicturePass = 2;

// Ends the program at `location` when a file step reported an error.
void guardFileStep(int32_t error, int32_t location);
// Copies the work page onto the visible page and tells the observer.
void showDrawingSoFar(int32_t pass, int64_t row);

}  // namespace quillon
