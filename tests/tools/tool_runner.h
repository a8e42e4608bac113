#pragma once
// Runs quillon-tool's command line in a child process, as a shell would run
// the executable: play ends its process, and every subcommand's exit status
// and output are what a script sees.
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "quillon_tool/commands.h"
#include "support/child_process.h"
#include "support/story_fixture.h"

namespace quillon::tool_test {

// `prepare` runs in the child first (to change its environment, say).
inline ChildResult runTool(std::vector<std::string> arguments,
                           std::function<void()> prepare = nullptr) {
  return runInChild([arguments, prepare]() mutable {
    if (prepare) prepare();
    std::vector<char*> argv;
    std::string name = "quillon-tool";
    argv.push_back(name.data());
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const int status =
        tool::runQuillonTool(static_cast<int>(argv.size() - 1), argv.data(), std::cout, std::cerr);
    std::cout.flush();
    std::cerr.flush();
    std::exit(status);
  });
}

// A page drawn with the fixtures' 3 x 2 picture, to which tests add choices.
inline story_test::PageText smallPage(std::string title, std::string picture = "good0302.VIS") {
  story_test::PageText text;
  text.title = std::move(title);
  text.width = 3;
  text.height = 2;
  text.picture = std::move(picture);
  return text;
}

}  // namespace quillon::tool_test
