// The sound bank: five slots, each one voice of a recorded sound. Slot 2 is meant to be a
// second voice of slot 1's beep so that two beeps can overlap at different pitches.
#include "sound/sound_bank.h"

#include "platform/audio/audio.h"
#include "platform/platform.h"
#include "sound/wave_file.h"

namespace quillorn {
namespace {

constexpr int32_t kSlotCount = 5;
constexpr int32_t kMusicSlot = 0;  // the ending's tune, which the staff roll repeats

struct SoundBank {
  bool device = false;
  platform::SoundBuffer slots[kSlotCount] = {};
  uint32_t starts[kSlotCount] = {};
};

SoundBank bank;

bool ValidSlot(int32_t slot) {
  return slot >= 0 && slot < kSlotCount;
}

void EmptySlot(int32_t slot) {
  if (!bank.slots[slot]) return;
  platform::StopBuffer(bank.slots[slot]);
  platform::ReleaseBuffer(bank.slots[slot]);
  bank.slots[slot] = 0;
}

}  // namespace

int InitSound() {
  for (int32_t slot = 0; slot < kSlotCount; ++slot) EmptySlot(slot);
  bank.device = platform::OpenAudio();
  return bank.device ? 1 : 0;
}

int LoadWaveSlot(int32_t slot, const char* name) {
  if (!ValidSlot(slot) || !bank.device) return 0;
  platform::Resource resource;
  if (!platform::FindResource("WAVE", name, resource)) return 0;
  WaveSound wave;
  if (!ParseWave(resource.data, resource.size, wave)) return 0;
  // From here the old sound is gone, even if the device refuses the new one.
  EmptySlot(slot);
  bank.slots[slot] = platform::CreateSoundBuffer(wave.format, wave.data, wave.dataSize);
  // The music follows the player's music volume, every other slot the effects volume.
  if (slot == kMusicSlot) platform::SetBufferGroup(bank.slots[slot], platform::SoundGroup::kMusic);
  return bank.slots[slot] ? 1 : 0;
}

int DuplicateSoundSlot(int32_t source, int32_t target) {
  if (!bank.device || !ValidSlot(source) || !ValidSlot(target)) return 0;
  EmptySlot(target);
  bank.slots[target] = platform::DuplicateSoundBuffer(bank.slots[source]);
  return bank.slots[target] ? 1 : 0;
}

void PlaySoundSlot(int32_t slot, int32_t loop, uint32_t frequency) {
  if (!ValidSlot(slot) || !bank.device || !bank.slots[slot]) return;
  // A rate of 0 keeps whatever rate the slot last had.
  if (frequency != 0) platform::SetBufferRate(bank.slots[slot], frequency);
  platform::PlayBuffer(bank.slots[slot], loop != 0);
  bank.starts[slot] += 1;
}

void StopAllSounds() {
  if (!bank.device) return;
  for (platform::SoundBuffer buffer : bank.slots) {
    if (buffer) platform::StopBuffer(buffer);
  }
}

void FreeSound() {
  for (int32_t slot = 0; slot < kSlotCount; ++slot) EmptySlot(slot);
  if (bank.device) platform::CloseAudio();
  bank.device = false;
}

uint32_t SoundSlotStarts(int32_t slot) {
  return ValidSlot(slot) ? bank.starts[slot] : 0;
}

uint32_t SoundSlotRate(int32_t slot) {
  return ValidSlot(slot) && bank.slots[slot] ? platform::BufferRate(bank.slots[slot]) : 0;
}

bool SoundSlotPlaying(int32_t slot) {
  return ValidSlot(slot) && bank.slots[slot] && platform::BufferPlaying(bank.slots[slot]);
}

}  // namespace quillorn
