// The first tick handler: puts the castle map and the direction table in memory, fills the
// sound bank and hands over to the title screen on the next tick.
#pragma once

#include <cstdint>

namespace quillorn {

struct DirectionStep {
  int32_t dx;
  int32_t dy;
};

// Tiles moved by one step in direction 0 up, 1 right, 2 down, 3 left (y grows downwards).
// Written by LoadAssets, so it is all zeros before the first tick.
extern DirectionStep DirectionDelta[4];

void LoadAssets();

}  // namespace quillorn
