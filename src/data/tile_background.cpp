// The tiled background: one small picture repeated over the whole work page at
// start-up, shown tile row by tile row.
#include "data/picture.h"
#include "data/picture_drawing.h"
#include "data/record_reader.h"
#include "data/video_page_roles.h"
#include "display/framebuffer.h"

namespace quillon {
namespace {

constexpr int32_t kBackgroundSlot = 1;
constexpr int32_t kBackgroundTileSize = 24;
constexpr int32_t kTiledPages[] = {kVisiblePage, kMapPage, kBackgroundPage};

}  // namespace

void tileBackground() {
  int32_t XX = kBackgroundTileSize;
  int32_t YY = kBackgroundTileSize;
  const std::string FL = kBackgroundName;
  guardFileStep(closeSlot(kBackgroundSlot), kLocationCloseBeforeBackground);
  guardFileStep(openForInput(picturePath(FL), kBackgroundSlot), kLocationOpenBackground);
  applySizeFromName(FL, XX, YY);

  // The name fixes the tile at 24 x 24; a tile without area could not be
  // stepped across the page.
  if (XX > 0 && YY > 0) {
    for (int64_t TT = 1; TT <= YY; ++TT) {
      for (int64_t T = 1; T <= XX; ++T) {
        const int32_t R = readInteger(kBackgroundSlot);
        if (R == kTransparent) continue;
        // Every tile gets the pixel at once, so all tiles grow together.
        for (int64_t T2 = 0; T2 < kScreenHeight; T2 += YY) {
          for (int64_t T1 = 0; T1 < kScreenWidth; T1 += XX) {
            setPixel(static_cast<float>(T + T1 - 1), static_cast<float>(TT + T2 - 1), R);
          }
        }
      }
      showDrawingSoFar(kBackgroundPass, TT);
    }
  }

  for (const int32_t page : kTiledPages) copyPage(kWorkPage, page);
  guardFileStep(closeSlot(kBackgroundSlot), kLocationCloseAfterBackground);
}

}  // namespace quillon
