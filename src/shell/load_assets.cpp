#include "shell/load_assets.h"

#include <cstring>

#include "gameplay/castle_map.h"
#include "platform/platform.h"
#include "scenes/title_screen.h"
#include "shell/scene_handlers.h"
#include "sound/sound_bank.h"

namespace quillorn {

DirectionStep DirectionDelta[4];

void LoadAssets() {
  // Emptying the slots first means this runs once.
  ClearSceneHandlers();

  // A map resource shorter than the castle counts as missing: it is never read past its
  // end, and without it no scene starts (only the menu acts).
  platform::Resource map;
  if (!platform::FindResource("map", "map", map) || map.size < kCastleMapSize) return;
  std::memcpy(castleMap, map.data, kCastleMapSize);

  DirectionDelta[0] = {0, -1};
  DirectionDelta[1] = {1, 0};
  DirectionDelta[2] = {0, 1};
  DirectionDelta[3] = {-1, 0};

  // A sound that fails to load leaves its slot empty and silent; nothing else changes.
  LoadWaveSlot(0, "ed");
  LoadWaveSlot(1, "beep");
  DuplicateSoundSlot(1, 2);
  LoadWaveSlot(3, "gameover");
  LoadWaveSlot(4, "flower");

  // The title screen starts on the next tick, not within this one.
  sceneHandlers.tickHandler = ShowTitleScreen;
}

}  // namespace quillorn
