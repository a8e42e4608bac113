// Findings about pictures: files that cannot be opened, sizes that differ
// from what the author wrote, values the player cannot draw as written.
#include <cctype>
#include <set>
#include <string>
#include <tuple>

#include "data/picture.h"
#include "display/framebuffer.h"
#include "story_analysis/check_parts.h"
#include "story_analysis/picture_scan.h"
#include "story_analysis/shown_text.h"

namespace quillon::tool {
namespace {

constexpr int32_t kTileSize = 24;
constexpr std::string_view kSizedEnding = ".VIS";
constexpr std::size_t kSizedNameLength = 12;
constexpr uint32_t kColourMask = 0xFF;

std::string size(int64_t width, int64_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

bool endsWithIgnoringCase(std::string_view name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  const std::string_view tail = name.substr(name.size() - ending.size());
  for (std::size_t i = 0; i < ending.size(); ++i) {
    const auto a = static_cast<unsigned char>(tail[i]);
    const auto b = static_cast<unsigned char>(ending[i]);
    if (std::tolower(a) != std::tolower(b)) return false;
  }
  return true;
}

class PictureChecker {
 public:
  PictureChecker(Story& story, std::vector<Finding>& findings)
      : story_(story), findings_(findings) {}

  void checkBackground() {
    const std::string path = picturePath(kBackgroundName);
    if (story_.openError(path) != 0) return;  // a flow finding: nothing starts
    scanFile(path, kTileSize, kTileSize, "the background tile");
  }

  void checkPage(int32_t page, bool entered) {
    const PageFile& file = story_.pageFile(page);
    const PageFields& fields = file.fields;
    int32_t width = fields.XX;
    int32_t height = fields.YY;
    applySizeFromName(fields.F2, width, height);
    const std::string path = picturePath(fields.F2);
    const std::string shownPath = displayPath(path);
    const std::string here = "page " + std::to_string(page);

    if (story_.openError(path) != 0) {
      // An entered page ends the player there: a flow finding.
      if (!entered) {
        add(Severity::Warning, "missing-picture", file.file, kPictureField, page,
            "the picture " + shownPath + " cannot be opened; " + here +
                " is never reached, but if it were, the player would stop there");
      }
      return;
    }
    if (width != fields.XX || height != fields.YY) {
      add(Severity::Warning, "size-from-name", file.file, kWidthField, page,
          "the picture name " + quotedText(fields.F2) + " gives the size " + size(width, height) +
              ", so the player ignores the width and height " + size(fields.XX, fields.YY) +
              " of fields 2 and 3");
    }
    checkNameCase(file, page, width, height);
    if (width <= 0 || height <= 0) {
      add(Severity::Warning, "empty-picture-size", file.file, kWidthField, page,
          "the picture is " + size(width, height) + ": the player draws none of it, and " + here +
              "'s map cell stays black");
      return;
    }
    checkPosition(file, page, width, height);
    scanFile(path, width, height, here + "'s picture");
  }

 private:
  void add(Severity severity, std::string kind, std::string file, int32_t field, int32_t page,
           std::string message) {
    findings_.push_back(
        {severity, std::move(kind), std::move(file), field, page, std::move(message), {}});
  }

  // "tree3216.vis" looks sized but is not: only an upper-case ".VIS" counts.
  void checkNameCase(const PageFile& file, int32_t page, int32_t width, int32_t height) {
    const std::string& name = file.fields.F2;
    if (name.size() != kSizedNameLength || name.ends_with(kSizedEnding) ||
        !endsWithIgnoringCase(name, kSizedEnding)) {
      return;
    }
    std::string sized =
        name.substr(0, name.size() - kSizedEnding.size()) + std::string(kSizedEnding);
    int32_t namedWidth = width;
    int32_t namedHeight = height;
    applySizeFromName(sized, namedWidth, namedHeight);
    if (namedWidth == width && namedHeight == height) return;
    add(Severity::Warning, "size-not-from-name", file.file, kPictureField, page,
        "the picture name " + quotedText(name) + " does not end in \".VIS\" (upper case), so " +
            "the player takes the size " + size(width, height) + " from fields 2 and 3, not the " +
            size(namedWidth, namedHeight) + " its name suggests");
  }

  void checkPosition(const PageFile& file, int32_t page, int32_t width, int32_t height) {
    const int64_t left = int64_t{XP} - width / 2;
    const int64_t top = int64_t{YP} - height / 2;
    const int64_t right = left + width - 1;
    const int64_t bottom = top + height - 1;
    if (left >= 0 && top >= 0 && right < kScreenWidth && bottom < kScreenHeight) return;
    add(Severity::Warning, "picture-off-screen", file.file, kWidthField, page,
        "the " + size(width, height) + " picture is drawn at x " + std::to_string(left) + " to " +
            std::to_string(right) + ", y " + std::to_string(top) + " to " + std::to_string(bottom) +
            ": the player leaves out what lies outside the 320 x 200 "
            "screen");
  }

  void scanFile(const std::string& path, int32_t width, int32_t height, const std::string& user) {
    if (!scanned_.insert({path, width, height}).second) return;
    const PictureScan scan = [&] {
      InStoryFolder inside(story_.root());
      return scanPicture(path, width, height);
    }();
    const std::string file = displayPath(path);
    const std::string read = " (read as " + user + ", " + size(width, height) + ")";
    if (scan.present < scan.expected) {
      add(Severity::Warning, "short-picture", file, static_cast<int32_t>(scan.present + 1), kNoPage,
          "has " + std::to_string(scan.present) + " values, fewer than " + size(width, height) +
              " = " + std::to_string(scan.expected) + ": the player draws the missing " +
              std::to_string(scan.expected - scan.present) + " pixels in colour 0" + read);
    }
    if (scan.outOfRange > 0) {
      const uint32_t shown = static_cast<uint32_t>(scan.firstOutOfRangeValue) & kColourMask;
      add(Severity::Warning, "colour-out-of-range", file,
          static_cast<int32_t>(scan.firstOutOfRangeField), kNoPage,
          "the value " + std::to_string(scan.firstOutOfRangeValue) + " at row " +
              std::to_string(rowOfField(scan.firstOutOfRangeField, width)) + ", column " +
              std::to_string(columnOfField(scan.firstOutOfRangeField, width)) +
              " is outside -1 to 255: the player draws colour " + std::to_string(shown) +
              " (its low 8 bits)" +
              (scan.outOfRange > 1
                   ? "; " + std::to_string(scan.outOfRange - 1) +
                         (scan.outOfRange == 2 ? " more value is" : " more values are") +
                         " out of range"
                   : "") +
              read);
    }
    if (scan.emptyFields > 0) {
      add(Severity::Warning, "empty-picture-field", file,
          static_cast<int32_t>(scan.firstEmptyField), kNoPage,
          "field " + std::to_string(scan.firstEmptyField) + " (row " +
              std::to_string(rowOfField(scan.firstEmptyField, width)) + ", column " +
              std::to_string(columnOfField(scan.firstEmptyField, width)) +
              ") is empty and the player draws it in colour 0; " +
              std::to_string(scan.emptyFields) +
              (scan.emptyFields == 1 ? " empty field" : " empty fields") +
              " in all (a comma at the end of a line adds an empty field and "
              "shifts every later pixel)" +
              read);
    }
    if (scan.extraValues > 0) {
      add(Severity::Warning, "extra-picture-values", file, static_cast<int32_t>(scan.expected + 1),
          kNoPage,
          "has " + std::to_string(scan.extraValues) +
              (scan.extraValues == 1 ? " more value" : " more values") + " after its " +
              std::to_string(scan.expected) + ": the player never reads them; is the size right?" +
              read);
    }
  }

  Story& story_;
  std::vector<Finding>& findings_;
  std::set<std::tuple<std::string, int32_t, int32_t>> scanned_;
};

}  // namespace

void addPictureFindings(Story& story, const std::vector<int32_t>& pages,
                        const std::set<int32_t>& entered, std::vector<Finding>& findings) {
  PictureChecker checker(story, findings);
  checker.checkBackground();
  for (const int32_t page : pages) checker.checkPage(page, entered.contains(page));
}

}  // namespace quillon::tool
