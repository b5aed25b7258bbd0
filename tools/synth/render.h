// Turning a score into samples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "score.h"

namespace synth {

// The finished sound, interleaved by channel, as bytes in the score's sample format
// (8-bit unsigned or 16-bit signed little-endian). Exits with a message when a note does
// not fit a sound that does not loop.
std::vector<uint8_t> Render(const Score& score, const std::string& path);

}  // namespace synth
