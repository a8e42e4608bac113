#pragma once
// Lets a tool or a test follow the page cycle: it is told when a page entry
// begins and when the page's screen has been shown, with the story state of
// that moment. Nothing in the cycle depends on it.
#include "player/story_state.h"

namespace quillon {

enum class PageStage {
  Entering,  // PL is the page being entered; nothing of it has been read yet
  Shown,     // the page's screen is on the visible page; the key wait follows
};

using PageObserver = void (*)(void* context, PageStage stage, const StoryState& state);
// nullptr for none.
void setPageObserver(PageObserver observer, void* context);
// Called by the page cycle at each stage.
void notifyPageObserver(PageStage stage, const StoryState& state);

}  // namespace quillon
