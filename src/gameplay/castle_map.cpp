#include "gameplay/castle_map.h"

namespace quillorn {

Room castleMap[kRoomCount];

int32_t TileId(int32_t room, int32_t x, int32_t y) {
  return uint8_t(castleMap[room].cells[y * 16 + x] & 0xFF);
}

int32_t ExitNumber(int32_t room, int32_t x, int32_t y) {
  return castleMap[room].cells[x * 16 + y] / 256;  // signed, rounded toward zero
}

}  // namespace quillorn
