#pragma once
// Picture files and their renderings: the tiled background, the map
// thumbnail and the full picture of a page.
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

inline constexpr int32_t kPictureSlot = 3;
inline constexpr const char* kBackgroundName = "bkgd2424.VIS";
inline constexpr int32_t XP = 159;  // pixel at which page pictures are centred
inline constexpr int32_t YP = 85;
inline constexpr int32_t AA = 8;  // map cell width and height
inline constexpr int32_t DD = 8;
inline constexpr int32_t kTransparent = -1;
inline constexpr int32_t kProgressPixelLimit = 576;

inline constexpr int32_t kLocationCloseBeforeBackground = 31;
inline constexpr int32_t kLocationOpenBackground = 32;
inline constexpr int32_t kLocationCloseAfterBackground = 42;
inline constexpr int32_t kLocationClosePictureSlot = 83;
inline constexpr int32_t kLocationOpenPicture = 94;
inline constexpr int32_t kLocationClosePicture = 116;

// "sprites\" + name.
std::string picturePath(std::string_view name);
// Size-from-name rule: a 12-character name ending ".VIS" gives its size from
// characters 5-6 and 7-8; otherwise width and height stay as given.
void applySizeFromName(std::string_view name, int32_t& width, int32_t& height);

// Span of a thumbnail block inside the 8-pixel cell, 1..8 both ends.
struct BlockSpan {
  int32_t first = 1;
  int32_t last = 1;
};
// Block of picture column (or row) `index` (1..size) of a picture `size` wide.
BlockSpan thumbnailBlock(int32_t index, int32_t size);

// Tiles "sprites\bkgd2424.VIS" over the work page and copies it to pages 0, 2, 3.
void tileBackground();

// Told after each copy of the work page onto the visible page made while a
// picture is drawn: pass 0 for the background's tile rows, 1 for the map
// thumbnail and 2 for the full picture, with the row just finished. When the
// rest of a picture file is missing, its remaining rows are drawn at once and
// only the last copy they would have made is made and told. Lets tools and
// tests follow what the window shows during drawing; nullptr for none.
using VisibleCopyObserver = void (*)(void* context, int32_t pass, int64_t row);
void setVisibleCopyObserver(VisibleCopyObserver observer, void* context);

// Called by drawPagePicture after the map page is copied to the work page
// and before anything is drawn: the player's visit count.
using CountVisit = void (*)(void* context);

// Draws the thumbnail of page PL on the map page and the full picture on a
// fresh copy of the background in the work page.
void drawPagePicture(int32_t PL, const std::string& F2, int32_t XX, int32_t YY,
                     CountVisit countVisit, void* context);

}  // namespace quillon
