#include "support/golden.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string_view>
#include <system_error>

namespace quillon {
namespace {

constexpr std::size_t kChannels = 3;
constexpr int32_t kCellSize = 8;
constexpr int kReportedPixels = 8;
constexpr std::string_view kUpdateVariable = "QUILLON_UPDATE_GOLDEN";

std::filesystem::path goldenPath(const std::string& goldenName) {
  return std::filesystem::path(QUILLON_TEST_SOURCE_DIR) / "golden" / goldenName;
}

// Next to the build, flattened so a name with folders stays in one place.
std::filesystem::path actualPath(const std::string& goldenName) {
  std::string flat = goldenName;
  for (char& c : flat) {
    if (c == '/' || c == '\\') c = '_';
  }
  const std::filesystem::path path(flat);
  return std::filesystem::current_path() / (path.stem().string() + ".actual.png");
}

bool updateRequested() {
  const char* value = std::getenv(std::string(kUpdateVariable).c_str());
  return value != nullptr && std::string_view(value) == "1";
}

std::string rgbText(const std::vector<uint8_t>& rgb, std::size_t offset) {
  std::ostringstream out;
  out << '(' << static_cast<int>(rgb[offset]) << ", " << static_cast<int>(rgb[offset + 1]) << ", "
      << static_cast<int>(rgb[offset + 2]) << ')';
  return out.str();
}

std::string saveActual(const RgbImage& actual, const std::string& goldenName) {
  const std::filesystem::path path = actualPath(goldenName);
  if (writePng(path.string(), actual)) return "actual image written to " + path.string();
  return "could not write the actual image to " + path.string();
}

}  // namespace

::testing::AssertionResult matchesGolden(const RgbImage& actual, const std::string& goldenName) {
  const std::filesystem::path golden = goldenPath(goldenName);
  if (updateRequested()) {
    std::error_code ignored;
    std::filesystem::create_directories(golden.parent_path(), ignored);
    if (!writePng(golden.string(), actual)) {
      return ::testing::AssertionFailure()
             << "could not write golden image " << golden.string() << " (" << actual.width << " x "
             << actual.height << " image)";
    }
    return ::testing::AssertionSuccess() << "golden image " << golden.string() << " rewritten";
  }

  RgbImage expected;
  if (!std::filesystem::exists(golden)) {
    return ::testing::AssertionFailure()
           << "golden image " << golden.string() << " does not exist; run this test with "
           << kUpdateVariable << "=1 in the environment to create it, then look at the "
           << "picture before trusting it. " << saveActual(actual, goldenName);
  }
  if (!readPng(golden.string(), expected)) {
    return ::testing::AssertionFailure()
           << "golden image " << golden.string() << " could not be read as a PNG file. "
           << saveActual(actual, goldenName);
  }
  if (expected.width != actual.width || expected.height != actual.height ||
      actual.rgb.size() != expected.rgb.size()) {
    return ::testing::AssertionFailure()
           << "image size differs from " << goldenName << ": expected " << expected.width << " x "
           << expected.height << ", actual " << actual.width << " x " << actual.height << ". "
           << saveActual(actual, goldenName);
  }

  std::ostringstream details;
  std::size_t differing = 0;
  const auto width = static_cast<std::size_t>(actual.width);
  const std::size_t pixels = actual.rgb.size() / kChannels;
  for (std::size_t i = 0; i < pixels; ++i) {
    const std::size_t offset = i * kChannels;
    if (actual.rgb[offset] == expected.rgb[offset] &&
        actual.rgb[offset + 1] == expected.rgb[offset + 1] &&
        actual.rgb[offset + 2] == expected.rgb[offset + 2]) {
      continue;
    }
    if (differing < kReportedPixels) {
      const auto x = static_cast<int32_t>(i % width);
      const auto y = static_cast<int32_t>(i / width);
      details << "\n  pixel (" << x << ", " << y << ") in text cell row " << y / kCellSize + 1
              << ", column " << x / kCellSize + 1 << ": expected " << rgbText(expected.rgb, offset)
              << ", actual " << rgbText(actual.rgb, offset);
    }
    ++differing;
  }
  if (differing == 0) {
    std::error_code ignored;
    std::filesystem::remove(actualPath(goldenName), ignored);
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << differing << " of " << pixels << " pixels differ from " << golden.string()
         << "; the first ones:" << details.str() << "\n"
         << saveActual(actual, goldenName) << "; if the change is intended, rerun with "
         << kUpdateVariable << "=1 and look at the new picture";
}

}  // namespace quillon
