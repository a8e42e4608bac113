// quillon-tool: checks, plays, walks and draws stories for their authors.
#include <iostream>

#include "quillon_tool/commands.h"

int main(int argc, char** argv) {
  return quillon::tool::runQuillonTool(argc, argv, std::cout, std::cerr);
}
