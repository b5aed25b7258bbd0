// Staging: waits, walks of one tile, turns, fidgets and blinks of the script's actors. Each
// handler reads the current command afresh every tick and ends with NextScriptCommand.
#include "script/staging.h"

#include "gameplay/actors.h"
#include "gameplay/play.h"
#include "platform/platform.h"
#include "script/script.h"
#include "shell/load_assets.h"

namespace quillorn {

namespace {

const ScriptCommand& Current() {
  return scriptCommands[scriptIndex & (kScriptLength - 1)];
}

bool ValidActor(int32_t index) {
  return index >= 0 && index < kActorCount;
}

bool ValidDirection(int32_t d) {
  return d >= 0 && d <= 3;
}

// Elapsed time against the duration, so a wrap of the millisecond clock cannot end a wait
// early.
bool StillWaiting(uint32_t duration) {
  return platform::GetTickCount() - commandStartTime < duration;
}

void Redraw() {
  ComposeFrame();
  platform::InvalidateRect(nullptr);
}

// A timed step of Animate or Blink; the end test follows the step, so a count of 0 or less
// still makes one.
void CountStep() {
  commandStep += 1;
  if (commandStep >= Current().param2) NextScriptCommand();
}

}  // namespace

void AnimateTick() {
  const ScriptCommand& c = Current();
  if (!ValidActor(c.param1)) return NextScriptCommand();
  if (StillWaiting(c.param4)) return;
  commandStartTime = platform::GetTickCount();
  Actor& a = actors[c.param1];
  a.animFrame = a.animFrame + 1 > 1 ? 0 : a.animFrame + 1;
  Redraw();
  CountStep();
}

// Even steps show the actor and odd steps hide it: an odd count ends shown.
void BlinkTick() {
  const ScriptCommand& c = Current();
  if (!ValidActor(c.param1)) return NextScriptCommand();
  if (StillWaiting(c.param4)) return;
  commandStartTime = platform::GetTickCount();
  actors[c.param1].visible = commandStep % 2 == 0 ? 1 : 0;
  Redraw();
  CountStep();
}

// Only the pixels move: the tile stays, and neither walls nor actors stop the walk.
void WalkTick() {
  const ScriptCommand& c = Current();
  if (!ValidActor(c.param1) || !ValidDirection(c.param3)) return NextScriptCommand();
  int32_t speed = c.param2 != 0 ? 8 : 4;
  Actor& a = actors[c.param1];
  a.pixelX += DirectionDelta[c.param3].dx * speed;
  a.pixelY += DirectionDelta[c.param3].dy * speed;
  a.direction = c.param3;
  a.animFrame = walkProgress < 16 ? 1 : 0;
  walkProgress += speed;
  Redraw();
  if (walkProgress >= 32) NextScriptCommand();
}

void WaitTick() {
  if (!StillWaiting(Current().param4)) NextScriptCommand();
}

// The longer distance wins; a tie, or the king's own tile, faces up or down.
void FaceKingTick() {
  const ScriptCommand& c = Current();
  if (!ValidActor(c.param1)) return NextScriptCommand();
  Actor& a = actors[c.param1];
  const Actor& king = actors[kKing];
  int32_t dx = a.tileX - king.tileX, dy = a.tileY - king.tileY;
  int32_t across = dx < 0 ? -dx : dx, along = dy < 0 ? -dy : dy;
  if (across > along)
    a.direction = king.tileX <= a.tileX ? 3 : 1;
  else
    a.direction = king.tileY > a.tileY ? 2 : 0;
  Redraw();
  NextScriptCommand();
}

void TurnTick() {
  const ScriptCommand& c = Current();
  if (!ValidActor(c.param1) || !ValidDirection(c.param3)) return NextScriptCommand();
  actors[c.param1].direction = c.param3;
  Redraw();
  NextScriptCommand();
}

}  // namespace quillorn
