#include "story_analysis/story_graph.h"

#include <set>

#include "story_analysis/key_notation.h"
#include "story_analysis/shown_text.h"

namespace quillon::tool {
namespace {

std::string escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string nodeId(int32_t page) { return "\"p" + std::to_string(page) + "\""; }

bool hasKeyedChoice(const PageFields& fields) {
  for (int32_t T = 1; T <= kChoiceCount; ++T) {
    if (!fields.DAS[static_cast<std::size_t>(T)].empty()) return true;
  }
  return false;
}

class GraphWriter {
 public:
  GraphWriter(Story& story, const Exploration& exploration)
      : story_(story), exploration_(exploration) {}

  std::string write() {
    out_ =
        "digraph story {\n  rankdir=LR;\n  node [shape=ellipse, fontname=\"Helvetica\"];\n"
        "  edge [fontname=\"Helvetica\", fontsize=10];\n";
    std::set<int32_t> pages(story_.numberedPages().begin(), story_.numberedPages().end());
    for (const auto& [page, visit] : exploration_.shown) pages.insert(page);
    pages.insert(exploration_.entered.begin(), exploration_.entered.end());
    pages.insert(kStartPage);
    std::set<int32_t> targets;
    for (const int32_t page : pages) {
      const PageFile& file = story_.pageFile(page);
      if (!file.exists()) continue;
      for (int32_t T = 1; T <= kChoiceCount; ++T) {
        if (!file.fields.DAS[static_cast<std::size_t>(T)].empty()) {
          targets.insert(file.fields.DAI[static_cast<std::size_t>(T)]);
        }
      }
    }
    pages.insert(targets.begin(), targets.end());
    for (const int32_t page : pages) writeNode(page);
    for (const int32_t page : pages) writeEdges(page);
    out_ += "}\n";
    return out_;
  }

 private:
  void writeNode(int32_t page) {
    const PageFile& file = story_.pageFile(page);
    std::string label = std::to_string(page);
    std::string attributes;
    if (!file.exists()) {
      label += "\\n(no page file)";
      attributes = ", shape=box, style=dashed, color=red, fontcolor=red";
    } else {
      label += "\\n" + escaped(shownText(file.fields.NM));
      const EntryOutcome outcome = entryOutcome(story_, page);
      if (outcome.abort) {
        label += "\\n(stops: error " + std::to_string(outcome.abort->number) + " at location " +
                 std::to_string(outcome.abort->location) + ")";
        attributes += ", color=red, fontcolor=red";
      } else if (!hasKeyedChoice(file.fields)) {
        attributes += ", shape=box";
      }
      if (exploration_.complete && !exploration_.entered.contains(page) &&
          !exploration_.startAbort) {
        attributes += ", style=filled, fillcolor=lightgrey";
        label += "\\n(never reached)";
      }
    }
    if (page == kStartPage) attributes += ", peripheries=2";
    out_ += "  " + nodeId(page) + " [label=\"" + label + "\"" + attributes + "];\n";
  }

  void writeEdges(int32_t page) {
    const PageFile& file = story_.pageFile(page);
    // Page 1000 shows page 0's file; its choices are drawn from page 0.
    if (!file.exists() || (page > kHighestNumberedFile || page < kStartPage)) return;
    for (int32_t T = 1; T <= kChoiceCount; ++T) {
      const auto choice = static_cast<std::size_t>(T);
      const std::string& key = file.fields.DAS[choice];
      const std::string& text = file.fields.DDAS[choice];
      if (key.empty() && text.empty()) continue;
      std::string label = escaped(key.empty() ? std::string("(no key)") : describeKeyString(key));
      label += ">" + escaped(text.empty() ? std::string("(hidden)") : shownText(text));
      std::string attributes;
      const int32_t condition = file.fields.DDAI[choice];
      if (condition > 0) {
        attributes += ", style=dashed";
        label += "\\nif " + std::to_string(condition) + " visited";
      } else if (condition < 0) {
        attributes += ", style=dotted";
        label += "\\nif " + std::to_string(-int64_t{condition}) + " not visited";
      }
      if (!keyCodeOfKeyString(key)) attributes += ", color=grey, fontcolor=grey";
      out_ += "  " + nodeId(page) + " -> " + nodeId(file.fields.DAI[choice]) + " [label=\"" +
              label + "\"" + attributes + "];\n";
    }
  }

  Story& story_;
  const Exploration& exploration_;
  std::string out_;
};

}  // namespace

std::string storyGraphDot(Story& story, const Exploration& exploration) {
  return GraphWriter(story, exploration).write();
}

}  // namespace quillon::tool
