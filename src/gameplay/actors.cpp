#include "gameplay/actors.h"

#include "shell/load_assets.h"

namespace quillorn {

Actor actors[kActorCount];

int32_t currentRoom = 0;
int32_t hearts = 0;
int32_t showHearts = 0;
int32_t beepCounter = 0;
int32_t encounteredActor = 0;
int32_t placementGrid[16][16];

void ClearActors() {
  for (Actor& a : actors) a = Actor{};
}

void PlaceActor(int32_t index, int32_t type, int32_t x, int32_t y, int32_t direction,
                int32_t visible) {
  if (index < 0 || index >= kActorCount) return;
  Actor& a = actors[index];
  a.present = 1;
  a.type = type;
  a.tileX = x;
  a.tileY = y;
  a.pixelX = 32 * x;
  a.pixelY = 32 * y;
  a.direction = direction;
  a.visible = visible;
  a.animFrame = 0;  // stepProgress is left as it was
}

int32_t NeighbourTile(TilePos tile, int32_t direction, TilePos* neighbour) {
  if (direction < 0 || direction > 3) return 0;
  TilePos n{tile.x + DirectionDelta[direction].dx, tile.y + DirectionDelta[direction].dy};
  if (n.x < 0 || n.x > 15 || n.y < 0 || n.y > 15) return 0;
  *neighbour = n;
  return 1;
}

}  // namespace quillorn
