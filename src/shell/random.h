// The one pseudo-random generator: where people stand, which way they face, voice pitch.
#pragma once

#include <cstdint>

namespace quillorn {

void SeedRandom(uint32_t value);
int32_t Random();  // 0 to 32767

}  // namespace quillorn
