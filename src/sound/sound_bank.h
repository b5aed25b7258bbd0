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

// What a listener can tell of a slot: how many times it has been started since the program
// began, the rate it plays at (0 when empty) and whether it sounds now.
uint32_t SoundSlotStarts(int32_t slot);
uint32_t SoundSlotRate(int32_t slot);
bool SoundSlotPlaying(int32_t slot);

}  // namespace quillorn
