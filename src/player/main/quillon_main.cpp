// quillon: plays the story in the working directory in a window.
#include "player/story_state.h"

int main() { quillon::runStory(); }
