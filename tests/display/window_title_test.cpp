// The window title taken from the executable's path.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "display/window_title.h"

namespace quillon {
namespace {

struct TitleCase {
  std::string path;
  std::string title;
};

void PrintTo(const TitleCase& c, std::ostream* out) { *out << '"' << c.path << '"'; }

class WindowTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(WindowTitleTest, IsTheFileNameWithoutItsLastExtension) {
  EXPECT_EQ(windowTitleFromPath(GetParam().path), GetParam().title);
}

// 120 characters, so that a file name in it is cut after six characters.
const std::string kLongDirectory = "/" + std::string(118, 'd') + "/";

INSTANTIATE_TEST_SUITE_P(Paths, WindowTitleTest,
                         ::testing::Values(TitleCase{"adventure.game.exe", "adventure.game"},
                                           TitleCase{"adventure", "adventure"},
                                           TitleCase{"/usr/games/adventure.bin", "adventure"},
                                           // A dot in a folder name is not an extension.
                                           TitleCase{"/opt/story.d/adventure", "adventure"},
                                           TitleCase{"C:\\Games\\ADVENTURE.EXE", "ADVENTURE"},
                                           TitleCase{"/usr/bin/.hidden", ""}, TitleCase{"", ""},
                                           // Only the first 126 characters of the path are read.
                                           TitleCase{"/x/" + std::string(130, 'n') + ".exe",
                                                     std::string(123, 'n')},
                                           TitleCase{kLongDirectory + "story.exe", "story"},
                                           TitleCase{kLongDirectory + "adventure.exe", "advent"}));

}  // namespace
}  // namespace quillon
