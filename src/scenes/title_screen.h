// The title screen, the game's hub: GAME, STORY, HELP and END.
#pragma once

#include <cstdint>

namespace quillorn {

extern int32_t titleMenuIndex;  // 0 to 3, back to 0 each time the title is shown
extern int32_t menuBeepCount;   // cursor moves since program start; parity picks the slot

void ShowTitleScreen();
void DrawTitleMenu();
void TitleDirectionKey(int32_t direction);
void TitleConfirmKey();

}  // namespace quillorn
