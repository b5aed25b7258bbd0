// The headless audio device: the shared mixer, run on the caller's thread when a test asks.
#include "platform/headless/headless_audio.h"

#include "platform/audio/audio.h"
#include "platform/audio/audio_rest.h"
#include "platform/audio/mixer.h"
#include "platform/headless/headless.h"
#include "platform/window/report.h"

namespace quillorn {
namespace {

// The device rests as a real one does; a test renders the mix whenever it asks all the same.
void Rest(bool rest) {
  headless::RecordEvent(rest ? "rest-audio" : "wake-audio");
}

}  // namespace

namespace platform {

bool OpenAudio() {
  if (headless::Failing(headless::Failure::kSoundDevice)) {
    SayNoSound("the test made the headless device fail");
    return false;
  }
  headless::RecordEvent("open-audio");
  if (!MixerRunning()) StartMixer(headless::kAudioOutputRate, nullptr, nullptr);
  SetAudioRest(Rest);
  return true;
}

void CloseAudio() {
  headless::RecordEvent("close-audio");
  SetAudioRest(nullptr);
  StopMixer();
}

}  // namespace platform

namespace headless {

void ResetAudio() {
  platform::SetAudioRest(nullptr);
  platform::StopMixer();
  platform::SetGroupVolume(platform::SoundGroup::kMusic, platform::kMaxVolume);
  platform::SetGroupVolume(platform::SoundGroup::kEffects, platform::kMaxVolume);
  platform::SetMuted(false);
}

std::vector<int16_t> RenderAudio(size_t frames) {
  std::vector<int16_t> out(frames * 2);
  platform::MixAudio(out.data(), frames);
  return out;
}

}  // namespace headless
}  // namespace quillorn
