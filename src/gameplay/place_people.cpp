// Where the hidden people of a room stand: random free tiles, never on a doorway, in the
// corridor behind it, around its mouth, on the king's tile or on another person.
#include "gameplay/actors.h"
#include "gameplay/castle_map.h"
#include "gameplay/room_picture.h"
#include "shell/random.h"

namespace quillorn {

namespace {

constexpr int32_t kListCapacity = 256;
// Random draws before falling back to the first free tile in row order.
constexpr int32_t kPlacementTries = 4096;

void Take(TilePos t) {
  placementGrid[t.y][t.x] = 1;
}

bool Taken(TilePos t) {
  return placementGrid[t.y][t.x] != 0;
}

bool IsBorder(int32_t x, int32_t y) {
  return x == 0 || y == 0 || x > 13 || y > 13;
}

// A free tile for one person, or false when the room has none left.
bool FindFreeTile(TilePos* out) {
  for (int32_t i = 0; i < kPlacementTries; ++i) {
    int32_t x = Random() % 16;
    int32_t y = Random() % 16;
    if (!placementGrid[y][x]) {
      *out = {x, y};
      return true;
    }
  }
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      if (!placementGrid[y][x]) {
        *out = {x, y};
        return true;
      }
  return false;
}

}  // namespace

// Walks from the doorway along its one-tile corridor and takes the corridor, its mouth (the
// first tile with two free neighbours) and the mouth's four neighbours.
void ClearDoorway(int32_t x, int32_t y) {
  TilePos current[kListCapacity];
  TilePos next[kListCapacity];
  int32_t currentCount = 1;
  current[0] = {x, y};
  while (currentCount > 0) {
    int32_t nextCount = 0;
    for (int32_t i = 0; i < currentCount; ++i) {
      TilePos tile = current[i];
      Take(tile);
      int32_t free = 0;
      for (int32_t d = 0; d < 4; ++d) {
        TilePos n;
        if (NeighbourTile(tile, d, &n) && !Taken(n)) {
          if (nextCount < kListCapacity) next[nextCount++] = n;
          ++free;
        }
      }
      if (free >= 2) {
        for (int32_t d = 0; d < 4; ++d) {
          TilePos n;
          if (NeighbourTile(tile, d, &n)) Take(n);
        }
        return;
      }
    }
    for (int32_t i = 0; i < nextCount; ++i) current[i] = next[i];
    currentCount = nextCount;
  }
}

void PlacePeople() {
  for (auto& row : placementGrid)
    for (int32_t& cell : row) cell = 0;

  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      if (TileId(currentRoom, x, y) >= kFirstBlockingTile || IsBorder(x, y))
        placementGrid[y][x] = 1;

  // Column by column: later doorways see the marks of earlier ones.
  for (int32_t x = 0; x < 16; ++x)
    for (int32_t y = 0; y < 16; ++y)
      if (ExitNumber(currentRoom, x, y) != 0) {
        placementGrid[y][x] = 1;
        ClearDoorway(x, y);
      }

  const Actor& king = actors[kKing];
  if (king.tileX >= 0 && king.tileX < 16 && king.tileY >= 0 && king.tileY < 16)
    placementGrid[king.tileY][king.tileX] = 1;

  for (int32_t k = 1; k < kActorCount; ++k) {
    actors[k].present = 0;
    int32_t type = castleMap[currentRoom].personTypes[k - 1];
    if (type == 0) continue;
    TilePos tile;
    if (!FindFreeTile(&tile)) continue;  // a full room leaves the slot empty
    placementGrid[tile.y][tile.x] = 1;
    int32_t direction = Random() % 2;  // up or right
    PlaceActor(k, type, tile.x, tile.y, direction, 0);
  }

  DrawRoomPicture();
}

}  // namespace quillorn
