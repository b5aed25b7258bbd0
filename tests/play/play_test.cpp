// The rules of play, driven by keys and ticks: steps, walls, doorways, hearts, flowers,
// footprints, people and their placing, encounters, the survey and the beep. At still moments
// the window must equal a frame composed independently from the sheet and the map.
#include "gameplay/play.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "game_driver.h"
#include "gameplay/beeps.h"
#include "gameplay/castle_map.h"
#include "gameplay/encounter.h"
#include "gameplay/hearts_out.h"
#include "gameplay/survey.h"
#include "reference_frame.h"
#include "script/message_box.h"

namespace quillorn::test {
namespace {

using namespace platform;
using V = std::vector<int32_t>;
const int kDx[4] = {0, 1, 0, -1}, kDy[4] = {-1, 0, 1, 0};
std::map<int32_t, std::vector<V>> footprints;  // by room: x, y, direction

int CastleDifferences() {
  return test::CastleDifferences(footprints[currentRoom]);
}

V King() {
  const Actor& k = actors[0];
  return {k.tileX, k.tileY, k.pixelX, k.pixelY, k.direction, k.animFrame, hearts};
}

class Play : public ::testing::Test {
 protected:
  void SetUp() override {
    footprints.clear();
    StartNewGame();
    SetPeople({});
  }
};

TEST_F(Play, AWallCostsNothingAStepIsEightTicksOfFourPixelsThenAHeartAndTheBarShowsThem) {
  SetPeople({{3, 5, 3}});  // (6, 3) is wall: he turns and hears no beep while he pushes
  uint32_t beeps = SoundSlotStarts(1);
  Hold(kKeyLeft, 30);
  EXPECT_EQ(SoundSlotStarts(1), beeps);
  EXPECT_EQ(King(), (V{7, 3, 224, 96, 3, 0, 120}));
  headless::KeyDown(kKeyDown);
  std::vector<V> seen;
  for (int i = 0; i < 8; ++i) {
    headless::Tick();
    Rect r = headless::LastPaintedRect();  // mid-step only the square round the king
    seen.push_back(King());
    seen.push_back({r.left - actors[0].pixelX, r.top - actors[0].pixelY, r.right - r.left,
                    r.bottom - r.top, sceneHandlers.eKeyHandler == nullptr});
  }
  headless::KeyUp(kKeyDown);
  std::vector<V> expected;
  for (int i = 0; i < 8; ++i) {
    expected.push_back({7, 4, 224, 100 + 4 * i, 2, i < 4, 120 - (i == 7)});
    expected.push_back(i < 7 ? V{-8, -8, 48, 48, 1} : V{-224, -128, 480, 512, 0});
  }
  EXPECT_EQ(seen, expected);
  TilePos n{-1, -1};  // no tile lies beyond the 16 x 16 grid's edges
  for (V t : {V{15, 5, 1}, V{0, 5, 3}, V{5, 0, 0}, V{5, 15, 2}, V{15, 15, 1}})
    EXPECT_EQ(NeighbourTile({t[0], t[1]}, t[2], &n) + n.x, -1) << t[0] << "," << t[1];
  footprints[2].push_back({7, 3, 2});
  for (int32_t h : {0, 1, 10, 11, 31, 99, 120, -1}) {  // the bar: hearts / 10 rounded up, or none
    showHearts = h >= 0;
    hearts = h;
    ComposeFrame();
    InvalidateRect(nullptr);
    headless::Pump();
    EXPECT_EQ(CastleDifferences(), 0) << h;
  }
}

TEST_F(Play, TheStaircaseIntoRoom5AlwaysLeadsOutLeft) {
  PutKing(4, 3, 5, 0);
  Hold(kKeyUp, 8);  // onto room 4's staircase: room 5 at (11, 7), drawn one tile back
  EXPECT_EQ(currentRoom, 5);
  EXPECT_EQ(King(), (V{11, 7, 384, 224, 3, 0, 119}));
  headless::Tick(8);
  EXPECT_EQ(King(), (V{11, 7, 352, 224, 3, 0, 118}));
  SetPeople({});
  headless::Tick();
  EXPECT_EQ(CastleDifferences(), 0);
}

TEST_F(Play, TheLastHeartEndsTheGameWhereverTheStepEnds) {
  // Two hearts cross room 2's doorway and run out in room 3; one runs out on the doorway,
  // also on the one into the secret room.
  for (V c : {V{2, 12, 7, 2, 16, 3}, V{2, 12, 7, 1, 8, 2}, V{30, 10, 9, 1, 8, 30}}) {
    SetUp();
    PutKing(c[0], c[1], c[2], 1);
    hearts = c[3];
    Hold(kKeyRight, c[4]);
    EXPECT_EQ(V({currentRoom, hearts, showHearts}), V({c[5], 0, 1}));
    EXPECT_EQ(scriptDoneHandler, GameOver);
  }
}

TEST_F(Play, PeopleWalkedIntoSpeakAndOnlyTypesSixAndEightForgiveAgainAndAgain) {
  for (int32_t type = 1; type <= 8; ++type) {
    SetUp();
    PutKing(2, 7, 7, 1);
    SetPeople({{type, 8, 7}});
    Hold(kKeyRight, 1);
    EXPECT_EQ(scriptDoneHandler, type == 6 || type == 8 ? Forgive : GameOver) << type;
    EXPECT_EQ(V({actors[1].direction, actors[1].visible, hearts}), V({1, 1, 120}));
    EXPECT_EQ(CastleDifferences(), 0);  // revealed at once
  }
  EXPECT_EQ(ScriptDump(),
            "6:0,0,0,64 7:1,0,0,0 1:1,2,0,100 4:1,1,0,64あっ！王様だ 1:0,8,0,0 "
            "4:0,1,0,64ややや、しまったー！");
  headless::Tick(3);  // she turns to face the king, and is seen to
  EXPECT_EQ(V({actors[1].direction, CastleDifferences()}), V({3, 0}));
  ConfirmWhenArmed(ConfirmMessage);
  ConfirmWhenArmed(ConfirmMessage);
  EXPECT_EQ(ScriptDump(), "6:0,0,0,1000 4:1,1,0,64でも大丈夫、見逃してあげますわ♪");
  ConfirmWhenArmed(ConfirmMessage);
  EXPECT_EQ(sceneHandlers.tickHandler, PlayTick);
  // She stays, seen; the E key shows the rest, one on the king's own tile drawn over him.
  SetPeople({{3, 2, 2}, {4, 7, 7}, {6, 8, 7}});
  actors[3].visible = 1;
  Press('E');
  EXPECT_EQ(actors[1].visible + actors[2].visible, 2);
  EXPECT_EQ(CastleDifferences(), 0);
  PlacePeople();  // entering again hides them
  EXPECT_EQ(actors[1].visible + actors[2].visible + actors[3].visible, 0);
}

TEST_F(Play, OutOfHeartsTheKingFlickersBackAndEveryoneFindsHim) {
  SetPeople({{2, 2, 2}, {6, 4, 2}});
  actors[3] = actors[2];  // slots need not be filled in order
  actors[2] = Actor{};
  OutOfHearts();
  EXPECT_EQ(ScriptDump(),
            "5:0,0,0,64薬の効力が消えた 2:0,8,0,200 5:0,0,0,64そして… 2:1,1,0,1 "
            "2:3,1,0,1 6:0,0,0,2000 2:0,7,0,200 6:0,0,0,1000 7:1,0,0,0 7:3,0,0,0 "
            "1:1,4,0,100 4:1,1,0,64見つけましたぞ、王様 1:3,4,0,100 "
            "4:3,1,0,64あら、見つけましたわ♪ 6:0,0,0,500 1:0,8,0,80 "
            "4:0,1,0,64ややや、しまったー！");
  EXPECT_EQ(scriptDoneHandler, GameOver);
}

TEST_F(Play, TheSurveyCountsEveryoneAndLeavesTheKingFacingLeft) {
  const char* counts[8] = {"誰もいない", "１人いる", "２人いる", "３人いる",
                           "４人いる",   "５人いる", "６人いる", "７人いる"};
  for (int32_t n = 7; n >= 0; --n) {
    SetPeople({});
    for (int32_t k = 1; k <= n; ++k) PlaceActor(k, 3, k + 1, 4, 0, 0);
    Press(kKeySpace);
    EXPECT_EQ(ScriptDump(), "8:0,0,3,10 6:0,0,0,100 8:0,0,1,10 6:0,0,0,100 8:0,0,3,10 4:0,1,0,64" +
                                std::string(counts[n]) + "ようじゃ");
    ConfirmWhenArmed(ConfirmMessage);
    EXPECT_EQ(V({actors[0].direction, hearts}), V({3, 120}));
  }
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

TEST_F(Play, TheNearestPersonBeepsFasterAndHigherTheNearerAndFrom20NotAtAll) {
  PutKing(2, 1, 1);
  for (int32_t n = 0; n <= 24; ++n) {
    int32_t dx = std::min(n, 14), d = std::max(n, 1);   // his own tile counts as one
    SetPeople({{3, 1 + dx, 1 + n - dx}, {4, 14, 14}});  // the second one 26 away
    actors[1].visible = n % 2;                          // seen or not, it counts
    beepCounter = 0;
    EXPECT_EQ(CallsUntilBeep(), n < 20 ? d + 1 : 0) << n;
    EXPECT_EQ(n < 20 ? SoundSlotRate(1) : 0u, n >= 20   ? 0u
                                              : n == 19 ? 2000u
                                                        : 36000u - 1800u * d)
        << n;
    EXPECT_EQ(beepCounter, 0) << n;  // silence leaves it as it is
  }
}

TEST_F(Play, Room2sTopCorridorIsKeptClearToItsMouthAndTheMouthsNeighbours) {
  PutKing(2, 3, 12);
  PlacePeople();
  std::string taken;
  for (V t : {V{7, 1}, {7, 2}, {7, 3}, {7, 4}, {7, 5}, {6, 4}, {8, 4}})
    taken += std::to_string(placementGrid[t[1]][t[0]]);
  EXPECT_EQ(taken, "1111111");
}

TEST_F(Play, PeopleStandOnFreeFloorAwayFromDoorwaysAndTheKing) {
  for (int32_t room = 0; room < 32; ++room)
    for (uint32_t seed = 1; seed <= 40; ++seed) {
      SeedRandom(seed * 7919u + uint32_t(room));
      PutKing(room, 7, 3 + int32_t(seed % 5));
      PlacePeople();
      std::set<V> used = {{actors[0].tileX, actors[0].tileY}};
      for (int32_t k = 1; k < 8; ++k) {
        int32_t type = castleMap[room].personTypes[k - 1];
        const Actor& p = actors[k];
        ASSERT_EQ(p.present, type != 0) << room << " " << seed << " " << k;
        if (!type) continue;
        EXPECT_EQ(V({p.type, p.visible, p.direction / 2, p.pixelX - 32 * p.tileX,
                     p.pixelY - 32 * p.tileY}),
                  V({type, 0, 0, 0, 0}));
        ASSERT_TRUE(p.tileX >= 1 && p.tileX <= 13 && p.tileY >= 1 && p.tileY <= 13);
        EXPECT_LT(TileId(room, p.tileX, p.tileY), 40);  // nor on a flower
        for (int d = 0; d < 5; ++d)  // a doorway and its neighbours are kept clear
          EXPECT_EQ(
              ExitNumber(room, p.tileX + kDx[d % 4] * (d < 4), p.tileY + kDy[d % 4] * (d < 4)), 0);
        EXPECT_TRUE(used.insert({p.tileX, p.tileY}).second);
      }
    }
}

TEST_F(Play, AFlowerRefillsTenHeartsATickAndAPersonWhoDoesNotForgiveEndsTheGame) {
  PutKing(3, 2, 5, 0);  // below the flower at (2, 4)
  PlacePeople();
  SetPeople({});
  hearts = 107;
  Hold(kKeyUp, 1);
  EXPECT_EQ(King(), (V{2, 5, 64, 160, 0, 0, 107}));  // he stays
  EXPECT_EQ(ScriptDump(), "4:0,0,0,64う～ん、よい香りじゃのう");
  uint32_t flower = SoundSlotStarts(4);
  ConfirmWhenArmed(ConfirmMessage);
  EXPECT_EQ(SoundSlotStarts(4), flower + 1);
  EXPECT_GT(SoundSlotRate(4), 8000u);  // at the sound's own rate
  V refill;
  for (; sceneHandlers.tickHandler == RefillTick && refill.size() < 9; refill.push_back(hearts))
    headless::Tick();
  EXPECT_EQ(refill, (V{117, 120}));
  EXPECT_EQ(CastleDifferences(), 0);
  SetPeople({{4, 3, 5}});
  Hold(kKeyRight, 1);
  ConfirmWhenArmed(ConfirmMessage);
  uint32_t gameOver = SoundSlotStarts(3);
  ConfirmWhenArmed(ConfirmMessage);
  EXPECT_EQ(SoundSlotStarts(3), gameOver + 1);
  EXPECT_EQ(ScriptDump(),
            "6:0,0,0,1000 5:0,1,0,64王様はつかまってしまった 5:0,1,0,64ＧＡＭＥＯＶＥＲ");
  for (int line = 0; line < 2; ++line) ConfirmWhenArmed(ConfirmMessage);
  ReferenceFrame title;
  title.Title();
  title.TitleCursor(0);
  EXPECT_EQ(title.Differences(headless::WindowPicture()), 0);
}

}  // namespace
}  // namespace quillorn::test
