// The scene handler slots. A scene is nothing but the handlers it has put here; the window
// procedure calls them on ticks and keys, and an empty slot drops the event.
#pragma once

#include <cstdint>

namespace quillorn {

using Handler = void (*)();
using DirectionKeyHandler = void (*)(int32_t direction);

struct SceneHandlers {
  DirectionKeyHandler directionKeyHandler = nullptr;  // arrow pressed: Direction 0..3
  Handler confirmKeyHandler = nullptr;                // Enter, Space or Z
  Handler eKeyHandler = nullptr;                      // E
  Handler tickHandler = nullptr;                      // every 54 ms timer tick
};

extern SceneHandlers sceneHandlers;

void ClearSceneHandlers();

}  // namespace quillorn
