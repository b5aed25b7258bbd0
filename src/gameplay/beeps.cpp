// The proximity beep: the nearest person, hidden or not, by Manhattan distance in tiles.
// The nearer, the faster the beeps and the higher their pitch; from 20 tiles, silence.
#include "gameplay/beeps.h"

#include "gameplay/actors.h"
#include "platform/platform.h"
#include "sound/sound_bank.h"

namespace quillorn {

namespace {
constexpr int32_t kSilentDistance = 20;
constexpr int32_t kPitchStep = 1800;
constexpr int32_t kMaxOffset = 34000;
constexpr uint32_t kTopRate = 36000;
constexpr int32_t kBeepSlot = 1;

int32_t Distance(int32_t a, int32_t b) {
  return a < b ? b - a : a - b;
}
}  // namespace

void BeepTick() {
  const Actor& king = actors[kKing];
  int32_t nearest = kSilentDistance;
  for (int32_t k = 1; k < kActorCount; ++k) {
    const Actor& p = actors[k];
    if (!p.present) continue;
    int32_t d = Distance(p.tileX, king.tileX) + Distance(p.tileY, king.tileY);
    if (d < nearest) nearest = d;
  }
  if (nearest == kSilentDistance) return;  // the counter keeps its value
  if (nearest < 1) nearest = 1;
  int32_t offset = kPitchStep * nearest;
  if (offset > kMaxOffset) offset = kMaxOffset;
  // The counter carries across changes of distance and rooms, so a beep may come early.
  beepCounter += 1;
  if (beepCounter < nearest + 1) return;
  beepCounter = 0;
  PlaySoundSlot(kBeepSlot, 0, kTopRate - uint32_t(offset));
  // Told to the platform too, with its distance, for a player who cannot hear it.
  platform::ShowSoundCue(platform::SoundCue::kProximityBeep, nearest);
}

}  // namespace quillorn
