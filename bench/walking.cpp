// The cost of one tick of walking play: the beep check, four pixels of the king's step and
// the whole frame composed (room, people by their y, hearts bar), in the real game with its
// own sheet and castle.
#include <benchmark/benchmark.h>

#include "gameplay/actors.h"
#include "gameplay/play.h"
#include "graphics/graphics.h"
#include "platform/headless/headless.h"
#include "shell/win_main.h"

namespace quillorn {
namespace {

void BM_WalkingTick(benchmark::State& state) {
  headless::Reset(1000);
  StartUp();
  headless::SetActive(true);
  headless::Tick(2);  // assets, then the title
  StartGame();
  for (int32_t k = 1; k < kActorCount; ++k) actors[k].visible = 1;  // all drawn: the worst case
  Actor& king = actors[kKing];
  PlaceActor(kKing, 0, 7, 7, 1, 1);
  king.stepProgress = 0;
  for (auto _ : state) {
    StepTick();
    if (king.stepProgress >= 28) {  // start the same step over, so it never completes
      king.stepProgress = 0;
      king.pixelX = 32 * 7;
    }
    benchmark::DoNotOptimize(BackBuffer.pixels.data());
  }
  headless::Pump();
}
BENCHMARK(BM_WalkingTick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillorn
