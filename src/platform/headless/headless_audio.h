// Test control of the headless audio device: the mix is rendered into memory on demand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillorn::headless {

// The headless device plays at this rate.
constexpr uint32_t kAudioOutputRate = 48000;

// Closes the device, releasing every buffer, and sets both volumes to full and the sound
// unmuted.
void ResetAudio();
// The next frames of the mix, as interleaved stereo (left, right) 16-bit samples. Silence
// when no device is open.
std::vector<int16_t> RenderAudio(size_t frames);

}  // namespace quillorn::headless
