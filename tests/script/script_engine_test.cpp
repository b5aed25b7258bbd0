// The command list and its dispatcher, and the staging commands.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game_driver.h"
#include "gameplay/play.h"
#include "script/message_box.h"
#include "script/script.h"
#include "script/staging.h"

namespace quillorn::test {
namespace {

int doneCalls = 0;
void CountDone() {
  ++doneCalls;
}

class Script : public ::testing::Test {
 protected:
  void SetUp() override {
    StartNewGame();
    SetPeople({});
    ClearSceneHandlers();
    ClearScript();
    doneCalls = 0;
    scriptDoneHandler = CountDone;
  }
};

TEST_F(Script, AnEndOnlyScriptInstallsNothingAndNeverEnds) {
  AddScriptCommand(End, 0, 0, 0, 0, "");
  RunScript();
  EXPECT_EQ(sceneHandlers.tickHandler, nullptr);
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, nullptr);
  headless::Tick(5);
  EXPECT_EQ(doneCalls, 0);
  // A type outside 1 to 8 stops the same way.
  ClearScript();
  AddScriptCommand(9, 0, 0, 0, 0, "");
  RunScript();
  EXPECT_EQ(sceneHandlers.tickHandler, nullptr);
}

TEST_F(Script, ALastWalkHandsOverWhileItsTickIsInstalled) {
  Handler installed = nullptr;
  static Handler* seen;
  seen = &installed;
  scriptDoneHandler = [] { *seen = sceneHandlers.tickHandler; };
  AddScriptCommand(Walk, 0, 1, 1, 0, "");
  RunScript();
  headless::Tick(4);
  EXPECT_EQ(installed, WalkTick);
}

TEST_F(Script, ASayThenEndHandsOverOnTheConfirmKey) {
  AddScriptCommand(Say, 0, 0, 0, 0, "はい");
  RunScript();
  ConfirmWhenArmed(ConfirmMessage);
  EXPECT_EQ(doneCalls, 1);
  EXPECT_EQ(scriptIndex, 1);
}

TEST_F(Script, AFullListOverwritesItsLastRecordAndEndsAfterIt) {
  for (int i = 0; i < 300; ++i) AddScriptCommand(Turn, 0, 0, i % 4, uint32_t(i), "");
  EXPECT_EQ(scriptCommands[254].param4, 254u);
  EXPECT_EQ(scriptCommands[255].param4, 299u);
  EXPECT_EQ(scriptCommands[255].param3, 299 % 4);
  scriptIndex = 254;
  RunScript();
  headless::Tick();
  EXPECT_EQ(scriptIndex, 255);
  EXPECT_EQ(doneCalls, 0);
  headless::Tick();
  EXPECT_EQ(doneCalls, 1);  // as if an End followed record 255
  EXPECT_EQ(scriptIndex, 255);
  EXPECT_EQ(actors[0].direction, 299 % 4);
}

TEST_F(Script, TextIsCutAtACharacterBoundary) {
  std::string wide;
  for (int i = 0; i < 40; ++i) wide += "あ";  // 80 bytes
  AddScriptCommand(Say, 0, 0, 0, 0, ("a" + wide).c_str());
  EXPECT_EQ(std::strlen(scriptCommands[0].text), 63u);  // "a" and 31 whole characters
  AddScriptCommand(Say, 0, 0, 0, 0, wide.c_str());
  EXPECT_EQ(std::strlen(scriptCommands[1].text), 62u);  // 31 whole characters
  EXPECT_EQ(std::string(scriptCommands[1].text), wide.substr(0, 62));
  std::string exact(63, 'x');
  AddScriptCommand(Say, 0, 0, 0, 0, exact.c_str());
  EXPECT_EQ(std::string(scriptCommands[2].text), exact);
}

TEST_F(Script, WaitZeroEndsOnTheFirstTickAndWaitEndsAtItsDuration) {
  AddScriptCommand(Wait, 0, 0, 0, 0, "");
  AddScriptCommand(Wait, 0, 0, 0, 1000, "");
  RunScript();
  headless::Tick();
  EXPECT_EQ(scriptIndex, 1);
  int ticks = 0;
  while (doneCalls == 0 && ticks < 100) {
    headless::Tick();
    ++ticks;
  }
  EXPECT_EQ(ticks, 19);  // 19 x 54 = 1026, the first tick at least 1000 ms on
}

TEST_F(Script, AWaitIsNotCutShortWhenTheClockWraps) {
  StartNewGame(0xFFFFF800u);  // 2 s before the millisecond clock wraps
  ClearSceneHandlers();
  ClearScript();
  while (platform::GetTickCount() < 0xFFFFFE00u) headless::Tick();
  AddScriptCommand(Wait, 0, 0, 0, 1000, "");
  RunScript();
  ASSERT_GT(commandStartTime, 0xFFFFFE00u);  // the clock wraps during the wait
  int ticks = 0;
  while (doneCalls == 0 && ticks < 100) {
    headless::Tick();
    ++ticks;
  }
  EXPECT_EQ(ticks, 19);
}

TEST_F(Script, BlinkEndsShownOnOddCountsAndHiddenOnEven) {
  for (int32_t steps : {1, 2, 7, 8}) {
    SetUp();
    actors[0].visible = steps % 2 ? 0 : 1;
    AddScriptCommand(Blink, 0, steps, 0, 0, "");
    RunScript();
    std::vector<int32_t> seen;
    while (doneCalls == 0 && seen.size() < 20) {
      headless::Tick();
      seen.push_back(actors[0].visible);
    }
    ASSERT_EQ(seen.size(), size_t(steps)) << steps;
    for (int32_t i = 0; i < steps; ++i) EXPECT_EQ(seen[size_t(i)], i % 2 == 0) << steps;
  }
}

TEST_F(Script, AnimateTogglesOncePerInterval) {
  AddScriptCommand(Animate, 0, 2, 0, 0, "");
  AddScriptCommand(Animate, 0, 8, 0, 0, "");
  AddScriptCommand(Animate, 0, 4, 0, 80, "");
  RunScript();
  headless::Tick(2);
  EXPECT_EQ(actors[0].animFrame, 0);  // two steps leave the frame where it began
  EXPECT_EQ(scriptIndex, 1);
  std::vector<int32_t> frames;
  for (int i = 0; i < 8; ++i) {
    headless::Tick();
    frames.push_back(actors[0].animFrame);
  }
  EXPECT_EQ(frames, (std::vector<int32_t>{1, 0, 1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(scriptIndex, 2);
  // 80 ms: one step every second tick, the first one interval after the start.
  frames.clear();
  for (int i = 0; i < 8; ++i) {
    headless::Tick();
    frames.push_back(actors[0].animFrame);
  }
  EXPECT_EQ(frames, (std::vector<int32_t>{0, 1, 1, 0, 0, 1, 1, 0}));
  EXPECT_EQ(doneCalls, 1);
}

TEST_F(Script, WalkMovesOneTileOfPixelsAndNotTheTile) {
  PutKing(2, 7, 7);
  AddScriptCommand(Walk, 0, 0, 3, 10, "");
  AddScriptCommand(Walk, 0, 1, 0, 10, "");
  RunScript();
  std::vector<int32_t> frames;
  for (int i = 0; i < 8; ++i) {
    headless::Tick();
    frames.push_back(actors[0].animFrame);
  }
  EXPECT_EQ(frames, (std::vector<int32_t>{1, 1, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(actors[0].pixelX, 224 - 32);
  EXPECT_EQ(actors[0].direction, 3);
  frames.clear();
  for (int i = 0; i < 4; ++i) {
    headless::Tick();
    frames.push_back(actors[0].animFrame);
  }
  EXPECT_EQ(frames, (std::vector<int32_t>{1, 1, 0, 0}));
  EXPECT_EQ(actors[0].pixelY, 224 - 32);
  EXPECT_EQ(actors[0].tileX, 7);  // walls and tiles do not matter to a scripted walk
  EXPECT_EQ(actors[0].tileY, 7);
  EXPECT_EQ(doneCalls, 1);
}

TEST_F(Script, FaceKingTakesTheLongerDistanceAndTiesFaceUpOrDown) {
  struct Case {
    int32_t x, y, facing;
  };
  // The king at (7, 7).
  for (Case c : {Case{5, 5, 2}, Case{9, 9, 0}, Case{7, 7, 0}, Case{4, 6, 1}, Case{10, 8, 3},
                 Case{7, 3, 2}, Case{7, 10, 0}}) {
    SetUp();
    PutKing(2, 7, 7);
    PlaceActor(1, 3, c.x, c.y, 1, 1);
    AddScriptCommand(FaceKing, 1, 0, 0, 0, "");
    RunScript();
    headless::Tick();
    EXPECT_EQ(actors[1].direction, c.facing) << c.x << "," << c.y;
    EXPECT_EQ(doneCalls, 1);
  }
}

TEST_F(Script, BadActorsAndDirectionsDoNothingAndFinish) {
  Actor before[8];
  std::memcpy(before, actors, sizeof before);
  AddScriptCommand(Animate, 8, 1, 0, 0, "");
  AddScriptCommand(Blink, -1, 1, 0, 0, "");
  AddScriptCommand(Walk, 0, 0, 4, 0, "");
  AddScriptCommand(Walk, 99, 0, 1, 0, "");
  AddScriptCommand(FaceKing, 1000, 0, 0, 0, "");
  AddScriptCommand(Turn, 0, 0, -1, 0, "");
  AddScriptCommand(Turn, 8, 0, 1, 0, "");
  RunScript();
  headless::Tick(7);
  EXPECT_EQ(doneCalls, 1);
  EXPECT_EQ(std::memcmp(before, actors, sizeof before), 0);
}

}  // namespace
}  // namespace quillorn::test
