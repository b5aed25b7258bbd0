// Not built yet: until the scene arrives, starting it shows the title screen.
#include "scenes/ending.h"

#include "scenes/title_screen.h"

namespace quillorn {

void StartEndingScene() {
  ShowTitleScreen();
}

void BuildEndingScript() {
  ShowTitleScreen();
}

}  // namespace quillorn
