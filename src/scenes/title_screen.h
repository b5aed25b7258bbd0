// The title screen, the game's hub.
#pragma once

namespace quillorn {

void ShowTitleScreen();

}  // namespace quillorn
