// Picture renderings on arbitrary picture files, sizes and names: the page
// picture (thumbnail and full picture) or the tiled background, drawn on the
// headless display.
//
// Input layout: byte 0 chooses the rendering (low three bits all set: the
// background, which is slow to draw; otherwise the page picture); bytes 1..2
// the page (modulo 1001, so the visit count exists); bytes 3..6 and 7..10 the
// width and height (little-endian, any 32-bit value); byte 11 the length of
// the picture name, which follows; the rest is the picture file. The name is
// made a plain file name of sprites/ so that the file exists and no runtime
// error ends the run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "data/picture.h"
#include "data/record_reader.h"
#include "display/framebuffer.h"
#include "fuzz_support.h"

namespace {

using namespace quillon;

constexpr std::size_t kHeaderBytes = 12;
constexpr int32_t kPages = 1001;
constexpr std::size_t kLongestName = 64;
constexpr int32_t kWork = 1;
constexpr int32_t kMap = 2;
constexpr int32_t kBackground = 3;
constexpr int32_t kTile = 24;

std::vector<uint8_t> gBackground;  // what page 3 holds before each page picture

int32_t int32At(const uint8_t* bytes) {
  uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) bits |= uint32_t{bytes[i]} << (8 * i);
  return static_cast<int32_t>(bits);
}

std::string plainFileName(std::string_view raw) {
  std::string name(raw);
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == '\0') c = '_';
  }
  if (name.empty() || name == "." || name == "..") name = "picture";
  return name;
}

// Pixels of `page` outside [left, right] x [top, bottom] equal the background's.
// Compared a row at a time: whole rows outside the box, else the two spans
// beside it.
void expectBackgroundOutside(int32_t page, int64_t left, int64_t top, int64_t right, int64_t bottom,
                             const char* what) {
  const uint8_t* actual = fuzz::pageBytes(page).data();
  const uint8_t* expected = gBackground.data();
  const auto sameSpan = [&](int64_t y, int64_t from, int64_t to) {
    from = std::max<int64_t>(from, 0);
    to = std::min<int64_t>(to, kScreenWidth - 1);
    if (from > to) return true;
    const auto offset = static_cast<std::size_t>(y * kScreenWidth + from);
    return std::memcmp(actual + offset, expected + offset,
                       static_cast<std::size_t>(to - from + 1)) == 0;
  };
  for (int64_t y = 0; y < kScreenHeight; ++y) {
    const bool crossesBox = y >= top && y <= bottom && left <= right;
    const bool same = crossesBox
                          ? sameSpan(y, 0, left - 1) && sameSpan(y, right + 1, kScreenWidth - 1)
                          : sameSpan(y, 0, kScreenWidth - 1);
    if (!same) fuzz::fail(what);
  }
}

void drawPage(int32_t PL, const std::string& name, int32_t XX, int32_t YY, std::string_view file) {
  fuzz::writeFile("sprites/" + name, file);
  fuzz::pageBytes(kBackground) = gBackground;
  copyPage(kBackground, kMap);
  drawPagePicture(PL, name, XX, YY, nullptr, nullptr);

  fuzz::expect(fuzz::pageBytes(kBackground) == gBackground, "the background page changed");
  // The map changes only in the page's cell.
  const int64_t cx = 8 * (PL % 40);
  const int64_t cy = 8 * (PL / 40);
  expectBackgroundOutside(kMap, cx, cy, cx + 7, cy + 7, "the map changed outside the cell");
  // The work page is the background with the picture centred at (159, 85).
  int32_t XS = XX;
  int32_t YS = YY;
  applySizeFromName(name, XS, YS);
  const auto halfDown = [](int64_t v) { return v >= 0 ? v / 2 : -((1 - v) / 2); };
  const int64_t left = XP - halfDown(XS);
  const int64_t top = YP - halfDown(YS);
  expectBackgroundOutside(kWork, left, top, left + XS - 1, top + YS - 1,
                          "the picture spilled outside its rectangle");
  fuzz::expect(slotAtEnd(kPictureSlot), "the picture slot was left open");
  std::remove(("sprites/" + name).c_str());
}

void drawBackground(std::string_view file) {
  fuzz::writeFile("sprites/bkgd2424.VIS", file);
  fillBox(0, 0, kScreenWidth - 1, kScreenHeight - 1, 0);
  tileBackground();
  const std::vector<uint8_t>& work = fuzz::pageBytes(kWork);
  for (const int32_t page : {0, 2, 3}) {
    fuzz::expect(fuzz::pageBytes(page) == work, "a tiled page differs from the work page");
  }
  for (int64_t y = 0; y < kScreenHeight; ++y) {
    // Every tile's row equals the first tile's row of the same tile row.
    for (int64_t x = y < kTile ? kTile : 0; x < kScreenWidth; x += kTile) {
      const auto width = static_cast<std::size_t>(std::min<int64_t>(kTile, kScreenWidth - x));
      fuzz::expect(
          std::memcmp(&work[static_cast<std::size_t>(y * kScreenWidth + x)],
                      &work[static_cast<std::size_t>((y % kTile) * kScreenWidth)], width) == 0,
          "the tiles differ");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::enterStoryFolder();
  fuzz::openHeadlessDisplay();
  setPages(kWork, 0);
  gBackground.resize(static_cast<std::size_t>(kScreenWidth * kScreenHeight));
  for (std::size_t i = 0; i < gBackground.size(); ++i) {
    gBackground[i] = static_cast<uint8_t>(i * 7 + i / kScreenWidth);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < kHeaderBytes) return 0;
  const bool background = (data[0] & 7) == 7;
  const int32_t PL = (data[1] | (data[2] << 8)) % kPages;
  const int32_t XX = int32At(data + 3);
  const int32_t YY = int32At(data + 7);
  const std::size_t nameLength =
      std::min<std::size_t>({data[11], kLongestName, size - kHeaderBytes});
  const auto* rest = reinterpret_cast<const char*>(data + kHeaderBytes);
  const std::string name = plainFileName(std::string_view(rest, nameLength));
  const std::string_view file(rest + nameLength, size - kHeaderBytes - nameLength);
  if (background) {
    drawBackground(file);
  } else {
    drawPage(PL, name, XX, YY, file);
  }
  return 0;
}
