// The scenes: the title screen and its menu, the instructions, the story, the ending and the
// staff roll, their frames compared whole with ones composed from the sheet and the map.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "game_driver.h"
#include "gameplay/play.h"
#include "reference_frame.h"
#include "scenes/ending.h"
#include "scenes/screenplay.h"
#include "scenes/staff_roll.h"
#include "scenes/story.h"
#include "scenes/title_screen.h"
#include "script/message_box.h"

namespace quillorn::test {
namespace {

using namespace platform;
using V = std::vector<int32_t>;
constexpr uint32_t kStory = 40005, kStaffRoll = 40009;

void Menu(uint32_t command) {
  headless::Command(command);
  headless::Pump();
}

int TitleDifferences(int32_t cursor) {
  ReferenceFrame f;
  f.Title();
  f.TitleCursor(cursor);
  return f.Differences(headless::WindowPicture());
}

// The instructions: three hints typed out at once, each under one, two or three hearts, on the
// box's fill; a confirm key returns to the title.
void CheckInstructions() {
  ReferenceFrame f;
  for (int32_t i = 0; i < 15 * 16; ++i) f.Opaque(32 * (i % 15), 32 * (i / 15), 32, 32, 96, 480);
  for (int32_t n = 0; n < 3; ++n) {
    for (int32_t i = 0; i < 3 * 14; ++i)
      f.Masked(16 + 32 * (i % 14), 72 + 144 * n + 32 * (i / 14), 32, 32,
               BoxTileX(i / 14, i % 14, 3, 14), 480);
    for (int32_t i = 0; i <= n; ++i) f.Masked(32 + 32 * i, 44 + 144 * n, 32, 32, 64, 480);
  }
  const Surface& picture = headless::WindowPicture();
  EXPECT_EQ(f.Differences(picture, true), 0);  // all but the white text
  EXPECT_GT(std::count(picture.pixels.begin(), picture.pixels.end(), kWhite), 6000);  // typed
  Press(kKeyDown);
  Press('E');
  Press(kKeySpace);
  EXPECT_EQ(TitleDifferences(0), 0);
}

TEST(Title, TheCursorWrapsWithABeepOnAlternateSlotsAndConfirmStartsTheItemChosen) {
  StartAtTitle();
  menuBeepCount = 0;  // as at program start
  V seen;             // the cursor, and the slot that beeped
  for (uint32_t key : {kKeyUp, kKeyDown, kKeyDown, kKeyDown, kKeyDown, kKeyDown, kKeyLeft}) {
    uint32_t s1 = SoundSlotStarts(1), s2 = SoundSlotStarts(2);
    Press(key);
    seen.push_back(10 * titleMenuIndex +
                   int32_t(SoundSlotStarts(1) - s1 + 2 * (SoundSlotStarts(2) - s2)));
    EXPECT_EQ(TitleDifferences(titleMenuIndex), 0) << seen.size();
  }
  EXPECT_EQ(seen, (V{31, 2, 11, 22, 31, 2, 0}));
  EXPECT_EQ(V({int32_t(SoundSlotRate(1)), int32_t(SoundSlotRate(2))}), V({30000, 30000}));
  const Handler ticks[4] = {PlayTick, BuildStoryScript, nullptr, nullptr};
  for (int item = 0; item < 4; ++item) {  // each confirm key starts the item chosen
    StartAtTitle();
    for (int i = 0; i < item; ++i) Press(kKeyDown);
    Press((V{kKeyReturn, kKeySpace, kKeyZ, kKeyReturn})[item]);
    EXPECT_EQ(sceneHandlers.tickHandler, ticks[item]);
    EXPECT_EQ(headless::WindowExists(), item < 3);  // END closes the window
    if (item == 2) CheckInstructions();
  }
}

std::vector<uint32_t> rates;
int ticks = 0;

// Plays until the script's first `done` commands have finished, confirming each line as soon
// as it is armed; adds each line's speaker, box, text and last voice to `shown`.
bool RunCommands(int32_t done, std::vector<std::string>* shown) {
  for (int i = 0; i < 30000 && scriptIndex < done; ++i) {
    if (sceneHandlers.confirmKeyHandler != ConfirmMessage) {
      headless::Tick(), ++ticks;
      continue;
    }
    // The tick that found the end counted too: the last beep came one count before.
    shown->push_back(std::to_string(scriptCommands[scriptIndex].param1) + " " +
                     std::to_string(MessageText.originY) + " " + MessageText.text);
    rates.push_back(SoundSlotRate((sayBeepCount - 1) % 2 ? 1 : 2));
    Press(kKeyReturn);
  }
  return scriptIndex >= done;
}

// Plays a told scene from its first tick; after command n (stage[0]), actor stage[1] stands on
// tile (stage[2], stage[3]) facing stage[4], shown or not (stage[5]). Every line opens its box
// at the top with its screenplay text, voiced by its speaker: king 26000, queen 32000, guard
// 28000, to 3999 more. Its `total` commands take `length` ticks, each line confirmed at once.
void PlayScene(const std::vector<V>& stages, int32_t total, int length, const ScreenplayLine* lines,
               size_t count) {
  std::vector<std::string> shown, expected;
  rates.clear();
  headless::Tick(), ticks = 1;  // the first builds the script
  for (const V& s : stages) {
    ASSERT_TRUE(RunCommands(s[0], &shown));
    const Actor& a = actors[s[1]];
    EXPECT_EQ(V({a.pixelX, a.pixelY, a.direction, a.visible, a.animFrame}),
              V({32 * s[2], 32 * s[3], s[4], s[5], 0}))
        << "after command " << s[0];
  }
  ASSERT_TRUE(RunCommands(total - 1, &shown));
  EXPECT_EQ(ticks, length);
  for (size_t i = 0; i < count; ++i) {
    expected.push_back(std::to_string(lines[i].speaker) + " 66 " + lines[i].text);
    EXPECT_EQ((rates[i] - (V{26000, 32000, 28000})[lines[i].speaker]) / 4000, 0u) << i + 1;
  }
  EXPECT_EQ(shown, expected);
}

TEST(Story, OpensOnTheThroneRoomPlaysItsScriptAndLandsInANewGame) {
  StartNewGame();
  SetPeople({{3, 5, 9}, {3, 6, 9}, {4, 7, 9}});
  PlaySoundSlot(0, 1, 0);
  Menu(kStory);
  EXPECT_FALSE(SoundSlotPlaying(0));
  EXPECT_EQ(V({currentRoom, showHearts, actors[2].present, actors[3].present}), V({0, 0, 0, 0}));
  ReferenceFrame f;
  f.Room(0);
  f.Actor(0, 224, 160, 2, 0);  // the king on the throne
  f.Actor(1, 160, 192, 2, 0);  // the queen beside him, on the carpet's edge
  EXPECT_EQ(f.Differences(headless::WindowPicture()), 0);
  PlayScene({{2, 0, 7, 6, 2, 1}, {41, 0, 7, 6, 3, 0}, {73, 1, 7, 13, 2, 0}, {95, 0, 7, 13, 2, 1}},
            97, 1164, kStoryLines, kStoryLineCount);
  ASSERT_TRUE(TickUntil([] { return sceneHandlers.tickHandler == PlayTick && hearts == 120; }));
}

TEST(Ending, TheSecretRoomsDoorwayLeadsIntoTheStoreRoomAndTheEndingIntoTheStaffRoll) {
  StartNewGame();
  PutKing(30, 11, 10, 0);  // below the doorway into the store room
  SetPeople({});
  Hold(kKeyUp, 8);
  EXPECT_EQ(V({currentRoom, showHearts}), V({31, 0}));
  // Inside the entrance the king, seen, facing up; behind him the queen and two guards, unseen.
  ReferenceFrame f;
  f.Room(31);
  f.Actor(0, 224, 352, 0, 0);
  EXPECT_EQ(f.Differences(headless::WindowPicture()), 0);
  PlayScene({{21, 0, 4, 7, 3, 1}, {76, 1, 7, 5, 1, 1}, {120, 2, 6, 8, 1, 1}, {155, 0, 7, 13, 2, 0}},
            166, 1227, kEndingLines, kEndingLineCount);
  ASSERT_TRUE(TickUntil([] { return sceneHandlers.tickHandler == StaffRollTick; }));
  EXPECT_TRUE(SoundSlotPlaying(0));  // the music
}

// The staff roll as it must look with the walkers where the actor table has them.
int StaffRollDifferences() {
  ReferenceFrame f;
  for (int32_t i = 0; i < 15 * 16; ++i) f.Opaque(32 * (i % 15), 32 * (i / 15), 32, 32, 608, 160);
  f.Opaque(160, 64, 160, 128, 480, 544);
  for (int32_t n = 0; n < 15; ++n)
    for (V r : {V{240, 32, 128}, V{256, 32, 160}, V{288, 0, 0}, V{288, 544, n % 4 == 2 ? 128 : -1},
                V{320, 0, 0}, V{352, 0, 0}, V{352, 544, n % 4 ? -1 : 128}, V{384, 32, 128},
                V{416, 32, 160}})
      if (r[2] >= 0) f.Opaque(32 * n, r[0], 32, 32, r[1], r[2]);
  for (int32_t i = 0; i < 8; ++i)
    f.Actor(i, actors[i].pixelX, actors[i].pixelY, actors[i].direction, actors[i].animFrame);
  return f.Differences(headless::WindowPicture());
}

TEST(StaffRoll, TheCastWalksToAndFroBelowThePanelEvery452TicksToTheMusic) {
  StartNewGame();
  Menu(kStory);
  headless::Tick(30);
  Menu(kStaffRoll);  // from anywhere, whatever was running
  EXPECT_TRUE(sceneHandlers.tickHandler == StaffRollTick && !sceneHandlers.confirmKeyHandler &&
              !sceneHandlers.directionKeyHandler && !sceneHandlers.eKeyHandler);
  std::vector<V> king;
  for (int tick = 1; tick <= 1100; ++tick) {
    headless::Tick();
    EXPECT_EQ(tick % 137 == 1 || tick == 177 || tick == 178 ? StaffRollDifferences() : 0, 0)
        << tick;
    king.push_back({actors[0].pixelX, actors[0].direction});
    for (int32_t i = 0; i < 8; ++i) ASSERT_EQ(actors[i].animFrame, (tick / 3) % 2) << tick;
  }
  // The king's first pass left ends at -228 on tick 177, where he turns (shown from the next).
  EXPECT_EQ(std::vector<V>(king.begin() + 175, king.begin() + 178),
            (std::vector<V>{{-224, 3}, {-228, 1}, {-224, 1}}));
  for (int t = 177; t + 452 < 1100; ++t) EXPECT_EQ(king[t], king[t + 452]) << t;
  // The music loops: after twice its length it still plays, and loudly.
  EXPECT_TRUE(SoundSlotPlaying(0));
}

}  // namespace
}  // namespace quillorn::test
