// Resting the sound device: the mixer says when no voice can be heard; the backend pauses.
#include "platform/audio/audio_rest.h"

#include "platform/audio/mixer.h"

namespace quillorn::platform {

namespace {

struct Rest {
  AudioRestFn fn = nullptr;
  bool resting = false;
  int silentTicks = 0;
};
Rest g_rest;

void Set(bool rest) {
  if (!g_rest.fn || g_rest.resting == rest) return;
  g_rest.resting = rest;
  g_rest.fn(rest);
}

}  // namespace

void SetAudioRest(AudioRestFn fn) {
  g_rest = Rest();
  g_rest.fn = fn;
}

void AudioRestCheck() {
  if (!g_rest.fn || g_rest.resting) return;
  g_rest.silentTicks = MixerSilent() ? g_rest.silentTicks + 1 : 0;
  if (g_rest.silentTicks >= kQuietTicks) Set(true);
}

void AudioWake() {
  if (!g_rest.fn || MixerSilent()) return;  // a sound that cannot be heard changes nothing
  g_rest.silentTicks = 0;
  Set(false);
}

bool AudioResting() {
  return g_rest.resting;
}

}  // namespace quillorn::platform
