// Reading a WAVE resource: a RIFF form "WAVE" whose "fmt " chunk gives the sample layout
// and whose "data" chunk holds the samples.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/audio/audio.h"

namespace quillorn {

struct WaveSound {
  platform::SoundFormat format;
  const uint8_t* data = nullptr;  // points into the bytes given to ParseWave
  uint32_t dataSize = 0;
};

// True when the bytes hold a well-formed WAVE with a format and non-empty data. The format
// is not judged here: the sound device accepts or refuses it. Nothing outside the bytes is
// read, and a file that claims more bytes than it holds is refused.
bool ParseWave(const uint8_t* bytes, size_t size, WaveSound& out);

}  // namespace quillorn
