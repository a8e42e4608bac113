// quillon: plays the story in the working directory in a window.
#include "display/front_end.h"
#include "player/story_state.h"

#if QUILLON_HAVE_WINDOW
#include "display/sdl/sdl_front_end.h"
#endif

int main() {
#if QUILLON_HAVE_WINDOW
  // runStory never returns and the process ends without unwinding, so the
  // window is never destroyed under a running presenter.
  quillon::SdlFrontEnd window;
  quillon::setFrontEnd(&window);
#else
  // Without a window library no display can be opened.
  quillon::setFrontEnd(nullptr);
#endif
  quillon::runStory();
}
