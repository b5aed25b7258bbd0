// Standing and walking: a held arrow starts a step of one tile, 8 ticks of 4 pixels, that
// costs one heart when it is complete.
#include "gameplay/actors.h"
#include "gameplay/beeps.h"
#include "gameplay/castle_map.h"
#include "gameplay/encounter.h"
#include "gameplay/hearts_out.h"
#include "gameplay/play.h"
#include "gameplay/survey.h"
#include "graphics/graphics.h"
#include "platform/platform.h"
#include "scenes/ending.h"
#include "shell/load_assets.h"
#include "shell/main_window.h"
#include "shell/scene_handlers.h"

namespace quillorn {

namespace {

constexpr int32_t kSecretRoom = 31;
constexpr int32_t kStepPixels = 4;
constexpr int32_t kFootprintsY = 512;

void InvalidateAll() {
  platform::InvalidateRect(nullptr);
}

bool OnField(int32_t x, int32_t y) {
  return x >= 0 && x <= 15 && y >= 0 && y <= 15;
}

}  // namespace

void ResumePlay() {
  ClearSceneHandlers();
  ComposeFrame();
  InvalidateAll();
  sceneHandlers.tickHandler = PlayTick;
  sceneHandlers.confirmKeyHandler = SurveyRoom;
  sceneHandlers.eKeyHandler = RevealAll;
}

void PlayTick() {
  int32_t d = heldDirection;
  // Only a standing king with no arrow held listens: an arrow held against a wall plays no
  // beep.
  if (d == kDirectionNone || d < 0 || d > 3) {
    BeepTick();
    return;
  }
  Actor& king = actors[kKing];
  int32_t tx = king.tileX + DirectionDelta[d].dx;
  int32_t ty = king.tileY + DirectionDelta[d].dy;
  king.direction = d;  // he turns whatever happens next
  if (!OnField(tx, ty)) return;

  int32_t tile = TileId(currentRoom, tx, ty);
  if (tile == MapTileFlowerA || tile == MapTileFlowerU) {
    ComposeFrame();
    InvalidateAll();
    StartFlowerEvent();
    return;
  }
  if (tile >= kFirstBlockingTile) {
    ResumePlay();  // redrawn facing the obstacle; no heart spent
    return;
  }
  // Hidden or revealed, a person on the target tile is walked into.
  for (int32_t k = 1; k < kActorCount; ++k) {
    if (actors[k].present && actors[k].tileX == tx && actors[k].tileY == ty) {
      StartEncounter(k);
      return;
    }
  }

  // Footprints go into the room picture and stay until the room is drawn again.
  DrawSheetToRoom(32 * king.tileX, 32 * king.tileY, 32, 32, 32 * d, kFootprintsY, 1);
  king.stepProgress = 0;
  king.tileX = tx;
  king.tileY = ty;
  ClearSceneHandlers();
  sceneHandlers.tickHandler = StepTick;
  StepTick();  // the first 4 pixels are walked in this same tick
}

void StepTick() {
  BeepTick();
  Actor& king = actors[kKing];
  int32_t d = king.direction & 3;
  king.pixelX += kStepPixels * DirectionDelta[d].dx;
  king.pixelY += kStepPixels * DirectionDelta[d].dy;
  king.animFrame = king.stepProgress < 16 ? 1 : 0;
  king.stepProgress += kStepPixels;
  if (king.stepProgress < 32) {
    ComposeFrame();
    // Mid-step only the square around the king is repainted.
    platform::Rect around{king.pixelX - 8, king.pixelY - 8, king.pixelX + 40, king.pixelY + 40};
    platform::InvalidateRect(&around);
    return;
  }

  hearts -= 1;
  if (hearts <= 0) {
    ComposeFrame();
    InvalidateAll();
    OutOfHearts();
    return;
  }
  int32_t n = OnField(king.tileX, king.tileY) ? ExitNumber(currentRoom, king.tileX, king.tileY) : 0;
  if (n >= 1 && n <= 7)
    EnterRoom(castleMap[currentRoom].exits[n]);
  else
    ResumePlay();
}

void EnterRoom(const Exit& exit) {
  if (exit.destination == kSecretRoom) {
    StartEndingScene();
    return;
  }
  // An exit that names no room of the castle, or an arrival off the field, is not taken:
  // the king stays standing on the doorway.
  if (exit.destination < 0 || exit.destination >= kRoomCount ||
      !OnField(exit.arrivalX, exit.arrivalY)) {
    ResumePlay();
    return;
  }
  Actor& king = actors[kKing];
  int32_t d = king.direction & 3;
  // The staircase into room 5 can be stepped onto from any side; its way out lies to the
  // right of the arrival tile, so the king always comes out walking left.
  if (exit.destination == 5 && exit.arrivalX == 11 && exit.arrivalY == 7) d = 3;
  PlaceActor(kKing, 0, exit.arrivalX, exit.arrivalY, d, 1);
  currentRoom = exit.destination;
  PlacePeople();
  // Drawn one tile back, on the doorway of the new room, and walks out of it.
  king.pixelX -= 32 * DirectionDelta[d].dx;
  king.pixelY -= 32 * DirectionDelta[d].dy;
  king.stepProgress = 0;
  ComposeFrame();
  InvalidateAll();
  ClearSceneHandlers();
  sceneHandlers.tickHandler = StepTick;
}

}  // namespace quillorn
