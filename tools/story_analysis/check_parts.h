#pragma once
// The parts of `check`, each adding its findings.
#include <set>
#include <vector>

#include "story_analysis/exploration.h"
#include "story_analysis/findings.h"
#include "story_analysis/story_model.h"

namespace quillon::tool {

// Aborts, unreachable pages, dead ends and endings, same keys, choices never
// offered, menu lines that get cut: what playing can run into.
void addFlowFindings(Story& story, const Exploration& exploration, std::vector<Finding>& findings);

// Titles and text lines that do not fit, control bytes, keys no key press
// gives, labels without a key: what one page file holds.
void addPageTextFindings(int32_t page, const PageFile& file, std::vector<Finding>& findings);

// The pictures of the given pages and the background: missing files (for
// pages never entered; entered ones are flow findings), sizes, values.
void addPictureFindings(Story& story, const std::vector<int32_t>& pages,
                        const std::set<int32_t>& entered, std::vector<Finding>& findings);

// "choice 2 (key n)" and the like.
std::string describeChoice(const PageFields& fields, int32_t T);

}  // namespace quillon::tool
