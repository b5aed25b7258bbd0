#include "shell/random.h"

namespace quillorn {

namespace {
uint32_t randomState = 1;  // 1 until seeded
}

void SeedRandom(uint32_t value) {
  randomState = value;
}

// A linear congruential step; the result is bits 16 to 30 of the new state.
int32_t Random() {
  randomState = randomState * 214013u + 2531011u;
  return int32_t((randomState >> 16) & 0x7FFF);
}

}  // namespace quillorn
