#pragma once
// Running another program (Graphviz's dot) with text in and bytes out.
#include <string>
#include <vector>

namespace quillon::tool {

struct ProgramResult {
  bool started = false;  // false when the program could not be run at all
  int exitStatus = -1;
  std::string output;
  std::string errors;
};

// Looks `arguments[0]` up in PATH.
bool programInPath(const std::string& name);
ProgramResult runProgram(const std::vector<std::string>& arguments, const std::string& input);

}  // namespace quillon::tool
