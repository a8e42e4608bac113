// topng and frompng: pictures to and from PNG through the default palette.
#include <filesystem>
#include <fstream>

#include "data/picture.h"
#include "display/palette.h"
#include "quillon_tool/commands.h"
#include "story_analysis/picture_png.h"
#include "story_analysis/picture_scan.h"

namespace quillon::tool {
namespace {

// Far beyond any story picture; keeps a mistyped size from exhausting memory.
constexpr int64_t kLargestPicture = int64_t{1} << 24;

std::string sizeText(int32_t width, int32_t height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

std::string fileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

// The size the player takes from a picture's name, if the name gives one:
// the rule decides when two different given sizes come out the same.
std::optional<PictureSize> sizeFromName(const std::string& name) {
  PictureSize first{-1, -1};
  PictureSize second{-2, -2};
  applySizeFromName(name, first.width, first.height);
  applySizeFromName(name, second.width, second.height);
  if (first.width != second.width || first.height != second.height) return std::nullopt;
  return first;
}

}  // namespace

int runToPng(const std::string& picture, std::optional<PictureSize> size, const std::string& png,
             std::ostream& err) {
  const std::optional<PictureSize> named = sizeFromName(fileName(picture));
  if (!size && !named) {
    err << "quillon-tool topng: the name " << fileName(picture)
        << " gives no size (only 12-character names ending in .VIS do); give --size WxH\n";
    return kExitUsage;
  }
  if (size && named && (size->width != named->width || size->height != named->height)) {
    err << "quillon-tool topng: note: the name " << fileName(picture) << " gives the size "
        << sizeText(named->width, named->height) << ", which the player uses; --size "
        << sizeText(size->width, size->height) << " is ignored\n";
  }
  const int32_t width = named ? named->width : size->width;
  const int32_t height = named ? named->height : size->height;
  if (width <= 0 || height <= 0 || int64_t{width} * height > kLargestPicture) {
    err << "quillon-tool topng: cannot make a " << sizeText(width, height) << " image\n";
    return kExitFindings;
  }
  std::vector<int32_t> values;
  // An absolute path: the story reader refuses relative paths that leave the
  // working directory, but this one is the user's own.
  const PictureScan scan =
      scanPicture(std::filesystem::absolute(picture).string(), width, height, &values);
  if (scan.openError != 0) {
    err << "quillon-tool topng: cannot open " << picture << "\n";
    return kExitFindings;
  }
  if (scan.present < scan.expected) {
    err << "quillon-tool topng: note: " << picture << " has " << scan.present
        << " values, fewer than " << scan.expected
        << "; the missing pixels are drawn in colour 0, as the player draws them\n";
  }
  if (scan.outOfRange > 0) {
    err << "quillon-tool topng: note: " << scan.outOfRange
        << " values lie outside -1 to 255; their low 8 bits give the colour, as in the player\n";
  }
  std::string error;
  if (!writeRgbaPng(png, pictureToImage(values, width, height, defaultPalette()), error)) {
    err << "quillon-tool topng: could not write " << png << ": " << error << "\n";
    return kExitFindings;
  }
  return kExitOk;
}

int runFromPng(const std::string& png, const std::string& picture, std::ostream& err) {
  RgbaImage image;
  std::string error;
  if (!readRgbaPng(png, image, error)) {
    err << "quillon-tool frompng: could not read " << png << ": " << error << "\n";
    return kExitFindings;
  }
  const std::optional<PictureSize> named = sizeFromName(fileName(picture));
  if (named && (named->width != image.width || named->height != image.height)) {
    err << "quillon-tool frompng: the name " << fileName(picture) << " gives the size "
        << sizeText(named->width, named->height) << " but " << png << " is "
        << sizeText(image.width, image.height)
        << "; the player would read the picture with the wrong size. Rename it or resize the "
           "image\n";
    return kExitFindings;
  }
  const ImportedPicture imported = imageToPicture(image, defaultPalette());
  std::ofstream out(picture, std::ios::binary | std::ios::trunc);
  out << pictureFileText(imported.values, image.width);
  if (!out) {
    err << "quillon-tool frompng: could not write " << picture << "\n";
    return kExitFindings;
  }
  if (imported.inexactPixels > 0) {
    err << "quillon-tool frompng: note: " << imported.inexactPixels
        << " pixels have colours outside the palette and were given the nearest entry\n";
  }
  return kExitOk;
}

}  // namespace quillon::tool
