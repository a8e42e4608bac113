// A page's picture, drawn twice from its file: as an 8 x 8 thumbnail in the
// page's cell of the map page, and at full size centred on the background.
#include <algorithm>
#include <array>

#include "data/picture.h"
#include "data/picture_drawing.h"
#include "data/record_reader.h"
#include "data/video_page_roles.h"
#include "display/framebuffer.h"

namespace quillon {
namespace {

constexpr int32_t kMapColumns = 40;
constexpr int64_t kProgressRowStep = 4;
constexpr int32_t kMissingPixelColour = 0;  // what a read past the file's end gives
constexpr int32_t kBlackCell = 0;

// Keeps a coordinate within one pixel of the page: whether a point or a box
// touches the page stays the same, and the value converts to float exactly.
float nearPage(int64_t value, int32_t size) {
  return static_cast<float>(std::clamp<int64_t>(value, -1, size));
}

void drawBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t colour) {
  fillBox(nearPage(x1, kScreenWidth), nearPage(y1, kScreenHeight), nearPage(x2, kScreenWidth),
          nearPage(y2, kScreenHeight), colour);
}

// The thumbnail: each pixel fills its block of the 8 x 8 cell at (cx, cy).
// A block's edges take exact 64-bit-significand arithmetic, so the spans of
// the first columns are worked out once per pass and the rows' once per row
// rather than for every pixel.
struct ThumbnailPainter {
  static constexpr int32_t kRememberedColumns = 1024;

  ThumbnailPainter(int64_t cellX, int64_t cellY, int32_t width, int32_t height)
      : cx(cellX), cy(cellY), XS(width), YS(height) {
    const int32_t remembered = std::clamp(XS, 0, kRememberedColumns);
    for (int32_t T = 1; T <= remembered; ++T) {
      columnSpans[static_cast<std::size_t>(T - 1)] = thumbnailBlock(T, XS);
    }
  }

  int64_t cx;
  int64_t cy;
  int32_t XS;
  int32_t YS;

  void pixel(int64_t T, int64_t TT, int32_t R) const {
    const BlockSpan across = column(T);
    const BlockSpan down = row(TT);
    drawBox(cx + across.first - 1, cy + down.first - 1, cx + across.last - 1, cy + down.last - 1,
            R);
  }
  // Blocks only grow with the column and row and neighbours share their edges,
  // so the blocks of a run of columns and rows cover one rectangle.
  void blocks(int64_t firstT, int64_t lastT, int64_t firstTT, int64_t lastTT,
              int32_t colour) const {
    const BlockSpan left = column(firstT);
    const BlockSpan right = column(lastT);
    const BlockSpan top = row(firstTT);
    const BlockSpan bottom = row(lastTT);
    drawBox(cx + left.first - 1, cy + top.first - 1, cx + right.last - 1, cy + bottom.last - 1,
            colour);
  }

 private:
  BlockSpan column(int64_t T) const {
    if (T >= 1 && T <= std::min(XS, kRememberedColumns)) {
      return columnSpans[static_cast<std::size_t>(T - 1)];
    }
    return thumbnailBlock(static_cast<int32_t>(T), XS);
  }
  BlockSpan row(int64_t TT) const {
    if (TT != spanRow) {
      rowSpan = thumbnailBlock(static_cast<int32_t>(TT), YS);
      spanRow = TT;
    }
    return rowSpan;
  }

  std::array<BlockSpan, kRememberedColumns> columnSpans{};
  // The row whose span was worked out last; the painter is used row by row.
  mutable int64_t spanRow = 0;
  mutable BlockSpan rowSpan{};
};

// The full picture: pixel (T, TT) lands at (left + T - 1, top + TT - 1).
struct FullPicturePainter {
  int64_t left;
  int64_t top;

  void pixel(int64_t T, int64_t TT, int32_t R) const {
    const int64_t x = left + T - 1;
    const int64_t y = top + TT - 1;
    // A point off the page would be left out by setPixel anyway.
    if (x < 0 || x >= kScreenWidth || y < 0 || y >= kScreenHeight) return;
    setPixel(static_cast<float>(x), static_cast<float>(y), R);
  }
  void blocks(int64_t firstT, int64_t lastT, int64_t firstTT, int64_t lastTT,
              int32_t colour) const {
    drawBox(left + firstT - 1, top + firstTT - 1, left + lastT - 1, top + lastTT - 1, colour);
  }
};

// A picture of more than 576 pixels is shown every fourth row; the product
// wraps as a 32-bit integer.
bool showsProgress(int32_t XS, int32_t YS) {
  const auto product = static_cast<int32_t>(static_cast<uint32_t>(XS) * static_cast<uint32_t>(YS));
  return product > kProgressPixelLimit;
}

// Finishes a pass whose file has no more fields, from pixel (T0, TT0) on.
// Every remaining pixel reads as colour 0, so the rest of the pass is one
// colour-0 rectangle per stretch of rows, and the visible page gets only the
// last copy the progress rule would have made: the same pages as drawing
// pixel by pixel, without spending hours on a size the file does not fill.
template <typename Painter>
void finishWithMissingPixels(const Painter& painter, int32_t XS, int32_t YS, int64_t T0,
                             int64_t TT0, int32_t pass) {
  const auto paintRows = [&](int64_t first, int64_t last) {
    if (XS > 0 && first <= last) painter.blocks(1, XS, first, last, kMissingPixelColour);
  };
  if (XS > 0 && T0 <= XS) painter.blocks(T0, XS, TT0, TT0, kMissingPixelColour);
  const int64_t lastShownRow = showsProgress(XS, YS) ? YS / kProgressRowStep * kProgressRowStep : 0;
  if (lastShownRow >= TT0) {
    paintRows(TT0 + 1, lastShownRow);
    showDrawingSoFar(pass, lastShownRow);
    paintRows(lastShownRow + 1, YS);
  } else {
    paintRows(TT0 + 1, YS);
  }
}

// Reads the picture row by row from the top, each row from the left; -1 is
// transparent. The counters are 64-bit so that a size of 2147483647 ends.
template <typename Painter>
void drawPass(const Painter& painter, int32_t XS, int32_t YS, int32_t pass) {
  if (YS <= 0) return;
  if (XS <= 0) {
    // Rows without pixels: only the progress rule can act.
    finishWithMissingPixels(painter, XS, YS, 1, 1, pass);
    return;
  }
  const bool progress = showsProgress(XS, YS);
  for (int64_t TT = 1; TT <= YS; ++TT) {
    for (int64_t T = 1; T <= XS; ++T) {
      if (slotAtEnd(kPictureSlot)) {
        finishWithMissingPixels(painter, XS, YS, T, TT, pass);
        return;
      }
      const int32_t R = readInteger(kPictureSlot);
      if (R != kTransparent) painter.pixel(T, TT, R);
    }
    if (progress && TT % kProgressRowStep == 0) showDrawingSoFar(pass, TT);
  }
}

// The cell of page PL on the 40-column map; integer division truncates.
ThumbnailPainter thumbnailFor(int32_t PL, int32_t XS, int32_t YS) {
  const int64_t page = PL;
  return ThumbnailPainter(AA * (page % kMapColumns), DD * (page / kMapColumns), XS, YS);
}

// The picture's top-left pixel lies at (XP - floor(XS / 2), YP - floor(YS / 2)).
FullPicturePainter fullPictureFor(int32_t XS, int32_t YS) {
  const auto halfDown = [](int64_t size) { return size >= 0 ? size / 2 : -((1 - size) / 2); };
  return FullPicturePainter{XP - halfDown(XS), YP - halfDown(YS)};
}

}  // namespace

void drawPagePicture(int32_t PL, const std::string& F2, int32_t XX, int32_t YY,
                     CountVisit countVisit, void* context) {
  guardFileStep(closeSlot(kPictureSlot), kLocationClosePictureSlot);
  copyPage(kMapPage, kWorkPage);
  if (countVisit != nullptr) countVisit(context);

  const std::string FL = F2;
  int32_t XS = XX;
  int32_t YS = YY;
  applySizeFromName(FL, XS, YS);
  const std::string path = picturePath(FL);

  const ThumbnailPainter thumbnail = thumbnailFor(PL, XS, YS);
  drawBox(thumbnail.cx, thumbnail.cy, thumbnail.cx + AA - 1, thumbnail.cy + DD - 1, kBlackCell);
  guardFileStep(openForInput(path, kPictureSlot), kLocationOpenPicture);
  drawPass(thumbnail, XS, YS, kThumbnailPass);
  copyPage(kWorkPage, kMapPage);
  guardFileStep(closeSlot(kPictureSlot), kLocationClosePicture);

  copyPage(kBackgroundPage, kWorkPage);
  guardFileStep(openForInput(path, kPictureSlot), kLocationOpenPicture);
  drawPass(fullPictureFor(XS, YS), XS, YS, kFullPicturePass);
  guardFileStep(closeSlot(kPictureSlot), kLocationClosePicture);
}

}  // namespace quillon
