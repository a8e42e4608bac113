#include "player/page_observer.h"

namespace quillon {
namespace {

PageObserver gObserver = nullptr;
void* gContext = nullptr;

}  // namespace

void setPageObserver(PageObserver observer, void* context) {
  gObserver = observer;
  gContext = context;
}

void notifyPageObserver(PageStage stage, const StoryState& state) {
  if (gObserver != nullptr) gObserver(gContext, stage, state);
}

}  // namespace quillon
