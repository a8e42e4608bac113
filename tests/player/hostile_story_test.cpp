// Story folders come from strangers: whatever a folder holds, the player must
// end the way a story's own data asks for (a shown page, or a numbered runtime
// error), within bounded time, and read nothing outside the folder.
//
// Paths: a picture name is a path below sprites/. A name with ".." components
// that leave the story folder, an absolute name (which the "sprites\" prefix
// turns into a path below sprites/), a symbolic link leading out of the folder,
// a directory, a FIFO or a device are all "file not found" at the picture's
// open (error 2, location 94): the file layer opens only regular files inside
// the working directory.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "player/scripted_session.h"
#include "player/story_builders.h"
#include "support/story_harness.h"

namespace quillon::story_test {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int kExhausted = kScriptExhaustedStatus;

std::string abortMessage(int number, const char* text, int line) {
  return "\nAborting due to runtime error " + std::to_string(number) + " (" + text + ") at line " +
         std::to_string(line) + " of Quillon::()\n\n";
}
const std::string kPictureNotFound = abortMessage(2, "file not found", 94);

using Setup = std::function<void(StoryFolder&)>;
using ScreenCheck = std::function<void(const StoryRun&)>;

struct HostileCase {
  const char* what;
  Setup setUp;  // on a folder with the background only
  std::string keys;
  int status;
  std::string message;
  ScreenCheck screens;  // may be empty
};

// Page 0 as framedPage gives it, with another picture name and size.
Setup startPicture(std::string name, int64_t width, int64_t height) {
  return [=](StoryFolder& folder) {
    addFramePicture(folder);
    PageText start = framedPage("Start");
    start.picture = name;
    start.width = width;
    start.height = height;
    folder.writePage(0, start);
  };
}

// As startPicture, with the picture file's text.
Setup startPictureFile(std::string name, int64_t width, int64_t height, std::string text) {
  return [=](StoryFolder& folder) {
    startPicture(name, width, height)(folder);
    folder.writeFile("sprites/" + name, text);
  };
}

Setup then(Setup first, std::function<void(StoryFolder&)> second) {
  return [=](StoryFolder& folder) {
    first(folder);
    second(folder);
  };
}

// A folder beside the story folder, holding a picture a story must not reach.
class OutsideFolder {
 public:
  OutsideFolder() : root_(makeTemporaryDirectory("quillon-outside")) {
    std::ofstream(root_ / "stolen.pic") << "4,4,4\n4,4,4\n";
  }
  ~OutsideFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  std::filesystem::path picture() const { return root_ / "stolen.pic"; }
  // The picture as a name below sprites/ of a story folder that lies in the
  // same temporary directory: up out of sprites/, up out of the story folder.
  std::string climbingName() const {
    return "..\\..\\" + root_.filename().string() + "\\stolen.pic";
  }

 private:
  std::filesystem::path root_;
};

struct Pixel {
  uint8_t r, g, b;
};
Pixel pixelAt(const RgbImage& image, int32_t x, int32_t y) {
  const auto at = static_cast<std::size_t>((y * image.width + x) * 3);
  return {image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
}
bool isBlack(const RgbImage& image, int32_t x, int32_t y) {
  const Pixel p = pixelAt(image, x, y);
  return p.r == 0 && p.g == 0 && p.b == 0;
}

// Pixel rows with no text on a story screen: row 1, and rows 3 to 19 of the grid.
bool rowWithoutText(int32_t y) { return y < 8 || (y >= 16 && y < 152); }

// The first screen equals that of a story made by `reference` with the same keys.
ScreenCheck sameScreensAs(Setup reference) {
  return [=](const StoryRun& run) {
    StoryFolder folder;
    reference(folder);
    const StoryRun expected = playStory(folder, "");
    ASSERT_EQ(expected.screens.size(), 1u) << ::testing::PrintToString(expected);
    ASSERT_FALSE(run.screens.empty());
    EXPECT_TRUE(sameImage(run.screens[0], expected.screens[0]));
  };
}

// The picture step failed before anything new was shown: no key wait came,
// and the window still showed the tiled background.
ScreenCheck onlyTheBackgroundWasShown() {
  return [](const StoryRun& run) {
    EXPECT_TRUE(run.screens.empty());
    ASSERT_EQ(run.closingScreens.size(), 1u);
    EXPECT_FALSE(isBlack(run.closingScreens[0], 1, 1));  // a tile's base colour
  };
}

// Every text-free pixel of the rows and columns given is black.
ScreenCheck blackWhere(std::function<bool(int32_t x, int32_t y)> where) {
  return [=](const StoryRun& run) {
    ASSERT_EQ(run.screens.size(), 1u);
    for (int32_t y = 0; y < 200; ++y) {
      if (!rowWithoutText(y)) continue;
      for (int32_t x = 0; x < 320; ++x) {
        if (!where(x, y)) continue;
        ASSERT_TRUE(isBlack(run.screens[0], x, y)) << "pixel " << x << ", " << y;
      }
    }
  };
}

void runCases(const std::vector<HostileCase>& cases) {
  for (const HostileCase& c : cases) {
    SCOPED_TRACE(c.what);
    StoryFolder folder;
    c.setUp(folder);
    const StoryRun run = playStory(folder, c.keys);
    ASSERT_FALSE(run.child.timedOut) << ::testing::PrintToString(run);
    ASSERT_TRUE(run.child.exited) << ::testing::PrintToString(run);
    EXPECT_EQ(run.child.exitStatus, c.status);
    EXPECT_EQ(run.child.stderrBytes, c.message);
    if (c.screens) c.screens(run);
  }
}

// Sizes at the 32-bit limits: the counters must not overflow, and a size the
// file cannot fill must not take time in proportion to the size.
TEST(HostileStory, PictureSizesAtThe32BitLimitsEndQuickly) {
  const std::string small = "1,2,3\n";
  runCases({
      // Every pixel the file lacks is colour 0, and the picture covers the page.
      {"2147483647 x 2147483647", startPictureFile("huge.pic", kMax, kMax, small), "", kExhausted,
       "", blackWhere([](int32_t, int32_t) { return true; })},
      // One row, centred on y = 85, across the whole page.
      {"2147483647 x 1", startPictureFile("row.pic", kMax, 1, small), "", kExhausted, "",
       blackWhere([](int32_t, int32_t y) { return y == 85; })},
      // One column, centred on x = 159, down the whole page.
      {"1 x 2147483647", startPictureFile("column.pic", 1, kMax, small), "", kExhausted, "",
       blackWhere([](int32_t x, int32_t) { return x == 159; })},
      // A negative size draws nothing, as a size of 0 does.
      {"-2147483648 x -2147483648", startPictureFile("none.pic", kMin, kMin, small), "", kExhausted,
       "", sameScreensAs(startPictureFile("none.pic", 0, 0, small))},
      {"2147483647 x -2147483648", startPictureFile("none.pic", kMax, kMin, small), "", kExhausted,
       "", sameScreensAs(startPictureFile("none.pic", 0, 0, small))},
      {"-2147483648 x 2147483647", startPictureFile("none.pic", kMin, kMax, small), "", kExhausted,
       "", sameScreensAs(startPictureFile("none.pic", 0, 0, small))},
      // Sizes beyond 32 bits read as -1 (the reader's rule) and draw nothing.
      {"sizes past 32 bits", startPictureFile("none.pic", 99999999999, -99999999999, small), "",
       kExhausted, "", sameScreensAs(startPictureFile("none.pic", 0, 0, small))},
  });
}

TEST(HostileStory, PicturePathsThatAreNoFileInsideTheFolderAreNotFound) {
  const OutsideFolder outside;
  const std::string stolen = outside.picture().string();
  runCases({
      {"a directory",
       then(startPicture("dir.pic", 3, 2),
            [](StoryFolder& f) {
              std::filesystem::create_directories(f.root() / "sprites" / "dir.pic");
            }),
       "", 2, kPictureNotFound, onlyTheBackgroundWasShown()},
      // Opening a FIFO for reading would wait for a writer that never comes.
      {"a FIFO",
       then(startPicture("pipe.pic", 3, 2),
            [](StoryFolder& f) {
              ASSERT_EQ(mkfifo((f.root() / "sprites" / "pipe.pic").c_str(), 0600), 0);
            }),
       "", 2, kPictureNotFound, onlyTheBackgroundWasShown()},
      // Reading /dev/zero would never end.
      {"a link to /dev/zero",
       then(startPicture("zero.pic", 3, 2),
            [](StoryFolder& f) {
              std::filesystem::create_symlink("/dev/zero", f.root() / "sprites" / "zero.pic");
            }),
       "", 2, kPictureNotFound, onlyTheBackgroundWasShown()},
      {"a link to a picture outside the folder",
       then(startPicture("link.pic", 3, 2),
            [stolen](StoryFolder& f) {
              std::filesystem::create_symlink(stolen, f.root() / "sprites" / "link.pic");
            }),
       "", 2, kPictureNotFound, onlyTheBackgroundWasShown()},
      {"'..' leading out of the folder", startPicture(outside.climbingName(), 3, 2), "", 2,
       kPictureNotFound, onlyTheBackgroundWasShown()},
      {"an absolute path", startPicture(stolen, 3, 2), "", 2, kPictureNotFound,
       onlyTheBackgroundWasShown()},
      // Links and ".." that stay inside the folder work like the plain name.
      {"'..' that stays inside", startPicture("..\\sprites\\fram1006.VIS", 10, 6), "", kExhausted,
       "", sameScreensAs(startPicture("fram1006.VIS", 10, 6))},
      {"a link inside the folder",
       then(startPicture("alias.pic", 10, 6),
            [](StoryFolder& f) {
              std::filesystem::create_symlink("fram1006.VIS", f.root() / "sprites" / "alias.pic");
            }),
       "", kExhausted, "", sameScreensAs(startPicture("fram1006.VIS", 10, 6))},
  });
}

// The reader cuts fields at 4096 bytes, so only the start of a huge line is
// ever read; the rest of the file costs nothing.
TEST(HostileStory, AFiftyMegabytePageFileOnOneLineShowsItsFirstFields) {
  const std::string head = "Huge,10,6,fram1006.VIS,n,0,0,Again,";
  const std::string tail(50u << 20, 'y');
  const auto huge = [=](StoryFolder& folder) {
    addFramePicture(folder);
    folder.writeFile("pages/L000_000.mem", head + tail);
  };
  // What the reader makes of it: choice 1 as written, then fields of 4096 y.
  const std::string y4096(4096, 'y');
  const auto expected = [=](StoryFolder& folder) {
    addFramePicture(folder);
    PageText page = framedPage("Huge");
    page.choices[0] = choice("n", 0, 0, "Again");
    page.choices[1] = choice(y4096, 0, 0, y4096);
    page.choices[2] = choice(y4096, 0, 0, y4096);
    page.choices[3] = choice(y4096, 0, 0, y4096);
    page.lines = {y4096, y4096, y4096, y4096, y4096};
    folder.writePage(0, page);
  };
  runCases({
      // The integer fields between them read 67 y each: 0.
      {"50 MB after the first fields", huge, "n", kExhausted, "",
       [=](const StoryRun& run) {
         ASSERT_EQ(run.screens.size(), 2u);
         EXPECT_TRUE(sameImage(run.screens[0], run.screens[1]));
         sameScreensAs(expected)(run);
       }},
  });
}

// Screen text is raw bytes: a NUL ends a string field, bytes 128 to 255 are
// glyphs of code page 437 and keys like any other.
TEST(HostileStory, NulAndEightBitBytesInPageFields) {
  const auto page = [](std::string title, std::string key) {
    return [=](StoryFolder& folder) {
      addFramePicture(folder);
      PageText start = framedPage(title);
      start.choices[0] = choice(key, 1, 0, "Caf\x82");
      folder.writePage(0, start);
      folder.writePage(1, framedPage("Arrived"));
    };
  };
  const std::string eightBit = "\xc9\xcd\xbb Caf\x82 \xdb\xb1\xff";
  runCases({
      {"a NUL cuts the title", page(eightBit + std::string("\0hidden", 7), "\x82"), "", kExhausted,
       "", sameScreensAs(page(eightBit, "\x82"))},
      // Key code 130 is the one-byte key string of byte 130.
      {"an 8-bit key selects its choice", page(eightBit, "\x82"), "\x82", kExhausted, "",
       [&](const StoryRun& run) {
         ASSERT_EQ(run.screens.size(), 2u);
         EXPECT_FALSE(sameImage(run.screens[0], run.screens[1]));
       }},
  });
}

// Targets at the 32-bit limits still name a page file (the sum with 1000
// wraps); it is missing (location 47) or outside the visit counts (83).
// A condition at the limits is outside the visit counts (62) on the very
// first page, before anything is shown.
TEST(HostileStory, PageNumbersAtThe32BitLimits) {
  const auto start = [](ChoiceText first, std::string extraFile) {
    return [=](StoryFolder& folder) {
      addFramePicture(folder);
      PageText page = framedPage("Start");
      page.choices[0] = first;
      folder.writePage(0, page);
      if (!extraFile.empty()) {
        folder.writeFile("pages/" + extraFile, pageFileText(framedPage("Far")));
      }
    };
  };
  const std::string notFound = abortMessage(2, "file not found", 47);
  const std::string outOfBounds = abortMessage(6, "out of bounds array access", 83);
  runCases({
      {"target 2147483647, no file", start(choice("n", kMax, 0, "Far"), ""), "n", 2, notFound, {}},
      {"target 2147483647",
       start(choice("n", kMax, 0, "Far"), "L649_000.mem"),
       "n",
       6,
       outOfBounds,
       {}},
      {"target -2147483648",
       start(choice("n", kMin, 0, "Far"), "L648_000.mem"),
       "n",
       6,
       outOfBounds,
       {}},
      {"target past 32 bits",
       start(choice("n", 99999999999, 0, "Far"), "L999_000.mem"),
       "n",
       6,
       outOfBounds,
       {}},
      {"condition 2147483647", start(choice("n", 1, kMax, "Far"), ""), "", 6,
       abortMessage(6, "out of bounds array access", 62),
       [](const StoryRun& run) { EXPECT_TRUE(run.screens.empty()); }},
      {"condition -2147483648", start(choice("n", 1, kMin, "Far"), ""), "", 6,
       abortMessage(6, "out of bounds array access", 62),
       [](const StoryRun& run) { EXPECT_TRUE(run.screens.empty()); }},
  });
}

}  // namespace
}  // namespace quillon::story_test
