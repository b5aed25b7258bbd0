// The page's sound output: an AudioWorklet plays what the shared mixer renders at the audio
// context's own rate. The mixer runs on the game's thread (the page's only one) whenever the
// worklet has played a block, so no lock is needed. Browsers start the sound on the first
// key or click (page.js). While nothing can be heard the audio context is suspended.
#include <emscripten.h>

#include <vector>

#include "platform/audio/audio.h"
#include "platform/audio/audio_rest.h"
#include "platform/audio/mixer.h"

namespace quillorn::platform {

namespace {

std::vector<int16_t> g_block;

// clang-format off
EM_JS(int, PageStartAudio, (), { return quillornAudio.start(); });
EM_JS(void, PageStopAudio, (), { quillornAudio.stop(); });
EM_JS(void, PageRestAudio, (int rest), { quillornAudio.rest(rest); });
// clang-format on

}  // namespace

bool OpenAudio() {
  if (MixerRunning()) return true;
  int rate = PageStartAudio();  // 0: the page has no audio output
  if (rate <= 0) return false;
  StartMixer(uint32_t(rate), nullptr, nullptr);
  SetAudioRest([](bool rest) { PageRestAudio(rest ? 1 : 0); });
  return true;
}

void CloseAudio() {
  SetAudioRest(nullptr);
  PageStopAudio();
  StopMixer();
}

}  // namespace quillorn::platform

// The next frames of the mix, interleaved stereo, for the page to hand to the worklet.
extern "C" EMSCRIPTEN_KEEPALIVE const int16_t* quillorn_web_mix(int frames) {
  std::vector<int16_t>& block = quillorn::platform::g_block;
  block.assign(size_t(frames) * 2, 0);
  if (quillorn::platform::MixerRunning())
    quillorn::platform::MixAudio(block.data(), size_t(frames));
  return block.data();
}
