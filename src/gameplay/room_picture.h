// The static picture of the current room, drawn into RoomBuffer when the room is entered.
#pragma once

namespace quillorn {

void DrawRoomPicture();

}  // namespace quillorn
