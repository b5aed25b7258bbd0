// The graphics objects: the sprite sheet, the back buffer that holds the frame, the room
// buffer that holds the static picture of a room, the palette and the message font.
#pragma once

namespace quillorn {

int InitGraphics();  // 0 when the sheet could not be loaded, else 1
void FreeGraphics();
void ClearBackBuffer();
void PaintWindow();

}  // namespace quillorn
