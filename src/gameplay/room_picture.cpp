#include "gameplay/room_picture.h"

#include "gameplay/actors.h"
#include "gameplay/castle_map.h"
#include "graphics/graphics.h"

namespace quillorn {

void DrawRoomPicture() {
  for (int32_t row = 0; row < 16; ++row) {
    for (int32_t column = 0; column < 16; ++column) {
      // The border ring is drawn black whatever the data hold there.
      bool border = row == 0 || column == 0 || row > 13 || column > 13;
      int32_t tile = border ? BorderTile : TileId(currentRoom, column, row);
      // Column 15 falls outside the picture and is clipped away.
      DrawSheetToRoom(32 * column, 32 * row, 32, 32, 32 * (tile % 20), 32 * (tile / 20), 0);
    }
  }
}

}  // namespace quillorn
