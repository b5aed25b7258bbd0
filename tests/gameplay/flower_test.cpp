// Sniffing a flower: the line, the sound, and the refill of 10 hearts a tick.
#include <gtest/gtest.h>

#include "game_driver.h"
#include "gameplay/castle_map.h"
#include "gameplay/play.h"
#include "script/script.h"

namespace quillorn::test {
namespace {

// A floor tile of the room beside a flower, and the arrow towards the flower.
bool FindFlowerApproach(int32_t room, int32_t* x, int32_t* y, uint32_t* key) {
  const int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0};
  const uint32_t keys[4] = {platform::kKeyUp, platform::kKeyRight, platform::kKeyDown,
                            platform::kKeyLeft};
  for (int32_t fy = 1; fy < 14; ++fy)
    for (int32_t fx = 1; fx < 14; ++fx) {
      int32_t t = TileId(room, fx, fy);
      if (t != 97 && t != 117) continue;
      for (int d = 0; d < 4; ++d) {
        int32_t ax = fx - dx[d], ay = fy - dy[d];
        if (TileId(room, ax, ay) < 40 && ExitNumber(room, ax, ay) == 0) {
          *x = ax, *y = ay, *key = keys[d];
          return true;
        }
      }
    }
  return false;
}

class Flowers : public ::testing::Test {
 protected:
  void SetUp() override {
    StartNewGame();
    ASSERT_TRUE(FindFlowerApproach(3, &x, &y, &key));
    PutKing(3, x, y);
    SetPeople({});
  }
  int32_t x = 0, y = 0;
  uint32_t key = 0;
};

TEST_F(Flowers, ASniffRefillsTenHeartsATickUpTo120) {
  hearts = 37;
  headless::KeyDown(key);
  headless::Tick();
  headless::KeyUp(key);
  EXPECT_EQ(actors[0].tileX, x);  // he does not move
  EXPECT_EQ(actors[0].tileY, y);
  EXPECT_EQ(scriptCommands[0].type, Say);
  EXPECT_STREQ(scriptCommands[0].text, "う～ん、よい香りじゃのう");
  EXPECT_EQ(scriptCommands[0].param4, 64u);
  EXPECT_EQ(scriptCommands[1].type, End);
  EXPECT_EQ(scriptDoneHandler, FlowerMessageDone);
  uint32_t flower = SoundSlotStarts(4);
  ConfirmWhenArmed(ConfirmMessage);
  EXPECT_EQ(SoundSlotStarts(4), flower + 1);
  EXPECT_EQ(sceneHandlers.tickHandler, RefillTick);
  EXPECT_EQ(sceneHandlers.eKeyHandler, nullptr);
  std::vector<int32_t> seen;
  while (sceneHandlers.tickHandler == RefillTick) {
    headless::Tick();
    seen.push_back(hearts);
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{47, 57, 67, 77, 87, 97, 107, 117, 120}));
  EXPECT_EQ(sceneHandlers.tickHandler, PlayTick);
  EXPECT_EQ(hearts, 37 + 83);
}

}  // namespace
}  // namespace quillorn::test
