// The actor table and the state of one game. Record 0 is the king; records 1 to 7 are the
// people of the current room, or the cast of a scene.
#pragma once

#include <cstdint>

namespace quillorn {

struct Actor {
  int32_t present;  // 1 when the record is in use
  int32_t visible;  // 1 when ComposeFrame draws it
  int32_t type;     // 0 the king, 1 to 8 a person type; sheet row = type + 6
  int32_t tileX;    // the tile it stands on, or is stepping onto
  int32_t tileY;
  int32_t pixelX;  // where it is drawn: 32 x tile at rest
  int32_t pixelY;
  int32_t direction;     // 0 up, 1 right, 2 down, 3 left
  int32_t stepProgress;  // pixels walked in the current step, 0 to 32
  int32_t animFrame;     // walking frame, 0 or 1
};

constexpr int32_t kActorCount = 8;
constexpr int32_t kKing = 0;
constexpr int32_t kMaxHearts = 120;

extern Actor actors[kActorCount];

extern int32_t currentRoom;            // 0 to 31
extern int32_t hearts;                 // 0 to 120
extern int32_t showHearts;             // 1 during play: the hearts bar is drawn
extern int32_t beepCounter;            // ticks since the last proximity beep
extern int32_t encounteredActor;       // the person last walked into
extern int32_t placementGrid[16][16];  // [y][x], 1 = taken; scratch for PlacePeople

struct TilePos {
  int32_t x;
  int32_t y;
};

// Every field of all eight records to 0.
void ClearActors();
// Fills record index; stepProgress is left as it was.
void PlaceActor(int32_t index, int32_t type, int32_t x, int32_t y, int32_t direction,
                int32_t visible);
// The tile one step away; 1 when both its coordinates lie in 0 to 15, else 0 (and nothing
// is written).
int32_t NeighbourTile(TilePos tile, int32_t direction, TilePos* neighbour);
void ClearDoorway(int32_t x, int32_t y);
void PlacePeople();
void StartGame();

}  // namespace quillorn
