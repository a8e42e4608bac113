#include "story_analysis/picture_scan.h"

#include "data/picture.h"
#include "data/record_reader.h"

namespace quillon::tool {
namespace {

bool isBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

void countValues(PictureScan& scan, std::vector<int32_t>* values) {
  for (int64_t field = 1; field <= scan.expected; ++field) {
    if (slotAtEnd(kPictureSlot)) break;
    const int32_t value = readInteger(kPictureSlot);
    ++scan.present;
    if (values != nullptr) values->push_back(value);
    if (value < kLowestColour || value > kHighestColour) {
      if (scan.outOfRange++ == 0) {
        scan.firstOutOfRangeField = field;
        scan.firstOutOfRangeValue = value;
      }
    }
  }
  while (!slotAtEnd(kPictureSlot)) {
    if (!isBlank(readString(kPictureSlot))) ++scan.extraValues;
  }
}

// A second pass as text finds the empty fields, which read as 0: most often
// a comma left at the end of a row, which shifts every later pixel.
void countEmptyFields(PictureScan& scan) {
  for (int64_t field = 1; field <= scan.present; ++field) {
    if (readString(kPictureSlot).empty() && scan.emptyFields++ == 0) scan.firstEmptyField = field;
  }
}

}  // namespace

PictureScan scanPicture(const std::string& path, int32_t width, int32_t height,
                        std::vector<int32_t>* values) {
  PictureScan scan;
  scan.width = width;
  scan.height = height;
  scan.expected = width > 0 && height > 0 ? int64_t{width} * int64_t{height} : 0;
  closeSlot(kPictureSlot);
  scan.openError = openForInput(path, kPictureSlot);
  if (scan.openError != 0) return scan;
  countValues(scan, values);
  closeSlot(kPictureSlot);
  if (openForInput(path, kPictureSlot) == 0) countEmptyFields(scan);
  closeSlot(kPictureSlot);
  if (values != nullptr) values->resize(static_cast<std::size_t>(scan.expected), 0);
  return scan;
}

int64_t rowOfField(int64_t field, int32_t width) { return width > 0 ? (field - 1) / width + 1 : 0; }

int64_t columnOfField(int64_t field, int32_t width) {
  return width > 0 ? (field - 1) % width + 1 : 0;
}

}  // namespace quillon::tool
