// Steps, walls, doorways, hearts and footprints.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game_driver.h"
#include "gameplay/castle_map.h"
#include "gameplay/encounter.h"
#include "gameplay/hearts_out.h"
#include "gameplay/play.h"
#include "graphics/graphics.h"
#include "script/message_box.h"
#include "script/script.h"

namespace quillorn::test {
namespace {

using platform::kKeyDown;
using platform::kKeyLeft;
using platform::kKeyRight;
using platform::kKeyUp;

class Walking : public ::testing::Test {
 protected:
  void SetUp() override {
    StartNewGame();
    SetPeople({});
  }
};

TEST_F(Walking, AStepIsEightTicksOfFourPixelsAndCostsOneHeart) {
  headless::KeyDown(kKeyDown);
  std::vector<int32_t> frames, ys;
  for (int i = 0; i < 8; ++i) {
    headless::Tick();
    frames.push_back(actors[0].animFrame);
    ys.push_back(actors[0].pixelY);
    if (i < 7) {
      // Mid-step only the square around the king is repainted.
      platform::Rect r = headless::LastPaintedRect();
      EXPECT_EQ(r.left, actors[0].pixelX - 8) << i;
      EXPECT_EQ(r.top, actors[0].pixelY - 8) << i;
      EXPECT_EQ(r.right, actors[0].pixelX + 40) << i;
      EXPECT_EQ(r.bottom, actors[0].pixelY + 40) << i;
      EXPECT_EQ(hearts, 120);
      EXPECT_EQ(sceneHandlers.eKeyHandler, nullptr);  // no reveal while walking
      EXPECT_EQ(sceneHandlers.confirmKeyHandler, nullptr);
    }
  }
  headless::KeyUp(kKeyDown);
  EXPECT_EQ(frames, (std::vector<int32_t>{1, 1, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(ys, (std::vector<int32_t>{100, 104, 108, 112, 116, 120, 124, 128}));
  EXPECT_EQ(actors[0].tileY, 4);
  EXPECT_EQ(hearts, 119);
  // The eighth redraw is the whole window, as every other redraw in play.
  platform::Rect r = headless::LastPaintedRect();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 480);
  EXPECT_EQ(r.bottom, 512);
  EXPECT_EQ(sceneHandlers.tickHandler, PlayTick);
}

TEST_F(Walking, AWallTurnsTheKingAndCostsNothing) {
  SetPeople({{3, 6, 3}});  // one tile away, behind the wall
  uint32_t beeps = SoundSlotStarts(1);
  headless::KeyDown(kKeyLeft);  // (6, 3) is wall
  for (int i = 0; i < 30; ++i) {
    headless::Tick();
    EXPECT_EQ(actors[0].direction, 3);
    EXPECT_EQ(sceneHandlers.tickHandler, PlayTick);
    EXPECT_EQ(headless::LastPaintedRect().right, 480);  // redrawn whole every tick
  }
  // An arrow held against a wall plays no beep.
  EXPECT_EQ(SoundSlotStarts(1), beeps);
  headless::KeyUp(kKeyLeft);
  headless::Tick(3);
  EXPECT_GT(SoundSlotStarts(1), beeps);
  EXPECT_EQ(actors[0].tileX, 7);
  EXPECT_EQ(hearts, 120);
}

TEST_F(Walking, FootprintsStayUntilTheRoomIsDrawnAgain) {
  platform::Surface before = RoomBuffer;
  WalkSteps(kKeyDown, 2);
  auto same = [&](int32_t tx, int32_t ty) {
    for (int32_t y = 32 * ty; y < 32 * ty + 32; ++y)
      for (int32_t x = 32 * tx; x < 32 * tx + 32; ++x)
        if (RoomBuffer.Row(y)[x] != before.Row(y)[x]) return false;
    return true;
  };
  EXPECT_FALSE(same(7, 3));
  EXPECT_FALSE(same(7, 4));
  EXPECT_TRUE(same(7, 5));  // where he stands now
  WalkSteps(kKeyUp, 2);
  EXPECT_FALSE(same(7, 5));
  PlacePeople();  // drawing the room again wipes them
  EXPECT_TRUE(same(7, 3));
  EXPECT_TRUE(same(7, 4));
  EXPECT_TRUE(same(7, 5));
}

TEST_F(Walking, EnteringARoomCostsTwoHeartsAndWalksOutOfTheDoorway) {
  PutKing(2, 12, 7, 1);
  headless::KeyDown(kKeyRight);
  headless::Tick(8);  // onto the doorway (13, 7): exit 1 to room 3 at (2, 7)
  headless::KeyUp(kKeyRight);
  EXPECT_EQ(currentRoom, 3);
  EXPECT_EQ(actors[0].tileX, 2);
  EXPECT_EQ(actors[0].tileY, 7);
  EXPECT_EQ(actors[0].pixelX, 32);  // drawn on the doorway, one tile back
  EXPECT_EQ(actors[0].pixelY, 224);
  EXPECT_EQ(actors[0].direction, 1);
  EXPECT_EQ(hearts, 119);
  EXPECT_EQ(sceneHandlers.tickHandler, StepTick);
  EXPECT_EQ(sceneHandlers.eKeyHandler, nullptr);
  headless::Tick(8);  // the arrival step
  EXPECT_EQ(actors[0].pixelX, 64);
  EXPECT_EQ(hearts, 118);
  EXPECT_EQ(sceneHandlers.tickHandler, PlayTick);
}

// An exit naming no room of the castle, or an arrival off the field, is not taken.
TEST_F(Walking, ABrokenExitLeavesTheKingStandingOnTheDoorway) {
  Room saved = castleMap[2];
  for (Exit bad : {Exit{40, 2, 7, 0}, Exit{-3, 2, 7, 0}, Exit{3, 16, 7, 0}, Exit{3, 2, -1, 0}}) {
    castleMap[2].exits[1] = bad;
    PutKing(2, 12, 7, 1);
    hearts = 50;
    WalkSteps(kKeyRight, 1);
    EXPECT_EQ(currentRoom, 2);
    EXPECT_EQ(actors[0].tileX, 13);
    EXPECT_EQ(hearts, 49);
    EXPECT_EQ(sceneHandlers.tickHandler, PlayTick);
  }
  castleMap[2] = saved;
}

TEST_F(Walking, TheStaircaseIntoRoom5AlwaysLeadsOutLeft) {
  // Room 4's staircase at (3, 4) leads to room 5 at (11, 7); step onto it from below.
  PutKing(4, 3, 5, 0);
  SetPeople({});
  headless::KeyDown(kKeyUp);
  headless::Tick(8);
  headless::KeyUp(kKeyUp);
  ASSERT_EQ(currentRoom, 5);
  EXPECT_EQ(actors[0].direction, 3);
  EXPECT_EQ(actors[0].pixelX, 32 * 12);
  EXPECT_EQ(actors[0].pixelY, 32 * 7);
  headless::Tick(8);
  EXPECT_EQ(actors[0].pixelX, 32 * 11);
  EXPECT_EQ(actors[0].tileX, 11);
}

TEST_F(Walking, WithTwoHeartsTheKingCrossesAndRunsOutInTheNewRoom) {
  PutKing(2, 12, 7, 1);
  hearts = 2;
  headless::KeyDown(kKeyRight);
  headless::Tick(16);
  headless::KeyUp(kKeyRight);
  EXPECT_EQ(currentRoom, 3);
  EXPECT_EQ(hearts, 0);
  EXPECT_EQ(scriptCommands[0].type, Narrate);
  EXPECT_EQ(scriptDoneHandler, GameOver);
}

TEST_F(Walking, WithOneHeartTheDoorwayStepEndsTheGameInTheOldRoom) {
  struct Case {
    int32_t room, x, y, direction;
    uint32_t key;
  };
  // Room 2's right doorway, and room 30's doorway into the secret room.
  for (Case c : {Case{2, 12, 7, 1, kKeyRight}, Case{30, 10, 9, 1, kKeyRight}}) {
    StartNewGame();
    PutKing(c.room, c.x, c.y, c.direction);
    SetPeople({});
    hearts = 1;
    headless::KeyDown(c.key);
    headless::Tick(8);
    headless::KeyUp(c.key);
    EXPECT_EQ(currentRoom, c.room);
    EXPECT_EQ(hearts, 0);
    EXPECT_EQ(actors[0].tileX, c.x + 1);
    EXPECT_EQ(scriptDoneHandler, GameOver) << c.room;
    EXPECT_EQ(showHearts, 1);
  }
}

TEST_F(Walking, The120thStepEndsAGameWithoutFlowers) {
  int steps = 0;
  while (hearts > 0 && steps < 200) {
    uint32_t key = steps % 2 ? kKeyUp : kKeyDown;
    WalkSteps(key, 1);
    ++steps;
  }
  EXPECT_EQ(steps, 120);
  EXPECT_EQ(hearts, 0);
  EXPECT_EQ(scriptDoneHandler, GameOver);
}

// Which hearts of the bar are drawn full: compared with the bar at 120 and at 0.
std::vector<bool> FullHearts(int32_t h) {
  auto heartPixels = [](int32_t i) {
    std::vector<platform::Pixel> p;
    for (int32_t y = 456; y < 488; ++y)
      for (int32_t x = 44 + 32 * i; x < 76 + 32 * i; ++x) p.push_back(BackBuffer.Row(y)[x]);
    return p;
  };
  hearts = 120;
  ComposeFrame();
  auto full = heartPixels(0);
  hearts = 0;
  ComposeFrame();
  auto empty = heartPixels(0);
  EXPECT_NE(full, empty);
  hearts = h;
  ComposeFrame();
  std::vector<bool> out;
  for (int32_t i = 0; i < 12; ++i) {
    auto p = heartPixels(i);
    EXPECT_TRUE(p == full || p == empty) << i;
    out.push_back(p == full);
  }
  return out;
}

TEST_F(Walking, TheBarShowsHeartsDividedByTenRoundedUp) {
  auto count = [](std::vector<bool> v) { return std::count(v.begin(), v.end(), true); };
  EXPECT_EQ(count(FullHearts(120)), 12);
  EXPECT_EQ(count(FullHearts(11)), 2);
  EXPECT_EQ(count(FullHearts(10)), 1);
  EXPECT_EQ(count(FullHearts(1)), 1);
  EXPECT_EQ(count(FullHearts(0)), 0);
  EXPECT_EQ(FullHearts(31), (std::vector<bool>{1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
  // Without the bar, nothing is drawn there: the room shows through.
  showHearts = 0;
  hearts = 120;
  ComposeFrame();
  EXPECT_EQ(BackBuffer.Row(470)[60], RoomBuffer.Row(470)[60]);
}

}  // namespace
}  // namespace quillorn::test
