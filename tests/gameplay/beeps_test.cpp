// The proximity beep: rate and interval by distance, the carried counter, silence.
#include "gameplay/beeps.h"

#include <gtest/gtest.h>

#include "game_driver.h"
#include "gameplay/play.h"

namespace quillorn::test {
namespace {

class Beeps : public ::testing::Test {
 protected:
  void SetUp() override {
    StartNewGame();
    PutKing(2, 1, 1);  // distances up to 24 fit on the field from a corner
  }
  // Calls BeepTick until the beep slot starts; returns the calls it took (0: never in 40).
  int CallsUntilBeep() {
    uint32_t before = SoundSlotStarts(1);
    for (int i = 1; i <= 40; ++i) {
      BeepTick();
      if (SoundSlotStarts(1) != before) return i;
    }
    return 0;
  }
};

TEST_F(Beeps, RateAndIntervalForEveryDistance) {
  for (int32_t n = 0; n <= 24; ++n) {
    // One person n tiles away (Manhattan), hidden.
    int32_t dx = n < 14 ? n : 14, dy = n - dx;
    SetPeople({{3, 1 + dx, 1 + dy}});
    beepCounter = 0;
    int calls = CallsUntilBeep();
    if (n >= 20) {
      EXPECT_EQ(calls, 0) << n;
      EXPECT_EQ(beepCounter, 0) << n;  // silence leaves the counter alone
      continue;
    }
    int32_t d = n < 1 ? 1 : n;  // the king's own tile counts as one
    EXPECT_EQ(calls, d + 1) << n;
    uint32_t expected = n == 19 ? 2000u : uint32_t(36000 - 1800 * d);
    EXPECT_EQ(SoundSlotRate(1), expected) << n;
    EXPECT_EQ(beepCounter, 0) << n;
  }
}

TEST_F(Beeps, NearestPersonCountsHiddenOrNotAndOthersDoNot) {
  SetPeople({{3, 9, 9}, {4, 1, 4}, {2, 12, 12}});
  actors[2].visible = 1;
  beepCounter = 0;
  EXPECT_EQ(CallsUntilBeep(), 4);
  EXPECT_EQ(SoundSlotRate(1), 30600u);
  actors[2].present = 0;  // gone: the next nearest is 16 away
  beepCounter = 0;
  EXPECT_EQ(CallsUntilBeep(), 17);
}

TEST_F(Beeps, TheCounterCarriesSoABeepMayComeEarly) {
  SetPeople({{3, 1, 11}});  // 10 away
  beepCounter = 0;
  for (int i = 0; i < 6; ++i) BeepTick();
  EXPECT_EQ(beepCounter, 6);
  SetPeople({{3, 1, 3}});  // now 2 away: the counter is past 3 already
  EXPECT_EQ(CallsUntilBeep(), 1);
}

TEST_F(Beeps, AnEmptyRoomIsSilent) {
  SetPeople({});
  beepCounter = 7;
  EXPECT_EQ(CallsUntilBeep(), 0);
  EXPECT_EQ(beepCounter, 7);
}

TEST_F(Beeps, StandingBeepsAndWalkingBeepsFromTheNewTile) {
  PutKing(2, 7, 7);
  SetPeople({{3, 7, 11}});  // 4 away; 3 once a step down begins
  beepCounter = 0;
  uint32_t before = SoundSlotStarts(1);
  headless::Tick(5);  // standing: PlayTick listens every tick
  EXPECT_EQ(SoundSlotStarts(1), before + 1);
  EXPECT_EQ(SoundSlotRate(1), 28800u);
  beepCounter = 0;
  headless::KeyDown(platform::kKeyDown);
  headless::Tick(4);
  headless::KeyUp(platform::kKeyDown);
  EXPECT_EQ(SoundSlotStarts(1), before + 2);
  EXPECT_EQ(SoundSlotRate(1), 30600u);
}

}  // namespace
}  // namespace quillorn::test
