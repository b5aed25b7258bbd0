// Placeholder until the mixer and the recordings land; removed with them.
#include "sound/sound_bank.h"

namespace quillorn {

int InitSound() { return 0; }
int LoadWaveSlot(int32_t, const char*) { return 0; }
int DuplicateSoundSlot(int32_t, int32_t) { return 0; }
void PlaySoundSlot(int32_t, int32_t, uint32_t) {}
void StopAllSounds() {}
void FreeSound() {}

}  // namespace quillorn
