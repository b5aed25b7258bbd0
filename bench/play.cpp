// Time of one tick of walking play: StepTick in the middle of a step, which beeps, moves
// the king 4 pixels, composes the whole frame (room, actors by their y, hearts bar) and
// invalidates the square around him. The game runs on the headless backend in room 2.
#include "gameplay/play.h"

#include <benchmark/benchmark.h>

#include "gameplay/actors.h"
#include "gameplay/encounter.h"
#include "platform/headless/headless.h"
#include "shell/main_window.h"
#include "shell/win_main.h"

namespace quillorn {
namespace {

void BM_WalkingTick(benchmark::State& state) {
  headless::Reset(1000);
  StartUp();
  headless::SetActive(true);
  headless::Tick(3);  // assets, then the title
  StartGame();
  RevealAll();  // every person of the room drawn too
  Actor& king = actors[kKing];
  for (auto _ : state) {
    // Halfway through a step to the right, so the tick walks and does not finish it.
    king.direction = 1;
    king.stepProgress = 12;
    king.pixelX = 32 * king.tileX - 20;
    king.pixelY = 32 * king.tileY;
    StepTick();
    benchmark::DoNotOptimize(king.pixelX);
  }
}
BENCHMARK(BM_WalkingTick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillorn
