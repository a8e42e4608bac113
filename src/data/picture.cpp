// Picture files: their paths, the size a name gives, and the copies that show
// a picture while it is drawn.
#include "data/picture.h"

#include <cmath>
#include <limits>

#include "data/picture_drawing.h"
#include "data/record_reader.h"
#include "data/video_page_roles.h"
#include "display/framebuffer.h"
#include "errors/error_numbers.h"
#include "errors/runtime_error.h"

namespace quillon {
namespace {

constexpr const char* kSpritesDirectory = "sprites\\";
constexpr std::size_t kSizedNameLength = 12;
constexpr std::string_view kSizedNameEnding = ".VIS";
constexpr std::size_t kWidthOffset = 4;   // characters 5 and 6
constexpr std::size_t kHeightOffset = 6;  // characters 7 and 8
constexpr std::size_t kSizeDigits = 2;

VisibleCopyObserver gObserver = nullptr;
void* gObserverContext = nullptr;

// Stores a value in an integer, rounded to nearest with ties to even. Two
// characters can only give -9 to 99, but a value that is not finite or lies
// beyond the integer range becomes 0, so such a picture draws nothing.
int32_t storeRounded(double value) {
  constexpr double kLowest = std::numeric_limits<int32_t>::min();
  constexpr double kHighest = std::numeric_limits<int32_t>::max();
  if (!std::isfinite(value)) return 0;
  double whole = std::floor(value);
  const double fraction = value - whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  if (whole < kLowest || whole > kHighest) return 0;
  return static_cast<int32_t>(whole);
}

}  // namespace

std::string picturePath(std::string_view name) {
  return std::string(kSpritesDirectory) + std::string(name);
}

void applySizeFromName(std::string_view name, int32_t& width, int32_t& height) {
  if (name.size() != kSizedNameLength || !name.ends_with(kSizedNameEnding)) return;
  width = storeRounded(leadingNumber(name.substr(kWidthOffset, kSizeDigits)));
  height = storeRounded(leadingNumber(name.substr(kHeightOffset, kSizeDigits)));
}

void setVisibleCopyObserver(VisibleCopyObserver observer, void* context) {
  gObserver = observer;
  gObserverContext = context;
}

void guardFileStep(int32_t error, int32_t location) {
  if (error != kNoError) runtimeError(error, location);
}

void showDrawingSoFar(int32_t pass, int64_t row) {
  copyPage(kWorkPage, kVisiblePage);
  if (gObserver != nullptr) gObserver(gObserverContext, pass, row);
}

}  // namespace quillon
