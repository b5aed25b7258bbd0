// The SDL audio device: the default output, stereo 16-bit at the mixer's rate, fed by the
// shared mixer from SDL's audio thread. The game's thread changes voices only while holding
// the device lock, for a few instructions at a time. While nothing can be heard the device
// is paused, and SDL's thread sleeps.
#include <SDL.h>

#include "platform/audio/audio.h"
#include "platform/audio/audio_rest.h"
#include "platform/audio/mixer.h"

namespace quillorn::platform {
namespace {

// 512 frames at 48 kHz: about 11 ms a callback, so a sound starts within a tick.
constexpr Uint16 kCallbackFrames = 512;

SDL_AudioDeviceID device = 0;

void LockDevice() {
  SDL_LockAudioDevice(device);
}
void UnlockDevice() {
  SDL_UnlockAudioDevice(device);
}

void Rest(bool rest) {
  SDL_PauseAudioDevice(device, rest ? 1 : 0);
}

void SDLCALL FillAudio(void*, Uint8* stream, int length) {
  MixAudio(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(length) / 4);
}

}  // namespace

bool OpenAudio() {
  if (device) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(kMixerOutputRate);
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = kCallbackFrames;
  want.callback = FillAudio;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts if the hardware wants another format.
  device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (!device) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_LockAudioDevice(device);
  StartMixer(kMixerOutputRate, LockDevice, UnlockDevice);
  SDL_UnlockAudioDevice(device);
  SDL_PauseAudioDevice(device, 0);
  SetAudioRest(Rest);
  return true;
}

void CloseAudio() {
  if (!device) return;
  SetAudioRest(nullptr);
  SDL_CloseAudioDevice(device);  // waits for the audio thread to end
  device = 0;
  StopMixer();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace quillorn::platform
