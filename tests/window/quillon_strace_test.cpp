// The quillon executable under strace, in a window on a private Xvfb: playing
// a story, it creates, changes and removes no file, and of the story folder
// it opens only files below pages/ and sprites/ for reading, even when the
// story names pictures outside the folder.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/story_fixture.h"
#include "window/xvfb_session.h"

namespace quillon {
namespace {

using namespace window_test;
using namespace story_test;
using namespace std::chrono_literals;

// The calls that create, change or remove files, and the opens.
constexpr const char* kTracedCalls =
    "trace=open,openat,openat2,creat,mkdir,mkdirat,rename,renameat,renameat2,unlink,unlinkat,"
    "rmdir,link,linkat,symlink,symlinkat,truncate,ftruncate,chmod,fchmodat,mknod,mknodat";

// One traced call, joined from its "<unfinished ...>" and "resumed>" halves.
struct TracedCall {
  std::string name;
  std::string text;  // the whole line after the process id
};

std::vector<TracedCall> readTrace(const std::filesystem::path& log) {
  static const std::regex kLine(R"(^(\d+) +(.*)$)");
  static const std::regex kResumed(R"(^<\.\.\. (\w+) resumed>(.*)$)");
  static const std::regex kCall(R"(^(\w+)\()");
  std::vector<TracedCall> calls;
  std::map<std::string, std::string> unfinished;  // by process id
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) {
    std::smatch match;
    if (!std::regex_match(line, match, kLine)) continue;
    const std::string pid = match[1];
    std::string text = match[2];
    const std::string kUnfinished = " <unfinished ...>";
    if (text.size() > kUnfinished.size() &&
        text.compare(text.size() - kUnfinished.size(), kUnfinished.size(), kUnfinished) == 0) {
      unfinished[pid] = text.substr(0, text.size() - kUnfinished.size());
      continue;
    }
    std::smatch resumed;
    if (std::regex_match(text, resumed, kResumed)) {
      text = unfinished[pid] + resumed[2].str();
      unfinished.erase(pid);
    }
    std::smatch call;
    if (std::regex_search(text, call, kCall)) calls.push_back({call[1], text});
  }
  return calls;
}

// The path strace shows for a call, "" if none.
std::string quotedPath(const std::string& text) {
  static const std::regex kPath(R"re("((?:[^"\\]|\\.)*)")re");
  std::smatch match;
  return std::regex_search(text, match, kPath) ? match[1].str() : "";
}

bool opensForWriting(const TracedCall& call) {
  return call.text.find("O_WRONLY") != std::string::npos ||
         call.text.find("O_RDWR") != std::string::npos ||
         call.text.find("O_CREAT") != std::string::npos ||
         call.text.find("O_TRUNC") != std::string::npos;
}

bool succeeded(const TracedCall& call) { return call.text.find(") = -1 ") == std::string::npos; }

bool isOpen(const TracedCall& call) {
  return call.name == "open" || call.name == "openat" || call.name == "openat2";
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// A story that can show pages, read pictures, and name a picture outside the
// folder in two ways, each of which must end at the picture's open.
void writeStory(StoryFolder& folder, const std::filesystem::path& outsidePicture) {
  folder.writePicture("tiny0302.VIS", kSmallPicture, kSmallPictureWidth);
  const auto page = [](const std::string& title, const std::string& picture,
                       std::vector<ChoiceText> choices) {
    PageText text;
    text.title = title;
    text.width = kSmallPictureWidth;
    text.height = 2;
    text.picture = picture;
    for (std::size_t i = 0; i < choices.size(); ++i) text.choices[i] = choices[i];
    return text;
  };
  const std::string climbing =
      "..\\..\\" + outsidePicture.parent_path().filename().string() + "\\stolen.pic";
  folder.writePage(0, page("Start", "tiny0302.VIS",
                           {{"n", 1, 0, "Next"}, {"u", 2, 0, "Up"}, {"l", 3, 0, "Link"}}));
  folder.writePage(1, page("Next", "tiny0302.VIS", {{"b", 0, 0, "Back"}}));
  folder.writePage(2, page("Up", climbing, {}));
  folder.writePage(3, page("Link", "link.pic", {}));
  std::filesystem::create_symlink(outsidePicture, folder.root() / "sprites" / "link.pic");
}

class QuillonUnderStrace : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!programsAvailable({"strace"})) GTEST_SKIP() << "strace is not installed";
    if (!xvfbToolsAvailable()) GTEST_SKIP() << "Xvfb or the X tools are not installed";
    ASSERT_TRUE(std::filesystem::exists(quillonExecutable()))
        << "build the quillon target first: " << quillonExecutable();
    server_ = std::make_unique<XvfbServer>();
    ASSERT_TRUE(server_->running()) << "Xvfb did not start";
    scratch_ = makeTemporaryDirectory("quillon-strace");
    outside_ = makeTemporaryDirectory("quillon-outside");
    std::ofstream(outside_ / "stolen.pic") << "4,4,4\n4,4,4\n";
  }
  void TearDown() override {
    std::error_code ignored;
    if (!scratch_.empty()) std::filesystem::remove_all(scratch_, ignored);
    if (!outside_.empty()) std::filesystem::remove_all(outside_, ignored);
  }

  // A script that runs quillon under strace, so that ChildProgram can start it.
  std::filesystem::path tracingScript(const std::filesystem::path& log) const {
    const std::filesystem::path script = scratch_ / "traced-quillon.sh";
    std::ofstream(script) << "#!/bin/sh\nexec strace -f -qq -o '" << log.string() << "' -e "
                          << kTracedCalls << " -- '" << quillonExecutable().string() << "'\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    return script;
  }

  // The window titled quillon, which strace's child opens.
  std::string waitForQuillonWindow() const {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline) {
      const CommandResult found = runOnDisplay(
          server_->display(), {"xdotool", "search", "--onlyvisible", "--name", "^quillon$"});
      std::istringstream lines(found.output);
      std::string window;
      if (found.exitStatus == 0 && std::getline(lines, window) && !window.empty()) return window;
      std::this_thread::sleep_for(100ms);
    }
    return "";
  }

  std::unique_ptr<XvfbServer> server_;
  std::filesystem::path scratch_;
  std::filesystem::path outside_;
};

TEST_F(QuillonUnderStrace, PlayingWritesNoFileAndOpensOnlyStoryFilesInsideTheFolder) {
  struct Case {
    const char* what;
    std::vector<std::string> keys;
    int status;
  };
  const std::vector<Case> cases = {
      {"pages, back to the start and Escape", {"n", "b", "Escape"}, 0},
      {"a picture name with '..' leading out", {"u"}, 2},
      {"a picture that is a link leading out", {"l"}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StoryFolder folder;
    writeStory(folder, outside_ / "stolen.pic");
    const std::filesystem::path log = scratch_ / "trace.log";
    std::filesystem::remove(log);
    const std::filesystem::path story = std::filesystem::canonical(folder.root());

    ChildProgram traced(tracingScript(log), folder.root(), server_->display());
    const std::string window = waitForQuillonWindow();
    ASSERT_FALSE(window.empty()) << traced.standardError();
    for (const std::string& key : c.keys) {
      // The last key ends the program, and with it the window, perhaps before
      // the key's release reaches it: the exit status tells whether it worked.
      pressKeys(server_->display(), window, {key});
      std::this_thread::sleep_for(200ms);
    }
    int exitStatus = -1;
    ASSERT_TRUE(traced.waitForExit(30s, exitStatus)) << traced.standardError();
    EXPECT_EQ(exitStatus, c.status) << traced.standardError();

    const std::vector<TracedCall> calls = readTrace(log);
    ASSERT_FALSE(calls.empty()) << "no trace in " << log;
    std::set<std::string> storyFilesRead;
    for (const TracedCall& call : calls) {
      const std::string path = quotedPath(call.text);
      // Devices such as /dev/null are no files the program writes.
      const bool device = startsWith(path, "/dev/");
      if (!isOpen(call)) {
        ADD_FAILURE() << "changes the file system: " << call.text;
      } else if (opensForWriting(call) && !device) {
        ADD_FAILURE() << "opens a file for writing: " << call.text;
      }
      EXPECT_FALSE(startsWith(path, outside_.string())) << "reaches outside: " << call.text;
      const bool inStory =
          startsWith(path, story.string() + "/") || (!path.empty() && path[0] != '/');
      if (isOpen(call) && inStory && succeeded(call)) {
        const std::string relative = path[0] == '/' ? path.substr(story.string().size() + 1) : path;
        EXPECT_TRUE(startsWith(relative, "pages/") || startsWith(relative, "sprites/"))
            << call.text;
        storyFilesRead.insert(relative);
      }
    }
    // The background and page 0 with its picture are read in every case.
    EXPECT_TRUE(storyFilesRead.count("sprites/bkgd2424.VIS"))
        << ::testing::PrintToString(storyFilesRead);
    EXPECT_TRUE(storyFilesRead.count("pages/L000_000.mem"))
        << ::testing::PrintToString(storyFilesRead);
    EXPECT_TRUE(storyFilesRead.count("sprites/tiny0302.VIS"))
        << ::testing::PrintToString(storyFilesRead);
  }
}

}  // namespace
}  // namespace quillon
