// The SDL audio device: the default output, stereo 16-bit at the mixer's rate, fed by the
// shared mixer from SDL's audio thread. The game's thread changes voices only while holding
// the device lock, for a few instructions at a time. While nothing can be heard the device is
// closed, since SDL's thread wakes for every period even when paused; it opens again for the
// next sound, and the mixer keeps every voice as it was in between.
#include <SDL.h>

#include <string>

#include "platform/audio/audio.h"
#include "platform/audio/audio_rest.h"
#include "platform/audio/mixer.h"
#include "platform/window/report.h"

namespace quillorn::platform {
namespace {

// 512 frames at 48 kHz: about 11 ms a callback, so a sound starts within a tick.
constexpr Uint16 kCallbackFrames = 512;

SDL_AudioDeviceID device = 0;
bool resting = false;

// With no device open (resting) there is no audio thread to keep out.
void LockDevice() {
  if (device) SDL_LockAudioDevice(device);
}
void UnlockDevice() {
  if (device) SDL_UnlockAudioDevice(device);
}

void SDLCALL FillAudio(void*, Uint8* stream, int length) {
  MixAudio(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(length) / 4);
}

// Opened paused: the caller starts it once the mixer is ready.
bool OpenDevice() {
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(kMixerOutputRate);
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = kCallbackFrames;
  want.callback = FillAudio;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts if the hardware wants another format.
  device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  return device != 0;
}

void Rest(bool rest) {
  resting = rest;
  if (rest) {
    SDL_CloseAudioDevice(device);  // waits for the audio thread to end
    device = 0;
  } else if (!device && OpenDevice()) {
    SDL_PauseAudioDevice(device, 0);
  } else if (!device) {
    // Gone since (unplugged, taken by another program): silence, and the game plays on.
    SaySoundLost(std::string("SDL: ") + SDL_GetError());
  }
}

}  // namespace

bool OpenAudio() {
  if (device || resting) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    SayNoSound(std::string("SDL: ") + SDL_GetError());
    return false;
  }
  if (!OpenDevice()) {
    SayNoSound(std::string("SDL: ") + SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  StartMixer(kMixerOutputRate, LockDevice, UnlockDevice);
  SDL_PauseAudioDevice(device, 0);
  SetAudioRest(Rest);
  return true;
}

void CloseAudio() {
  if (!device && !resting) return;
  SetAudioRest(nullptr);
  if (device) SDL_CloseAudioDevice(device);  // waits for the audio thread to end
  device = 0;
  resting = false;
  StopMixer();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace quillorn::platform
