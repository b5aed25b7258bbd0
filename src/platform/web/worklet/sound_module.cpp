// The mixer as the audio worklet's own small WebAssembly module, built a second time from the
// same source with no JavaScript runtime (-sSTANDALONE_WASM): the worklet gives it the calls
// that the game made on the page's thread, in the same order, and takes from it each block
// that it plays. It tells which voices came to their end, so that the page's own mixer, which
// never plays, can say what is heard.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"

namespace {

using namespace quillorn::platform;

struct Module {
  SoundFormat format;               // the next recording's
  std::vector<uint8_t> bytes;       // the next recording, written by the worklet
  std::vector<int16_t> mixed;       // a block as the mixer makes it
  std::vector<float> block;         // the same, left channel then right, as the worklet plays it
  std::vector<SoundBuffer> live;    // buffers made and not released, with what they were
  std::vector<uint8_t> wasPlaying;  // doing before the last block
  std::vector<SoundBuffer> ended;   // the voices that came to their end in the last block
};

Module g;

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void sound_start(uint32_t outputRate) {
  StartMixer(outputRate, nullptr, nullptr);
}

// Room for the next recording; the worklet copies its bytes there before the Create call.
EMSCRIPTEN_KEEPALIVE uint8_t* sound_recording(uint32_t size, uint32_t formatTag, uint32_t channels,
                                              uint32_t framesPerSecond, uint32_t blockAlign,
                                              uint32_t bitsPerSample) {
  g.format = {uint16_t(formatTag),  uint16_t(channels),     framesPerSecond, 0,
              uint16_t(blockAlign), uint16_t(bitsPerSample)};
  g.bytes.assign(size, 0);
  return g.bytes.data();
}

// One call of audio.h; returns the buffer it made or acted on.
EMSCRIPTEN_KEEPALIVE uint32_t sound_call(uint32_t kind, uint32_t buffer, uint32_t value) {
  SoundCall call{SoundCallKind(kind), buffer, value};
  if (call.kind == SoundCallKind::kCreate) {
    call.format = &g.format;
    call.bytes = g.bytes.data();
    call.size = g.bytes.size();
  }
  SoundBuffer result = ReplaySoundCall(call);
  if (call.kind == SoundCallKind::kCreate) g.bytes = {};
  bool made = call.kind == SoundCallKind::kCreate || call.kind == SoundCallKind::kDuplicate;
  if (made && result) g.live.push_back(result);
  if (call.kind == SoundCallKind::kRelease)
    g.live.erase(std::remove(g.live.begin(), g.live.end(), buffer), g.live.end());
  return result;
}

// The next frames, left channel then right, on the scale of -1 to 1.
EMSCRIPTEN_KEEPALIVE const float* sound_render(uint32_t frames) {
  g.wasPlaying.resize(g.live.size());
  for (size_t i = 0; i < g.live.size(); ++i) g.wasPlaying[i] = BufferPlaying(g.live[i]);
  g.mixed.resize(size_t(frames) * 2);
  g.block.resize(size_t(frames) * 2);
  MixAudio(g.mixed.data(), frames);
  for (uint32_t i = 0; i < frames; ++i) {
    g.block[i] = g.mixed[2 * i] / 32768.0f;
    g.block[frames + i] = g.mixed[2 * i + 1] / 32768.0f;
  }
  g.ended.clear();
  for (size_t i = 0; i < g.live.size(); ++i)
    if (g.wasPlaying[i] && !BufferPlaying(g.live[i])) g.ended.push_back(g.live[i]);
  return g.block.data();
}

EMSCRIPTEN_KEEPALIVE uint32_t sound_ended_count() {
  return uint32_t(g.ended.size());
}
EMSCRIPTEN_KEEPALIVE const uint32_t* sound_ended() {
  return g.ended.data();
}
}
