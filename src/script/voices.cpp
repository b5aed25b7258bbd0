// The typing tick handlers: one character a tick, each voiced by the beep at the speaker's
// pitch with a little random jitter; narration is much lower.
#include "gameplay/actors.h"
#include "platform/platform.h"
#include "script/message_box.h"
#include "script/script.h"
#include "shell/random.h"
#include "shell/scene_handlers.h"
#include "sound/sound_bank.h"

namespace quillorn {

int32_t sayBeepCount = 0;
int32_t narrateBeepCount = 0;

namespace {

constexpr int32_t kNarrationFrequency = 12000;
constexpr int32_t kPitchJitter = 4000;

// Two voices of the beep take turns, so a beep can start while the last one still sounds.
void TypeVoiced(int32_t& beepCount, int32_t baseFrequency) {
  beepCount += 1;
  if (TypeNextCharacter()) {
    int32_t slot = beepCount % 2 != 0 ? 1 : 2;
    PlaySoundSlot(slot, 0, uint32_t(baseFrequency + Random() % kPitchJitter));
    platform::ShowSoundCue(platform::SoundCue::kVoice);
    platform::InvalidateRect(nullptr);
    return;
  }
  // The line is out: wait for the confirm key, with no tick handler and no beep.
  ClearSceneHandlers();
  sceneHandlers.confirmKeyHandler = ConfirmMessage;
}

}  // namespace

int32_t VoiceBaseFrequency(int32_t type) {
  static constexpr int32_t kByType[9] = {26000, 32000, 20000, 28000, 20000,
                                         24000, 32000, 30000, 34000};
  return type >= 0 && type <= 8 ? kByType[type] : 30000;
}

void SayTick() {
  int32_t speaker = scriptCommands[scriptIndex & (kScriptLength - 1)].param1;
  // A speaker outside the table still speaks, with the voice of an unknown type.
  int32_t type = speaker >= 0 && speaker < kActorCount ? actors[speaker].type : -1;
  TypeVoiced(sayBeepCount, VoiceBaseFrequency(type));
}

void NarrateTick() {
  TypeVoiced(narrateBeepCount, kNarrationFrequency);
}

}  // namespace quillorn
