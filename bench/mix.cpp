// The cost of mixing: one second of output with all five voices sounding at odd rates,
// each voice shaped like one of the game's recordings.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"
#include "platform/headless/headless_audio.h"

namespace {

using namespace quillorn;

platform::SoundBuffer Noise(uint16_t bits, uint32_t rate, size_t frames, std::mt19937& random) {
  platform::SoundFormat format;
  format.formatTag = 1;
  format.channels = 2;
  format.framesPerSecond = rate;
  format.bitsPerSample = bits;
  format.blockAlign = static_cast<uint16_t>(2 * bits / 8);
  format.averageBytesPerSecond = rate * format.blockAlign;
  std::vector<uint8_t> bytes(frames * format.blockAlign);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  return platform::CreateSoundBuffer(format, bytes.data(), bytes.size());
}

void MixOneSecondOfFiveVoices(benchmark::State& state) {
  headless::ResetAudio();
  platform::OpenAudio();
  std::mt19937 random(7);
  platform::SoundBuffer voices[5] = {
      Noise(8, 11025, 220501, random), Noise(16, 22050, 827, random),   0,
      Noise(16, 22050, 31008, random), Noise(16, 16000, 14560, random),
  };
  voices[2] = platform::DuplicateSoundBuffer(voices[1]);
  const uint32_t rates[5] = {11025, 37999, 20317, 22051, 15997};
  for (int i = 0; i < 5; ++i) {
    platform::SetBufferRate(voices[i], rates[i]);
    platform::PlayBuffer(voices[i], true);
  }
  std::vector<int16_t> out(2 * headless::kAudioOutputRate);
  for (auto _ : state) {
    platform::MixAudio(out.data(), headless::kAudioOutputRate);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * headless::kAudioOutputRate);
  platform::CloseAudio();
}
BENCHMARK(MixOneSecondOfFiveVoices)->Unit(benchmark::kMillisecond);

}  // namespace
