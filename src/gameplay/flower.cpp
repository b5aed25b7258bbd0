// Sniffing a flower: the king's line, the flower sound, and hearts refilled 10 a tick.
#include "gameplay/actors.h"
#include "gameplay/play.h"
#include "platform/platform.h"
#include "script/script.h"
#include "shell/scene_handlers.h"
#include "sound/sound_bank.h"

namespace quillorn {

namespace {
constexpr int32_t kFlowerSlot = 4;
constexpr int32_t kRefillPerTick = 10;
}  // namespace

void StartFlowerEvent() {
  ClearScript();
  AddScriptCommand(Say, kKing, 0, 0, 64, "う～ん、よい香りじゃのう");
  AddScriptCommand(End, 0, 0, 0, 0, "");
  RunScript();
  scriptDoneHandler = FlowerMessageDone;
}

void FlowerMessageDone() {
  PlaySoundSlot(kFlowerSlot, 0, 0);  // nothing ever changes this slot's rate
  platform::ShowSoundCue(platform::SoundCue::kTune);
  ClearSceneHandlers();
  sceneHandlers.tickHandler = RefillTick;
}

void RefillTick() {
  hearts += kRefillPerTick;
  if (hearts > kMaxHearts) hearts = kMaxHearts;
  ComposeFrame();
  platform::InvalidateRect(nullptr);
  if (hearts == kMaxHearts) ResumePlay();
}

}  // namespace quillorn
