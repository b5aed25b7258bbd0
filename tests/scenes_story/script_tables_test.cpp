// The story's and the ending's scripts as built: command counts, type totals, the
// parameters of every timed command, the speaker order, and the lines themselves.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "gameplay/encounter.h"
#include "scene_driver.h"
#include "scenes/ending.h"
#include "scenes/screenplay.h"
#include "scenes/story.h"

namespace quillorn::test {
namespace {

struct Timed {
  int32_t actor, steps;
  uint32_t ms;
  bool operator==(const Timed&) const = default;
};

struct Built {
  int32_t length = 0;  // records before the End
  std::map<int32_t, int> totals;
  std::string speakers;  // K, Q or G per Say
  std::vector<const char*> texts;
  std::vector<uint32_t> waits;
  std::vector<Timed> animates, blinks;
  bool otherTextsEmpty = true;
};

// Builds the scene's script as its menu command does and reads the list back.
Built Build(uint32_t menuCommand) {
  StartAtTitle();
  StartSceneFromMenu(menuCommand);
  Built b;
  const char* names = "KQGH";
  for (b.length = 0; scriptCommands[b.length].type != End; ++b.length) {
    const ScriptCommand& c = scriptCommands[b.length];
    ++b.totals[c.type];
    if (c.type == Say) {
      b.speakers += names[c.param1 & 3];
      b.texts.push_back(c.text);
    } else if (c.text[0] != 0) {
      b.otherTextsEmpty = false;
    }
    if (c.type == Wait) b.waits.push_back(c.param4);
    if (c.type == Animate) b.animates.push_back({c.param1, c.param2, c.param4});
    if (c.type == Blink) b.blinks.push_back({c.param1, c.param2, c.param4});
  }
  ++b.totals[End];
  return b;
}

const std::string kStorySpeakers =
    "KQKQKQKQQKQKQKKQKKQKQK"
    "QKQKQKKQKQKQKQQQQKQ"
    "KKKKKKKKK";
const std::string kEndingSpeakers =
    "KKKKKKKKKKKKKKKKKKKKK"
    "QKQQQKQQKQ"
    "GQG"
    "KQKQKKK";

std::string ScreenplaySpeakers(const ScreenplayLine* lines, int32_t count) {
  std::string s;
  for (int32_t i = 0; i < count; ++i) s += "KQG"[lines[i].speaker];
  return s;
}

TEST(StoryScript, NinetySevenCommandsOfTheRightKinds) {
  Built b = Build(kMenuStory);
  EXPECT_EQ(b.length + 1, 97);
  std::map<int32_t, int> want = {{Say, 50},    {Walk, 17}, {Wait, 10}, {Turn, 9},
                                 {Animate, 6}, {Blink, 4}, {End, 1}};
  EXPECT_EQ(b.totals, want);
  EXPECT_EQ(b.waits,
            (std::vector<uint32_t>{1000, 500, 500, 500, 500, 1000, 2000, 2000, 1000, 1000}));
  EXPECT_EQ(
      b.animates,
      (std::vector<Timed>{{0, 4, 80}, {0, 4, 80}, {0, 4, 80}, {1, 4, 80}, {1, 4, 80}, {1, 4, 80}}));
  EXPECT_EQ(b.blinks, (std::vector<Timed>{{0, 8, 200}, {1, 2, 10}, {0, 1, 10}, {0, 2, 10}}));
  EXPECT_TRUE(b.otherTextsEmpty);
  EXPECT_EQ(scriptDoneHandler, quillorn::StartGame);
}

TEST(EndingScript, OneHundredSixtySixCommandsOfTheRightKinds) {
  Built b = Build(kMenuEnding);
  EXPECT_EQ(b.length + 1, 166);
  std::map<int32_t, int> want = {{Say, 41}, {Walk, 60}, {Turn, 27}, {Animate, 23},
                                 {Wait, 8}, {Blink, 6}, {End, 1}};
  EXPECT_EQ(b.totals, want);
  EXPECT_EQ(b.waits, (std::vector<uint32_t>{1000, 1000, 1000, 1000, 1000, 1000, 1000, 2000}));
  std::vector<Timed> animates = {{0, 8, 80}};
  for (int i = 0; i < 9; ++i) animates.push_back({0, 2, 80});
  for (Timed t : std::vector<Timed>{{1, 2, 80},
                                    {0, 8, 8},
                                    {0, 4, 80},
                                    {1, 2, 80},
                                    {2, 2, 80},
                                    {1, 2, 80},
                                    {2, 2, 80},
                                    {0, 8, 80},
                                    {1, 2, 80},
                                    {0, 8, 80},
                                    {1, 2, 80},
                                    {0, 8, 80},
                                    {0, 8, 80}})
    animates.push_back(t);
  EXPECT_EQ(b.animates, animates);
  EXPECT_EQ(b.blinks, (std::vector<Timed>{
                          {1, 1, 10}, {2, 1, 10}, {3, 1, 10}, {0, 2, 10}, {2, 2, 10}, {3, 2, 10}}));
  EXPECT_TRUE(b.otherTextsEmpty);
}

TEST(StoryScript, SpeakersAndLinesInOrder) {
  Built b = Build(kMenuStory);
  EXPECT_EQ(b.speakers, kStorySpeakers);
  EXPECT_EQ(ScreenplaySpeakers(kStoryLines, kStoryLineCount), kStorySpeakers);
  ASSERT_EQ(b.texts.size(), 50u);
  for (int32_t i = 0; i < kStoryLineCount; ++i) EXPECT_STREQ(b.texts[i], kStoryLines[i].text) << i;
}

TEST(EndingScript, SpeakersAndLinesInOrder) {
  Built b = Build(kMenuEnding);
  EXPECT_EQ(b.speakers, kEndingSpeakers);
  EXPECT_EQ(ScreenplaySpeakers(kEndingLines, kEndingLineCount), kEndingSpeakers);
  ASSERT_EQ(b.texts.size(), 41u);
  for (int32_t i = 0; i < kEndingLineCount; ++i)
    EXPECT_STREQ(b.texts[i], kEndingLines[i].text) << i;
}

TEST(Screenplay, FixedLines) {
  auto story = [](int n) { return kStoryLines[n - 1].text; };
  auto ending = [](int n) { return kEndingLines[n - 1].text; };
  EXPECT_STREQ(story(6), "ダメです！");
  EXPECT_STREQ(story(11), "ダメです！");
  EXPECT_STREQ(story(15), "「パクッ、モグモグ」");
  EXPECT_STREQ(story(23), "ああっ！ 消えた!!");
  EXPECT_STREQ(ending(22), "あなたっ！");
  EXPECT_STREQ(ending(22), ReactionLine[1]);  // the queen's line when she finds him in play
  EXPECT_STREQ(ending(36), "ダメです！");
  for (int n : {9, 10, 12, 14, 16, 18, 20, 21}) EXPECT_STREQ(ending(n), "ボリボリ…") << n;
  // No other line repeats the munching.
  int munches = 0;
  for (const ScreenplayLine& l : kEndingLines) munches += std::strcmp(l.text, "ボリボリ…") == 0;
  EXPECT_EQ(munches, 8);
}

// The four snacks greeted in lines 3, 4, 5 and 7 are the four sweets of the store room by
// which the king stands, each named once.
TEST(Screenplay, EachSnackGreetedOnce) {
  const char* snacks[] = {"虹色ドロップ", "いちご三段タワー", "王冠クッキー", "大王プリン"};
  const int lines[] = {3, 4, 5, 7};
  for (int i = 0; i < 4; ++i) {
    for (int32_t n = 1; n <= kEndingLineCount; ++n) {
      bool named = std::strstr(kEndingLines[n - 1].text, snacks[i]) != nullptr;
      EXPECT_EQ(named, n == lines[i]) << snacks[i] << " in line " << n;
    }
  }
}

void CheckBytesAndRows(const ScreenplayLine* lines, int32_t count, size_t limit) {
  for (int32_t i = 0; i < count; ++i) {
    const char* text = lines[i].text;
    EXPECT_LE(std::strlen(text), limit) << "line " << i + 1;
    // The letter b where a character starts would break the row.
    for (const char* c = text; *c; c += (uint8_t(*c) > 0x80 && c[1]) ? 2 : 1)
      EXPECT_NE(*c, 'b') << "line " << i + 1;
    // The real typewriter: no character may be drawn below the second row.
    OpenMessageBox(text, 16, 48);
    int drawn = 0;
    for (;;) {
      int32_t rowBefore = MessageText.penY;
      if (!TypeNextCharacter()) break;
      ++drawn;
      EXPECT_LE(rowBefore, kLineHeight) << "line " << i + 1 << " character " << drawn;
    }
    EXPECT_EQ(MessageText.readPos, int32_t(std::strlen(text))) << "line " << i + 1;
    EXPECT_GT(drawn, 0);
  }
}

TEST(Screenplay, StoryLinesFitFortyEightBytesAndTwoRows) {
  StartAtTitle();
  CheckBytesAndRows(kStoryLines, kStoryLineCount, 48);
}

TEST(Screenplay, EndingLinesFitFortyBytesAndTwoRows) {
  StartAtTitle();
  CheckBytesAndRows(kEndingLines, kEndingLineCount, 40);
}

}  // namespace
}  // namespace quillorn::test
