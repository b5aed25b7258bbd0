// The title screen. So far it empties the slots, silences every sound and clears the frame;
// its picture and menu come with the title scene.
#include "scenes/title_screen.h"

#include "graphics/graphics.h"
#include "platform/platform.h"
#include "shell/scene_handlers.h"
#include "sound/sound_bank.h"

namespace quillorn {

void ShowTitleScreen() {
  ClearSceneHandlers();
  StopAllSounds();  // this ends the looped ending music of the staff roll
  ClearBackBuffer();
  platform::InvalidateRect(nullptr);
}

}  // namespace quillorn
