// The castle map's length check: arbitrary bytes as the "MAP" resource. A resource shorter
// than the castle must leave every slot empty; a long enough one is copied byte for byte
// and hands over to the title screen, and every room of it can be drawn.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "gameplay/actors.h"
#include "gameplay/castle_map.h"
#include "gameplay/room_picture.h"
#include "graphics/graphics.h"
#include "platform/headless/headless.h"
#include "scenes/title_screen.h"
#include "shell/load_assets.h"
#include "shell/scene_handlers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  using namespace quillorn;
  static bool graphics = false;
  if (!graphics) {  // the real sheet, once: drawing the rooms reads it
    headless::Reset();
    InitGraphics();
    graphics = true;
  }
  std::memset(castleMap, 0, sizeof castleMap);
  ClearSceneHandlers();
  sceneHandlers.tickHandler = LoadAssets;
  headless::OverrideResource("MAP", "MAP", std::vector<uint8_t>(bytes, bytes + size));
  LoadAssets();
  const bool loaded = sceneHandlers.tickHandler == ShowTitleScreen;
  if (loaded != (size >= kCastleMapSize)) std::abort();
  if (!loaded) {
    if (sceneHandlers.tickHandler || sceneHandlers.confirmKeyHandler ||
        sceneHandlers.directionKeyHandler || sceneHandlers.eKeyHandler)
      std::abort();
    return 0;
  }
  if (std::memcmp(castleMap, bytes, kCastleMapSize) != 0) std::abort();
  for (int32_t room = 0; room < kRoomCount; ++room) {
    currentRoom = room;
    DrawRoomPicture();
    for (int32_t i = 0; i < 256; ++i) {
      int32_t tile = TileId(room, i % 16, i / 16), exit = ExitNumber(room, i % 16, i / 16);
      if (tile < 0 || tile > 255 || exit < -128 || exit > 127) std::abort();
    }
  }
  return 0;
}
