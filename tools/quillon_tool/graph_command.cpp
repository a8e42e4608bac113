// graph: the story as a Graphviz graph, as dot text or drawn by dot.
#include <filesystem>
#include <fstream>

#include "quillon_tool/commands.h"
#include "quillon_tool/external_program.h"
#include "story_analysis/story_graph.h"

namespace quillon::tool {
namespace {

constexpr const char* kDot = "dot";

bool writeOutput(const std::string& path, const std::string& bytes, std::ostream& out,
                 std::ostream& err) {
  if (path.empty()) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return true;
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) {
    err << "quillon-tool graph: could not write " << path << "\n";
    return false;
  }
  return true;
}

}  // namespace

int runGraph(const GraphOptions& options, std::ostream& out, std::ostream& err) {
  if (!std::filesystem::is_directory(options.story)) {
    err << "quillon-tool graph: " << options.story << " is not a folder\n";
    return kExitUsage;
  }
  Story story(options.story);
  const std::string dot = storyGraphDot(story, explore(story));
  if (options.format == GraphFormat::Dot) {
    return writeOutput(options.output, dot, out, err) ? kExitOk : kExitFindings;
  }
  if (!programInPath(kDot)) {
    err << "quillon-tool graph: Graphviz's dot is not installed, so no svg or png can be drawn; "
           "install Graphviz (Debian: apt-get install graphviz) or use --format dot\n";
    return kExitFindings;
  }
  const std::string type = options.format == GraphFormat::Svg ? "-Tsvg" : "-Tpng";
  const ProgramResult drawn = runProgram({kDot, type}, dot);
  if (!drawn.started || drawn.exitStatus != 0) {
    err << "quillon-tool graph: dot failed (exit status " << drawn.exitStatus << ")\n"
        << drawn.errors;
    return kExitFindings;
  }
  return writeOutput(options.output, drawn.output, out, err) ? kExitOk : kExitFindings;
}

}  // namespace quillon::tool
