// The staff roll: its picture, the procession's motion and turning points, and the music.
#include "scenes/staff_roll.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "gameplay/actors.h"
#include "reference_frame.h"
#include "scene_driver.h"

namespace quillorn::test {
namespace {

constexpr int32_t kLeft = 3, kRight = 1;

// The picture the staff roll must show with the walkers where the actor table has them.
ReferenceFrame StaffRollFrame() {
  ReferenceFrame f;
  for (int32_t y = 0; y < 512; y += 32)
    for (int32_t x = 0; x < 480; x += 32) f.Opaque(x, y, 32, 32, 608, 160);
  f.Opaque(160, 64, 160, 128, 480, 544);
  for (int32_t n = 0; n < 15; ++n) {
    int32_t x = 32 * n;
    f.Opaque(x, 240, 32, 32, 32, 128);
    f.Opaque(x, 256, 32, 32, 32, 160);
    f.Opaque(x, 288, 32, 32, 0, 0);
    if (n % 4 == 2) f.Opaque(x, 288, 32, 32, 544, 128);
    f.Opaque(x, 320, 32, 32, 0, 0);
    f.Opaque(x, 352, 32, 32, 0, 0);
    if (n % 4 == 0) f.Opaque(x, 352, 32, 32, 544, 128);
    f.Opaque(x, 384, 32, 32, 32, 128);
    f.Opaque(x, 416, 32, 32, 32, 160);
  }
  for (int32_t i = 0; i < 8; ++i) {
    const Actor& a = actors[i];
    f.Actor(i, a.pixelX, a.pixelY, a.direction, a.animFrame);
  }
  return f;
}

class StaffRoll : public ::testing::Test {
 protected:
  void SetUp() override {
    StartAtTitle();
    headless::Command(kMenuStaffRoll);
    headless::Pump();
  }
};

TEST_F(StaffRoll, LinesUpTheCastOffScreenAndWaitsForTheFirstTick) {
  EXPECT_EQ(sceneHandlers.tickHandler, StaffRollTick);
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, nullptr);
  EXPECT_EQ(sceneHandlers.directionKeyHandler, nullptr);
  EXPECT_EQ(sceneHandlers.eKeyHandler, nullptr);
  const int32_t startX[8] = {480, 584, 624, 664, 704, 744, 784, 824};
  for (int32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(actors[i].type, i);
    EXPECT_EQ(actors[i].pixelX, startX[i]);
    EXPECT_EQ(actors[i].pixelY, 316);
    EXPECT_EQ(actors[i].direction, kLeft);
    EXPECT_EQ(actors[i].present, 0);
    EXPECT_EQ(actors[i].visible, 0);
  }
}

TEST_F(StaffRoll, EveryFrameIsThePanelTheCorridorAndTheWalkers) {
  for (int tick = 1; tick <= 700; ++tick) {
    headless::Tick();
    // A few frames on the way: entering, crossing, after the turns.
    if (tick == 1 || tick == 2 || tick == 3 || tick == 60 || tick == 177 || tick == 300 ||
        tick == 500 || tick == 700) {
      EXPECT_EQ(StaffRollFrame().Differences(headless::WindowPicture()), 0) << "tick " << tick;
    }
  }
}

TEST_F(StaffRoll, TheKingsFirstPassLeftTakes177Ticks) {
  headless::Tick(176);
  EXPECT_EQ(actors[0].pixelX, -224);
  EXPECT_EQ(actors[0].direction, kLeft);
  headless::Tick();
  EXPECT_EQ(actors[0].pixelX, -228);
  EXPECT_EQ(actors[0].direction, kRight);
  headless::Tick();
  EXPECT_EQ(actors[0].pixelX, -224);  // the turn shows from the next tick on
}

TEST_F(StaffRoll, TurnsAtTheSamePlacesAndRepeatsEvery452Ticks) {
  headless::Tick(177);
  std::vector<std::pair<int32_t, int32_t>> first;  // king's pixelX and direction, one period
  for (int t = 0; t < 452; ++t) {
    first.push_back({actors[0].pixelX, actors[0].direction});
    headless::Tick();
  }
  // The king's state at the start of the period comes back after exactly 452 ticks.
  for (int t = 1; t < 452; ++t) EXPECT_NE(first[t], first[0]) << t;
  for (int t = 0; t < 452; ++t) {
    EXPECT_EQ(actors[0].pixelX, first[t].first) << t;
    EXPECT_EQ(actors[0].direction, first[t].second) << t;
    headless::Tick();
  }
  // Every walker, once turned, stays between the turning points -228 and 676.
  int32_t lowest[8], highest[8];
  for (int32_t i = 0; i < 8; ++i) lowest[i] = highest[i] = actors[i].pixelX;
  for (int t = 0; t < 452; ++t) {
    headless::Tick();
    for (int32_t i = 0; i < 8; ++i) {
      lowest[i] = std::min(lowest[i], actors[i].pixelX);
      highest[i] = std::max(highest[i], actors[i].pixelX);
    }
  }
  for (int32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(lowest[i], -228) << i;
    EXPECT_EQ(highest[i], 676) << i;
  }
}

TEST_F(StaffRoll, OnScreenEveryoneGoesOneWayWithoutOverlapAndTypeEightStaysHome) {
  for (int tick = 1; tick <= 2000; ++tick) {
    headless::Tick();
    int32_t seenDirection = -1;
    for (int32_t i = 0; i < 8; ++i) {
      const Actor& a = actors[i];
      ASSERT_EQ(a.type, i);  // walkers 0 to 7: the ninth character never walks
      if (a.pixelX <= -32 || a.pixelX >= 480) continue;
      if (seenDirection < 0) seenDirection = a.direction;
      EXPECT_EQ(a.direction, seenDirection) << "tick " << tick << " walker " << i;
      for (int32_t j = i + 1; j < 8; ++j) {
        const Actor& b = actors[j];
        if (b.pixelX <= -32 || b.pixelX >= 480) continue;
        EXPECT_GE(std::abs(a.pixelX - b.pixelX), 32) << "tick " << tick << ": " << i << ", " << j;
      }
    }
  }
}

TEST_F(StaffRoll, AllWalkersChangeFrameTogetherEveryThirdTick) {
  for (int tick = 1; tick <= 30; ++tick) {
    headless::Tick();
    for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(actors[i].animFrame, (tick / 3) % 2) << tick;
  }
}

}  // namespace
}  // namespace quillorn::test
