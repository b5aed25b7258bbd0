// Walking into people, being let go, game over, the E key, running out of hearts and the
// room survey.
#include "gameplay/encounter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game_driver.h"
#include "gameplay/hearts_out.h"
#include "gameplay/play.h"
#include "gameplay/survey.h"
#include "scenes/title_screen.h"
#include "script/message_box.h"
#include "script/script.h"

namespace quillorn::test {
namespace {

using platform::kKeyRight;

struct Cmd {
  int32_t type, p1, p2, p3;
  uint32_t p4;
  std::string text;
  bool operator==(const Cmd&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Cmd& c) {
  return os << "{" << c.type << "," << c.p1 << "," << c.p2 << "," << c.p3 << "," << c.p4 << ","
            << c.text.size() << " bytes}";
}

// The script up to its End.
std::vector<Cmd> Script() {
  std::vector<Cmd> out;
  for (const ScriptCommand& c : scriptCommands) {
    if (c.type == End) break;
    out.push_back({c.type, c.param1, c.param2, c.param3, c.param4, c.text});
  }
  return out;
}

class Encounters : public ::testing::Test {
 protected:
  void SetUp() override {
    StartNewGame();
    PutKing(2, 7, 7, 1);
  }
  void BumpRight() {
    headless::KeyDown(kKeyRight);
    headless::Tick();
    headless::KeyUp(kKeyRight);
    headless::Pump();
  }
};

TEST_F(Encounters, WalkingIntoAHiddenPersonRevealsItAndCostsNoHeart) {
  SetPeople({{3, 8, 7}});
  BumpRight();
  EXPECT_EQ(actors[1].visible, 1);
  EXPECT_EQ(actors[1].direction, 1);  // takes the king's direction
  EXPECT_EQ(actors[0].tileX, 7);
  EXPECT_EQ(actors[0].pixelX, 224);
  EXPECT_EQ(hearts, 120);
  EXPECT_EQ(encounteredActor, 1);
  EXPECT_EQ(Script(), (std::vector<Cmd>{
                          {Wait, 0, 0, 0, 64, ""},
                          {FaceKing, 1, 0, 0, 0, ""},
                          {Animate, 1, 2, 0, 100, ""},
                          {Say, 1, 1, 0, 64, "あっ！王様だ"},
                          {Animate, 0, 8, 0, 0, ""},
                          {Say, 0, 1, 0, 64, "ややや、しまったー！"},
                      }));
  EXPECT_EQ(scriptDoneHandler, GameOver);
  // FaceKing turns the person round to face the king on its left.
  headless::Tick(3);
  EXPECT_EQ(actors[1].direction, 3);
}

TEST_F(Encounters, OnlyTypesSixAndEightForgive) {
  for (int32_t type = 1; type <= 8; ++type) {
    SetUp();
    SetPeople({{type, 8, 7}});
    BumpRight();
    EXPECT_EQ(scriptDoneHandler, type == 6 || type == 8 ? Forgive : GameOver) << type;
    EXPECT_EQ(Script()[3].text, ReactionLine[type]) << type;
  }
  EXPECT_STREQ(ReactionLine[3], ReactionLine[8]);
  EXPECT_STREQ(ReactionLine[0], "");
}

TEST_F(Encounters, AForgivenPersonStaysVisibleAndForgivesAgain) {
  SetPeople({{6, 8, 7}});
  for (int round = 0; round < 2; ++round) {
    BumpRight();
    ConfirmWhenArmed(ConfirmMessage);  // her line
    ConfirmWhenArmed(ConfirmMessage);  // the king's
    ASSERT_EQ(scriptDoneHandler, ResumePlay);
    EXPECT_EQ(Script(), (std::vector<Cmd>{{Wait, 0, 0, 0, 1000, ""},
                                          {Say, 1, 1, 0, 64, "でも大丈夫、見逃してあげますわ♪"}}));
    ConfirmWhenArmed(ConfirmMessage);
    EXPECT_EQ(sceneHandlers.tickHandler, PlayTick);
    EXPECT_EQ(actors[1].visible, 1);
    EXPECT_EQ(actors[1].tileX, 8);
    EXPECT_EQ(hearts, 120);
  }
}

TEST_F(Encounters, GameOverPlaysItsSoundNarratesAndReturnsToTheTitle) {
  SetPeople({{4, 8, 7}});
  BumpRight();
  ConfirmWhenArmed(ConfirmMessage);
  uint32_t before = SoundSlotStarts(3);
  ConfirmWhenArmed(ConfirmMessage);
  EXPECT_EQ(SoundSlotStarts(3), before + 1);
  EXPECT_EQ(Script(), (std::vector<Cmd>{{Wait, 0, 0, 0, 1000, ""},
                                        {Narrate, 0, 1, 0, 64, "王様はつかまってしまった"},
                                        {Narrate, 0, 1, 0, 64, "ＧＡＭＥＯＶＥＲ"}}));
  EXPECT_EQ(scriptDoneHandler, ShowTitleScreen);
  ConfirmWhenArmed(ConfirmMessage);
  ConfirmWhenArmed(ConfirmMessage);
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, TitleConfirmKey);
  EXPECT_EQ(titleMenuIndex, 0);
}

TEST_F(Encounters, TheEKeyRevealsOnlyWhileStanding) {
  SetPeople({{3, 2, 2}, {4, 12, 12}});
  headless::KeyDown(platform::kKeyDown);
  headless::Tick(2);
  Press('E');  // mid-step: nobody shown
  EXPECT_EQ(actors[1].visible + actors[2].visible, 0);
  headless::KeyUp(platform::kKeyDown);
  headless::Tick(8);
  Press('E');
  EXPECT_EQ(actors[1].visible + actors[2].visible, 2);
  PlacePeople();  // the next entry hides them again
  EXPECT_EQ(actors[1].visible + actors[2].visible, 0);
}

TEST_F(Encounters, HeartsOutScriptWithPeopleInRecordOrder) {
  SetPeople({{3, 2, 2}, {6, 12, 12}});
  actors[3] = actors[2];  // slots need not be filled in order
  actors[2] = Actor{};
  OutOfHearts();
  std::vector<Cmd> expected = {
      {Narrate, 0, 0, 0, 64, "薬の効力が消えた"},
      {Blink, 0, 8, 0, 200, ""},
      {Narrate, 0, 0, 0, 64, "そして…"},
      {Blink, 1, 1, 0, 1, ""},
      {Blink, 3, 1, 0, 1, ""},
      {Wait, 0, 0, 0, 2000, ""},
      {Blink, 0, 7, 0, 200, ""},
      {Wait, 0, 0, 0, 1000, ""},
      {FaceKing, 1, 0, 0, 0, ""},
      {FaceKing, 3, 0, 0, 0, ""},
      {Animate, 1, 4, 0, 100, ""},
      {Say, 1, 1, 0, 64, "あっ！王様だ"},
      {Animate, 3, 4, 0, 100, ""},
      {Say, 3, 1, 0, 64, "あら、見つけましたわ♪"},
      {Wait, 0, 0, 0, 500, ""},
      {Animate, 0, 8, 0, 80, ""},
      {Say, 0, 1, 0, 64, "ややや、しまったー！"},
  };
  EXPECT_EQ(Script(), expected);
  EXPECT_EQ(scriptDoneHandler, GameOver);
}

TEST_F(Encounters, HeartsOutInAnEmptyRoomStillEndsTheGame) {
  SetPeople({});
  OutOfHearts();
  std::vector<Cmd> s = Script();
  ASSERT_EQ(s.size(), 9u);
  EXPECT_EQ(s[3], (Cmd{Wait, 0, 0, 0, 2000, ""}));
  EXPECT_EQ(s[8].text, "ややや、しまったー！");
  // Played through: the king flickers out and back, and game over follows.
  for (int line = 0; line < 3; ++line) ConfirmWhenArmed(ConfirmMessage);
  EXPECT_EQ(actors[0].visible, 1);
  EXPECT_EQ(Script()[1].text, "王様はつかまってしまった");
}

TEST_F(Encounters, SurveyCountsEveryoneAndLeavesTheKingFacingLeft) {
  SetPeople({{3, 2, 2}, {4, 12, 12}, {8, 3, 12}});
  actors[2].visible = 1;
  Press(platform::kKeySpace);
  EXPECT_EQ(Script(), (std::vector<Cmd>{{Turn, 0, 0, 3, 10, ""},
                                        {Wait, 0, 0, 0, 100, ""},
                                        {Turn, 0, 0, 1, 10, ""},
                                        {Wait, 0, 0, 0, 100, ""},
                                        {Turn, 0, 0, 3, 10, ""},
                                        {Say, 0, 1, 0, 64, "３人いるようじゃ"}}));
  // No proximity beep during the survey: every sound is the king's voice, 26000 to 29999.
  int voices = 0;
  for (int i = 0; i < 60 && sceneHandlers.confirmKeyHandler != ConfirmMessage; ++i) {
    uint32_t starts = SoundSlotStarts(1) + SoundSlotStarts(2);
    headless::Tick();
    if (SoundSlotStarts(1) + SoundSlotStarts(2) == starts) continue;
    ++voices;
    uint32_t rate = SoundSlotRate(sayBeepCount % 2 ? 1 : 2);
    EXPECT_GE(rate, 26000u);
    EXPECT_LT(rate, 30000u);
  }
  EXPECT_EQ(voices, 8);  // one per character of the line
  Press(platform::kKeySpace);
  EXPECT_EQ(actors[0].direction, 3);
  EXPECT_EQ(sceneHandlers.tickHandler, PlayTick);
  EXPECT_EQ(hearts, 120);
  EXPECT_EQ(actors[1].visible + actors[3].visible, 0);
}

TEST_F(Encounters, SurveyLinesForNobodyToSeven) {
  const char* lines[8] = {"誰もいないようじゃ", "１人いるようじゃ", "２人いるようじゃ",
                          "３人いるようじゃ",   "４人いるようじゃ", "５人いるようじゃ",
                          "６人いるようじゃ",   "７人いるようじゃ"};
  for (int32_t n = 0; n <= 7; ++n) {
    SetPeople({});
    for (int32_t k = 1; k <= n; ++k) PlaceActor(k, 3, k + 1, 10, 0, 0);
    SurveyRoom();
    EXPECT_EQ(Script().back().text, lines[n]) << n;
  }
}

}  // namespace
}  // namespace quillorn::test
