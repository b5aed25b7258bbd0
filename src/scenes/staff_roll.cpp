// The staff roll: the credits panel above a corridor with flower pots, where the whole cast
// walks back and forth without end while the ending music loops.
#include "scenes/staff_roll.h"

#include "gameplay/actors.h"
#include "graphics/graphics.h"
#include "platform/platform.h"
#include "shell/scene_handlers.h"
#include "sound/sound_bank.h"

namespace quillorn {

namespace {

constexpr int32_t kTile = 32;
constexpr int32_t kWalkerCount = 8;  // the king, the queen and six people; type 8 stays home
constexpr int32_t kWalkerY = 316;
constexpr int32_t kKingStartX = 480;  // just beyond the right edge of the window
constexpr int32_t kFollowerStartX = 544;
constexpr int32_t kFollowerSpacing = 40;
constexpr int32_t kWalkSpeed = 4;
// Far enough outside the window that walkers going opposite ways are never seen together.
constexpr int32_t kTurnRightBelow = -224;
constexpr int32_t kTurnLeftAbove = 672;
constexpr int32_t kTicksPerFrame = 3;
constexpr int32_t kLeft = 3;
constexpr int32_t kRight = 1;

// Sheet pieces.
constexpr int32_t kBlackX = 608, kBlackY = 160;
constexpr int32_t kPanelX = 480, kPanelY = 544, kPanelWidth = 160, kPanelHeight = 128;
constexpr int32_t kWallTopX = 32, kWallTopY = 128;
constexpr int32_t kWallFaceX = 32, kWallFaceY = 160;
constexpr int32_t kFloorX = 0, kFloorY = 0;
constexpr int32_t kPotX = 544, kPotY = 128;
constexpr int32_t kShadowX = 0, kShadowY = 480;
constexpr int32_t kBodyRowY = 192;

void TileToRoom(int32_t x, int32_t y, int32_t srcX, int32_t srcY) {
  DrawSheetToRoom(x, y, kTile, kTile, srcX, srcY, 0);
}

void DrawStaffRollPicture() {
  for (int32_t y = 0; y < kFrameHeight; y += kTile)
    for (int32_t x = 0; x < kFrameWidth; x += kTile) TileToRoom(x, y, kBlackX, kBlackY);
  DrawSheetToRoom(160, 64, kPanelWidth, kPanelHeight, kPanelX, kPanelY, 0);
  for (int32_t n = 0; n < kFrameWidth / kTile; ++n) {
    int32_t x = kTile * n;
    TileToRoom(x, 240, kWallTopX, kWallTopY);
    TileToRoom(x, 256, kWallFaceX, kWallFaceY);  // covers the lower half of the wall top
    TileToRoom(x, 288, kFloorX, kFloorY);
    if (n % 4 == 2) TileToRoom(x, 288, kPotX, kPotY);
    TileToRoom(x, 320, kFloorX, kFloorY);
    TileToRoom(x, 352, kFloorX, kFloorY);
    if (n % 4 == 0) TileToRoom(x, 352, kPotX, kPotY);
    TileToRoom(x, 384, kWallTopX, kWallTopY);
    TileToRoom(x, 416, kWallFaceX, kWallFaceY);
  }
}

}  // namespace

void StartStaffRoll() {
  ClearSceneHandlers();
  StopAllSounds();
  PlaySoundSlot(0, 1, 0);  // the ending music from its start, looping, at its own rate
  DrawStaffRollPicture();
  ClearActors();
  for (int32_t i = 0; i < kWalkerCount; ++i) {
    actors[i].type = i;
    actors[i].direction = kLeft;
    actors[i].pixelX = i == 0 ? kKingStartX : kFollowerStartX + kFollowerSpacing * i;
    actors[i].pixelY = kWalkerY;
  }
  // Nothing is drawn yet: the first tick draws the first frame.
  sceneHandlers.tickHandler = StaffRollTick;
}

void StaffRollTick() {
  for (int32_t i = 0; i < kWalkerCount; ++i) {
    Actor& a = actors[i];
    a.pixelX += a.direction == kRight ? kWalkSpeed : -kWalkSpeed;
    // The turn shows from the next tick on.
    if (a.direction == kLeft && a.pixelX < kTurnRightBelow)
      a.direction = kRight;
    else if (a.direction == kRight && a.pixelX > kTurnLeftAbove)
      a.direction = kLeft;
    if (++a.stepProgress == kTicksPerFrame) {
      a.stepProgress = 0;
      a.animFrame = 1 - a.animFrame;
    }
  }
  DrawStaffRoll();
  platform::InvalidateRect(nullptr);
}

void DrawStaffRoll() {
  CopyRoomToBack();
  // In index order, not by y: all walkers share one row.
  for (int32_t i = 0; i < kWalkerCount; ++i) {
    const Actor& a = actors[i];
    DrawSpriteToBack(a.pixelX, a.pixelY, kTile, kTile, kShadowX, kShadowY);
    DrawSpriteToBack(a.pixelX, a.pixelY - 4, kTile, kTile, kTile * (a.animFrame + 2 * a.direction),
                     kBodyRowY + kTile * i);
  }
}

}  // namespace quillorn
