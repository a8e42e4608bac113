#pragma once
// `check`: everything that would go wrong when the story is played, found
// without playing it.
//
// An intended ending is a page none of whose four choices has a key: the
// author wrote no way on, the player stays there until Escape, and check
// only notes it. A page that has keyed choices but can be shown with none of
// them offered (or selectable) is a dead end and is reported. A page whose
// only way on leads back to page 0 is neither: it is a choice like any other.
#include <cstdint>

#include "story_analysis/exploration.h"
#include "story_analysis/findings.h"
#include "story_analysis/story_model.h"

namespace quillon::tool {

CheckReport checkStory(Story& story, int64_t stateLimit = kDefaultStateLimit);

}  // namespace quillon::tool
