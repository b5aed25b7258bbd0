// Not built yet: until the scene arrives, starting it shows the title screen.
#include "scenes/story.h"

#include "scenes/title_screen.h"

namespace quillorn {

void StartStoryScene() {
  ShowTitleScreen();
}

void BuildStoryScript() {
  ShowTitleScreen();
}

}  // namespace quillorn
