// The castle: 32 rooms of 16 x 16 tiles, copied byte for byte from the MAP resource at
// start-up and never written afterwards.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillorn {

struct Exit {
  int8_t destination;  // room 0 to 31
  int8_t arrivalX;
  int8_t arrivalY;
  int8_t reserved;
};

struct Room {
  uint8_t reserved;
  int8_t personTypes[7];  // slots 1 to 7: 0 nobody, else a person type 1 to 8
  Exit exits[8];          // Exit n at index n; index 0 never names a doorway
  int16_t cells[256];     // low byte: tile id (row-major); high byte: exit number (transposed)
};
static_assert(sizeof(Room) == 552, "a room record is 552 bytes");

constexpr int32_t kRoomCount = 32;
constexpr size_t kCastleMapSize = sizeof(Room) * kRoomCount;  // 17664
static_assert(kCastleMapSize == 17664);

extern Room castleMap[kRoomCount];

// Tile ids: below 40 floor, 40 and above block; 97 and 117 are flowers.
constexpr int32_t kFirstBlockingTile = 40;
constexpr int32_t MapTileFlowerA = 97;
constexpr int32_t MapTileFlowerU = 117;
constexpr int32_t BorderTile = 119;

int32_t TileId(int32_t room, int32_t x, int32_t y);
// The exit layer is stored transposed against the tile layer: the exit number of tile
// (x, y) is the high byte of cell x * 16 + y.
int32_t ExitNumber(int32_t room, int32_t x, int32_t y);

}  // namespace quillorn
