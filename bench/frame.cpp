// Time of one frame of play (the room, eight masked actors with masked shadows, twelve
// masked hearts) and of one doubled character, drawn with a sheet made here.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "graphics/graphics.h"
#include "platform/headless/headless.h"

namespace quillorn {
namespace {

// A 640 x 704 8-bit sheet: varied colours, with the sprite rows' right halves as masks.
std::vector<uint8_t> MakeSheet() {
  const uint32_t header = 40, width = 640, height = 704;
  std::vector<uint8_t> bytes(header + 1024 + width * height, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(v >> (8 * i));
  };
  put32(0, header);
  put32(4, width);
  put32(8, height);
  bytes[12] = 1;
  bytes[14] = 8;
  for (int i = 0; i < 256; ++i) {
    bytes[header + 4 * size_t(i)] = uint8_t(i);
    bytes[header + 4 * size_t(i) + 1] = uint8_t(255 - i);
    bytes[header + 4 * size_t(i) + 2] = uint8_t(i * 3);
  }
  for (uint32_t stored = 0; stored < height; ++stored) {
    uint32_t y = height - 1 - stored;
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t index = uint8_t(10 + (x * 3 + y) % 161);
      if (x >= 512 && y >= 320 && y < 480) index = 0;
      if (y >= 192 && y < 512 && x >= 256 && x < 512) index = (x + y) % 3 ? 0 : 255;
      bytes[header + 1024 + size_t(stored) * width + x] = index;
    }
  }
  return bytes;
}

void SetUpGraphics() {
  headless::Reset();
  headless::OverrideResource("BITMAP", "PAT", MakeSheet());
  InitGraphics();
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 15; ++x) DrawSheetToRoom(32 * x, 32 * y, 32, 32, 32 * (x % 20), 0, 0);
}

void BM_PlayFrame(benchmark::State& state) {
  SetUpGraphics();
  for (auto _ : state) {
    CopyRoomToBack();
    for (int32_t a = 0; a < 8; ++a) {
      int32_t x = 40 + 50 * a, y = 60 + 40 * a;
      DrawSpriteToBack(x, y + 4, 32, 32, 0, 480);                        // shadow
      DrawSpriteToBack(x, y, 32, 32, 32 * (a % 8), 192 + 32 * (a % 9));  // actor frame
    }
    for (int32_t h = 0; h < 12; ++h) DrawSpriteToBack(8 + 24 * h, 472, 32, 32, 64, 480);
    benchmark::DoNotOptimize(BackBuffer.pixels.data());
  }
  FreeGraphics();
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);

void BM_DoubledCharacter(benchmark::State& state) {
  SetUpGraphics();
  int32_t x = 36;
  for (auto _ : state) {
    benchmark::DoNotOptimize(DrawTextDoubled(x, 354, "漢"));
    x = x >= 400 ? 36 : x + 34;
  }
  FreeGraphics();
}
BENCHMARK(BM_DoubledCharacter)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillorn
