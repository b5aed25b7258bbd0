// The event script: the command list, its dispatcher and staging commands, and the message box
// whose typewriter wraps, breaks lines at the letter b and voices every character.
#include <gtest/gtest.h>

#include <string>

#include "game_driver.h"
#include "reference_frame.h"
#include "script/message_box.h"

namespace quillorn::test {
namespace {

using namespace platform;
int doneCalls = 0;

class Script : public ::testing::Test {
 protected:
  void SetUp() override {
    StartNewGame();
    PutKing(2, 7, 7);
    SetPeople({});
    ClearSceneHandlers();
    ClearScript();
    doneCalls = 0;
    scriptDoneHandler = [] { ++doneCalls; };
  }
  // Ticks until the script hands over; returns what `value` gave after each tick.
  std::string TicksUntilDone(int32_t (*value)()) {
    std::string seen;
    for (int i = 0; i < 100 && doneCalls == 0; ++i) {
      headless::Tick();
      seen += std::to_string(value()) + " ";
    }
    return seen;
  }
};

TEST_F(Script, WaitsCountMillisecondsEvenAcrossTheClocksWrap) {
  StartNewGame(0xFFFFFC00u);  // the second wait begins some 900 ms before the clock wraps
  SetUp();
  AddScriptCommand(Wait, 0, 0, 0, 0, "");
  AddScriptCommand(Wait, 0, 0, 0, 1000, "");
  RunScript();
  // A wait of 0 ends on the first tick; 19 x 54 = 1026, the first tick 1000 ms on.
  std::string want;
  for (int i = 0; i < 19; ++i) want += "1 ";
  EXPECT_EQ(TicksUntilDone([] { return scriptIndex; }), want + "2 ");
}

// Each step shows at once: the window equals the frame the king's state makes (-1 if not).
TEST_F(Script, BlinkAnimateWalkAndTurnStepOncePerTickOrIntervalAndShowEachStep) {
  AddScriptCommand(Blink, 0, 2, 0, 0, "");
  AddScriptCommand(Blink, 0, 7, 0, 0, "");
  AddScriptCommand(Animate, 0, 8, 0, 0, "");
  AddScriptCommand(Animate, 0, 4, 0, 80, "");
  AddScriptCommand(Walk, 0, 0, 3, 10, "");
  AddScriptCommand(Walk, 0, 1, 0, 10, "");
  AddScriptCommand(Turn, 0, 0, 1, 10, "");
  RunScript();
  EXPECT_EQ(TicksUntilDone([] {
              const Actor& k = actors[0];
              return CastleDifferences() ? -1
                                         : k.visible * 1000000 + k.animFrame * 100000 +
                                               k.pixelX * 100 + k.pixelY / 4;
            }),
            "1022456 22456 "                                      // 2 blinks end hidden
            "1022456 22456 1022456 22456 1022456 22456 1022456 "  // 7 end shown
            "1122456 1022456 1122456 1022456 1122456 1022456 1122456 1022456 "  // a frame a tick
            "1022456 1122456 1122456 1022456 1022456 1122456 1122456 1022456 "  // one every 80 ms
            "1122056 1121656 1121256 1120856 1020456 1020056 1019656 1019256 "  // a slow walk left
            "1119254 1119252 1019250 1019248 "                                  // a fast one up
            "1019248 ");                                                        // a turn right
  EXPECT_EQ(actors[0].tileX * 100 + actors[0].tileY * 10 + actors[0].direction, 771);
}

// The pen after each call of the typewriter, "x,y", and "." when it reports the end.
std::string Typed(const std::string& text) {
  OpenMessageBox(text.c_str(), 16, 48);
  std::string out;
  for (int i = 0; i < 300 && TypeNextCharacter(); ++i)
    out += std::to_string(MessageText.penX) + "," + std::to_string(MessageText.penY) + " ";
  return out + ".";
}

TEST_F(Script, TheTypewriterWrapsAfterTwelveWideCharactersAndBreaksAtTheLetterB) {
  EXPECT_EQ(Typed("王王王王王王王王王王王王様"),
            "34,0 68,0 102,0 136,0 170,0 204,0 238,0 272,0 306,0 340,0 374,0 0,36 34,36 .");
  // The break and the next character in one call; a second b is a letter; a b at the end
  // breaks the row and draws nothing; a lead byte before the end is drawn alone.
  EXPECT_EQ(Typed("あbい") + Typed("bb") + Typed("あb"), "34,0 34,36 .20,36 .34,0 .");
  EXPECT_EQ(MessageText.penY, 36);
  EXPECT_EQ(Typed("\x82"), "20,0 .");
  EXPECT_EQ(MessageText.readPos * 100000 + MessageText.originX * 1000 + MessageText.originY,
            136066);
  // Longer texts are cut to 255 bytes at a character boundary; nothing past them is read.
  std::string wide;
  for (int i = 0; i < 140; ++i) wide += "あ";
  for (std::string text : {std::string(300, 'x'), "x" + wide, wide}) {
    OpenMessageBox(text.c_str(), 16, 48);
    EXPECT_EQ(std::string(MessageText.text), text.substr(0, text == wide ? 254 : 255));
  }
  MessageText.readPos = 300;
  EXPECT_EQ(TypeNextCharacter(), 0);
}

TEST_F(Script, LinesAreVoicedAtTheSpeakersPitchOnAlternateSlots) {
  ClearScript();
  sayBeepCount = narrateBeepCount = 0;  // as at program start
  PlaceActor(1, 2, 3, 3, 0, 0);         // type 2: 20000 Hz
  AddScriptCommand(Say, 1, 0, 0, 0, "あい");
  AddScriptCommand(Say, 9, 0, 0, 0, "う");  // no such actor: 30000
  AddScriptCommand(Narrate, 0, 0, 0, 0, "");
  AddScriptCommand(Narrate, 0, 0, 0, 0, "え");
  RunScript();
  // 20000 to 23999 on slots 1 and 2, none at the end, 30000 to 33999 on 2 (the count carries
  // on); the empty line armed without a voice; narration 12000 to 15999 on 2: its own count.
  const uint32_t want[8][2] = {{1, 20000}, {2, 20000}, {0}, {2, 30000}, {0}, {0}, {2, 12000}};
  for (int i = 0; i < 8; ++i) {
    uint32_t s1 = SoundSlotStarts(1), s2 = SoundSlotStarts(2);
    headless::Tick();
    uint32_t slot = SoundSlotStarts(1) != s1 ? 1 : SoundSlotStarts(2) != s2 ? 2 : 0;
    EXPECT_EQ(slot * 100 + (slot ? (SoundSlotRate(slot) - want[i][1]) / 4000 : 0), 100 * want[i][0])
        << i;
    EXPECT_EQ(sceneHandlers.confirmKeyHandler, want[i][0] ? nullptr : ConfirmMessage);
    if (sceneHandlers.confirmKeyHandler == ConfirmMessage) Press(kKeyReturn);
  }
  EXPECT_EQ(doneCalls, 1);
  std::string bases;  // by type, then outside 0 to 8
  for (int32_t t : {0, 1, 2, 3, 4, 5, 6, 7, 8, -1, 9})
    bases += std::to_string(VoiceBaseFrequency(t) / 1000) + " ";
  EXPECT_EQ(bases, "26 32 20 28 20 24 32 30 34 30 30 ");
}

}  // namespace
}  // namespace quillorn::test
