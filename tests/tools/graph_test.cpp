// graph: pages as nodes, choices as edges, conditions drawn apart.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "quillon_tool/external_program.h"
#include "story_analysis/story_graph.h"
#include "support/story_fixture.h"
#include "tool_runner.h"

namespace quillon::tool_test {
namespace {

using story_test::ChoiceText;
using story_test::PageText;
using story_test::StoryFolder;

void writeStory(StoryFolder& folder) {
  folder.writePicture("good0302.VIS", story_test::kSmallPicture, story_test::kSmallPictureWidth);
  PageText start = smallPage("Start \"here\" now");  // a quote inside stays
  start.choices = {ChoiceText{"n", 1, 0, "North"}, ChoiceText{"v", 2, 1, "Seen"},
                   ChoiceText{"w", 3, -1, "Unseen"}, ChoiceText{"", 1, 0, "Ghost"}};
  folder.writePage(0, start);
  PageText north = smallPage("North");
  north.choices[0] = ChoiceText{"b", 0, 0, "Back"};
  folder.writePage(1, north);
  folder.writePage(2, smallPage("Two"));
  folder.writePage(5, smallPage("Lost"));
}

TEST(StoryGraph, DrawsPagesChoicesAndConditionsApart) {
  StoryFolder folder;
  writeStory(folder);
  tool::Story story(folder.root());
  const std::string dot = tool::storyGraphDot(story, tool::explore(story));
  const std::vector<std::string> expected = {
      "\"p0\" [label=\"0\\nStart \\\"here\\\" now\", peripheries=2];",
      "\"p1\" [label=\"1\\nNorth\"];",
      // An ending, and never reached: page 0 never sees page 1 visited.
      "\"p2\" [label=\"2\\nTwo\\n(never reached)\", shape=box, style=filled, "
      "fillcolor=lightgrey];",
      "\"p3\" [label=\"3\\n(no page file)\", shape=box, style=dashed, color=red, fontcolor=red];",
      "\"p5\" [label=\"5\\nLost\\n(never reached)\", shape=box, style=filled, "
      "fillcolor=lightgrey];",
      "\"p0\" -> \"p1\" [label=\"n>North\"];",
      "\"p0\" -> \"p2\" [label=\"v>Seen\\nif 1 visited\", style=dashed];",
      "\"p0\" -> \"p3\" [label=\"w>Unseen\\nif 1 not visited\", style=dotted];",
      "\"p0\" -> \"p1\" [label=\"(no key)>Ghost\", color=grey, fontcolor=grey];",
      "\"p1\" -> \"p0\" [label=\"b>Back\"];",
  };
  for (const std::string& line : expected) {
    EXPECT_NE(dot.find(line), std::string::npos) << line << "\nin\n" << dot;
  }
  EXPECT_EQ(dot.rfind("digraph story {", 0), 0u);
}

TEST(GraphCommand, DrawsSvgWithDotOrSaysDotIsMissing) {
  StoryFolder folder;
  writeStory(folder);
  const std::filesystem::path svg = folder.root() / "story.svg";
  const ChildResult withoutDot =
      runTool({"graph", folder.root().string(), "--format", "svg", "-o", svg.string()},
              [] { ::setenv("PATH", "/nonexistent", 1); });
  EXPECT_EQ(withoutDot.exitStatus, tool::kExitFindings);
  EXPECT_NE(withoutDot.stderrBytes.find("Graphviz's dot is not installed"), std::string::npos);

  if (!tool::programInPath("dot")) GTEST_SKIP() << "Graphviz's dot is not installed here";
  const ChildResult drawn =
      runTool({"graph", folder.root().string(), "--format", "svg", "-o", svg.string()});
  ASSERT_EQ(drawn.exitStatus, tool::kExitOk) << drawn.stderrBytes;
  std::ifstream in(svg);
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("<svg"), std::string::npos);
  EXPECT_NE(text.str().find("North"), std::string::npos);
}

}  // namespace
}  // namespace quillon::tool_test
