#pragma once
// The story as a Graphviz graph: pages as nodes, choices as edges.
#include <string>

#include "story_analysis/exploration.h"
#include "story_analysis/story_model.h"

namespace quillon::tool {

// Nodes: every page with a file and every page a keyed choice leads to,
// labelled with number and title. Page 0 has a double border; pages never
// reached are grey; pages whose entry stops the player are red, and so are
// targets without a page file; endings are drawn as boxes.
// Edges: one per choice with a key or label, labelled key>label. A
// visited condition is dashed and a not-visited condition dotted, with the
// condition in the label ("if 4 visited", "if 4 not visited"); a choice that
// no key can select is grey.
std::string storyGraphDot(Story& story, const Exploration& exploration);

}  // namespace quillon::tool
