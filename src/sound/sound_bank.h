// The sound bank: five slots, each one voice of a recorded sound that plays at any rate.
#pragma once

#include <cstdint>

namespace quillorn {

int InitSound();  // 1 when the device is ready
int LoadWaveSlot(int32_t slot, const char* name);
int DuplicateSoundSlot(int32_t source, int32_t target);
void PlaySoundSlot(int32_t slot, int32_t loop, uint32_t frequency);
void StopAllSounds();
void FreeSound();

}  // namespace quillorn
