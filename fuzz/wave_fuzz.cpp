// The WAVE reader on arbitrary bytes; what it accepts goes on to the mixer, which makes a
// buffer of it and plays a little of it at a low and a high rate.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"
#include "platform/headless/headless_audio.h"
#include "sound/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  using namespace quillorn;
  WaveSound wave;
  if (!ParseWave(bytes, size, wave)) return 0;
  // Whatever was accepted lies inside the bytes given.
  if (wave.data < bytes || wave.dataSize > size || wave.data + wave.dataSize > bytes + size)
    std::abort();
  headless::ResetAudio();
  platform::OpenAudio();
  platform::SoundBuffer buffer = platform::CreateSoundBuffer(wave.format, wave.data, wave.dataSize);
  if (buffer != 0) {
    std::vector<int16_t> out(2 * 512);
    for (uint32_t rate : {100u, 37999u, 200000u}) {
      platform::SetBufferRate(buffer, rate);
      platform::PlayBuffer(buffer, rate == 37999u);
      platform::MixAudio(out.data(), 512);
    }
  }
  platform::CloseAudio();
  return 0;
}
