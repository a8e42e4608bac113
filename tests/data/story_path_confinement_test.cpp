// Story paths reach only files inside the story folder (the working
// directory): ".." that climbs above it and symbolic links that lead out of it
// give "file not found", like a missing file. Story folders come from
// strangers, and a picture name is a path the story chooses.
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data/record_reader.h"
#include "scratch_folder.h"
#include "support/child_process.h"

namespace quillon {
namespace {

using testing::ScratchFolder;
using testing::WorkingDirectory;

constexpr int32_t kOpened = 0;
constexpr int32_t kNotFound = 2;
constexpr int32_t kSlot = 3;

// scratch/story is the story folder; scratch/outside.txt and scratch/secret/
// lie beside it.
class StoryPathConfinementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_.write("outside.txt", "outside");
    scratch_.write("secret/key.txt", "secret");
    scratch_.write("story/pages/L000_000.mem", "page");
    scratch_.write("story/sprites/tree.pic", "tree");
    link("../outside.txt", "sprites/up.pic");
    link((scratch_.path() / "outside.txt").string(), "sprites/absolute.pic");
    link("../../secret", "sprites/secret");
    link("../pages/L000_000.mem", "sprites/page.pic");
    link("..", "sprites/root");
    link("tree.pic", "sprites/alias.pic");
    link("loop.pic", "sprites/loop.pic");
    link("/dev/zero", "sprites/zero.pic");
  }
  void TearDown() override { closeAllSlots(); }

  // A symbolic link at `at` (below the story folder) pointing to `target`.
  void link(const std::string& target, const std::string& at) {
    std::filesystem::create_symlink(target, story() / at);
  }
  std::filesystem::path story() const { return scratch_.path() / "story"; }

  ScratchFolder scratch_;
};

TEST_F(StoryPathConfinementTest, PathsResolveInsideTheStoryFolderOnly) {
  const std::string outside = (scratch_.path() / "outside.txt").string();
  const WorkingDirectory inStory(story());
  struct Case {
    const char* what;
    std::string path;
    int32_t expected;
    const char* firstField;
  };
  const std::vector<Case> cases = {
      {"a plain picture", "sprites\\tree.pic", kOpened, "tree"},
      {"a '..' that stays inside", "sprites\\..\\pages\\L000_000.mem", kOpened, "page"},
      {"'.' components", ".\\sprites\\.\\tree.pic", kOpened, "tree"},
      {"a '..' that leaves the folder", "sprites\\..\\..\\outside.txt", kNotFound, ""},
      {"a '..' at the start", "..\\outside.txt", kNotFound, ""},
      // Judged on the text: the path climbs above the folder even though it
      // comes back into it, so whether it opens cannot depend on the folder's name.
      {"a '..' that climbs out and back", "..\\story\\sprites\\tree.pic", kNotFound, ""},
      {"many '..'", "sprites\\..\\..\\..\\..\\..\\..\\..\\..\\etc\\passwd", kNotFound, ""},
      // The player puts "sprites\" before a picture name, so an absolute
      // name becomes a path below sprites/.
      {"an absolute picture name", "sprites\\" + outside, kNotFound, ""},
      {"a link to a file outside", "sprites\\up.pic", kNotFound, ""},
      {"an absolute link to a file outside", "sprites\\absolute.pic", kNotFound, ""},
      {"a link to a folder outside", "sprites\\secret\\key.txt", kNotFound, ""},
      {"a link found ignoring case", "SPRITES\\UP.PIC", kNotFound, ""},
      {"a link to a device", "sprites\\zero.pic", kNotFound, ""},
      {"a link that points to itself", "sprites\\loop.pic", kNotFound, ""},
      {"a link to a file inside", "sprites\\page.pic", kOpened, "page"},
      {"a link to the folder itself", "sprites\\root\\sprites\\tree.pic", kOpened, "tree"},
      {"a link beside its target", "sprites\\alias.pic", kOpened, "tree"},
      // Tools and tests name files by absolute paths; the player never does.
      {"an absolute path", outside, kOpened, "outside"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(openForInput(c.path, kSlot), c.expected) << c.path;
    EXPECT_EQ(readString(kSlot), c.firstField);
    EXPECT_EQ(closeSlot(kSlot), 0);
  }
}

// /dev/zero never ends: were it read, the child would run until killed.
TEST_F(StoryPathConfinementTest, ALinkToAnEndlessDeviceIsRefusedAtOnce) {
  const std::filesystem::path folder = story();
  const ChildResult result = runInChild(
      [&] {
        std::filesystem::current_path(folder);
        std::_Exit(openForInput("sprites\\zero.pic", kSlot));
      },
      std::chrono::milliseconds(10000));
  EXPECT_FALSE(result.timedOut) << ::testing::PrintToString(result);
  EXPECT_TRUE(result.exited) << ::testing::PrintToString(result);
  EXPECT_EQ(result.exitStatus, kNotFound);
}

}  // namespace
}  // namespace quillon
