// The message box and its typewriter: placing, wrapping, the line-break marker, voices.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game_driver.h"
#include "graphics/graphics.h"
#include "script/message_box.h"
#include "script/script.h"

namespace quillorn::test {
namespace {

class Typewriter : public ::testing::Test {
 protected:
  void SetUp() override {
    StartNewGame();
    SetPeople({});
    ClearSceneHandlers();
    ClearScript();
  }
  // Types the whole text; returns the number of characters drawn.
  int TypeAll() {
    int n = 0;
    while (TypeNextCharacter()) ++n;
    return n;
  }
};

TEST_F(Typewriter, FullWidthCharactersAdvance34AndARowHoldsTwelve) {
  std::string twelve;
  for (int i = 0; i < 12; ++i) twelve += "王";
  OpenMessageBox((twelve + "様").c_str(), 16, 336);
  EXPECT_EQ(MessageText.originX, 36);
  EXPECT_EQ(MessageText.originY, 354);
  for (int i = 1; i <= 11; ++i) {
    ASSERT_EQ(TypeNextCharacter(), 1);
    EXPECT_EQ(MessageText.penX, 34 * i);
    EXPECT_EQ(MessageText.penY, 0);
  }
  // The twelfth reaches 408: the wrap comes after drawing it.
  ASSERT_EQ(TypeNextCharacter(), 1);
  EXPECT_EQ(MessageText.penX, 0);
  EXPECT_EQ(MessageText.penY, 36);
  ASSERT_EQ(TypeNextCharacter(), 1);
  EXPECT_EQ(MessageText.penX, 34);
  EXPECT_EQ(TypeNextCharacter(), 0);
}

TEST_F(Typewriter, TheLetterBIsALineBreak) {
  OpenMessageBox("あbい", 16, 48);
  ASSERT_EQ(TypeNextCharacter(), 1);
  ASSERT_EQ(TypeNextCharacter(), 1);  // the break and い in one call
  EXPECT_EQ(MessageText.penX, 34);
  EXPECT_EQ(MessageText.penY, 36);
  EXPECT_EQ(MessageText.readPos, 5);
  EXPECT_EQ(TypeNextCharacter(), 0);
}

TEST_F(Typewriter, TwoMarkersBreakOnceAndDrawTheSecondAsB) {
  OpenMessageBox("bb", 16, 48);
  ASSERT_EQ(TypeNextCharacter(), 1);
  EXPECT_EQ(MessageText.penY, 36);
  EXPECT_EQ(MessageText.penX, 20);  // the letter b, half-width
  EXPECT_EQ(TypeNextCharacter(), 0);
}

TEST_F(Typewriter, AMarkerBeforeTheEndDrawsNothing) {
  OpenMessageBox("あb", 16, 48);
  ASSERT_EQ(TypeNextCharacter(), 1);
  EXPECT_EQ(TypeNextCharacter(), 0);
  EXPECT_EQ(MessageText.penY, 36);
  EXPECT_EQ(TypeNextCharacter(), 0);
}

TEST_F(Typewriter, ALeadByteBeforeTheEndIsDrawnAloneAndEndsTheText) {
  OpenMessageBox("\x82", 16, 48);
  ASSERT_EQ(TypeNextCharacter(), 1);
  EXPECT_EQ(MessageText.readPos, 1);
  EXPECT_EQ(MessageText.penX, 20);
  EXPECT_EQ(TypeNextCharacter(), 0);
  EXPECT_EQ(MessageText.readPos, 1);
}

TEST_F(Typewriter, LongTextsAreCutAndNeverReadPastTheBuffer) {
  std::string text(300, 'x');
  OpenMessageBox(text.c_str(), 16, 48);
  EXPECT_EQ(std::strlen(MessageText.text), 255u);
  EXPECT_EQ(TypeAll(), 255);
  std::string wide;
  for (int i = 0; i < 140; ++i) wide += "あ";
  OpenMessageBox(("x" + wide).c_str(), 16, 48);
  EXPECT_EQ(std::strlen(MessageText.text), 255u);  // "x" and 127 whole characters
  OpenMessageBox(wide.c_str(), 16, 48);
  EXPECT_EQ(std::strlen(MessageText.text), 254u);
  EXPECT_EQ(TypeAll(), 127);
  // A read position pushed past the field reads as the end.
  MessageText.readPos = 300;
  EXPECT_EQ(TypeNextCharacter(), 0);
}

TEST_F(Typewriter, TheBoxAvoidsTheKing) {
  for (auto [pixelY, boxY] : {std::pair{143, 336}, std::pair{144, 48}, std::pair{0, 336}}) {
    actors[0].pixelY = pixelY;
    ClearScript();
    AddScriptCommand(Narrate, 0, 0, 0, 0, "あ");
    RunScript();
    EXPECT_EQ(MessageText.originY, boxY + 18) << pixelY;
    EXPECT_EQ(MessageText.originX, 36);
  }
}

TEST_F(Typewriter, AnEmptyLineArmsTheConfirmKeyAtOnceWithoutABeep) {
  AddScriptCommand(Say, 0, 0, 0, 0, "");
  RunScript();
  uint32_t voices = SoundSlotStarts(1) + SoundSlotStarts(2);
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, nullptr);
  headless::Tick();
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, ConfirmMessage);
  EXPECT_EQ(sceneHandlers.tickHandler, nullptr);
  EXPECT_EQ(SoundSlotStarts(1) + SoundSlotStarts(2), voices);
}

TEST_F(Typewriter, VoicesAlternateSlotsAtTheSpeakersPitch) {
  sayBeepCount = 0;  // as at program start
  narrateBeepCount = 0;
  PlaceActor(1, 2, 3, 3, 0, 0);  // type 2: 20000 Hz
  AddScriptCommand(Say, 1, 0, 0, 0, "あい");
  AddScriptCommand(Say, 9, 0, 0, 0, "う");  // no such actor: an unknown voice, 30000
  AddScriptCommand(Narrate, 0, 0, 0, 0, "え");
  RunScript();
  uint32_t s1 = SoundSlotStarts(1), s2 = SoundSlotStarts(2);
  headless::Tick();
  EXPECT_EQ(SoundSlotStarts(1), s1 + 1);  // the first voice plays on slot 1
  EXPECT_GE(SoundSlotRate(1), 20000u);
  EXPECT_LT(SoundSlotRate(1), 24000u);
  headless::Tick();
  EXPECT_EQ(SoundSlotStarts(2), s2 + 1);
  EXPECT_GE(SoundSlotRate(2), 20000u);
  EXPECT_LT(SoundSlotRate(2), 24000u);
  headless::Tick();  // the end: no voice
  EXPECT_EQ(SoundSlotStarts(1) + SoundSlotStarts(2), s1 + s2 + 2);
  EXPECT_EQ(sayBeepCount, 3);
  Press(platform::kKeyReturn);
  headless::Tick();  // the counter carries on: 4, even, slot 2
  EXPECT_EQ(SoundSlotStarts(2), s2 + 2);
  EXPECT_GE(SoundSlotRate(2), 30000u);
  EXPECT_LT(SoundSlotRate(2), 34000u);
  headless::Tick();
  Press(platform::kKeyReturn);
  headless::Tick();  // narration counts on its own: 1, slot 1, low
  EXPECT_EQ(narrateBeepCount, 1);
  EXPECT_EQ(SoundSlotStarts(1), s1 + 2);
  EXPECT_GE(SoundSlotRate(1), 12000u);
  EXPECT_LT(SoundSlotRate(1), 16000u);
}

TEST(VoiceBaseFrequency, ByType) {
  const int32_t expected[9] = {26000, 32000, 20000, 28000, 20000, 24000, 32000, 30000, 34000};
  for (int32_t t = 0; t < 9; ++t) EXPECT_EQ(VoiceBaseFrequency(t), expected[t]) << t;
  EXPECT_EQ(VoiceBaseFrequency(-1), 30000);
  EXPECT_EQ(VoiceBaseFrequency(9), 30000);
}

}  // namespace
}  // namespace quillorn::test
