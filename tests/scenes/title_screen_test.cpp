// The title screen's menu and the instructions page.
#include "scenes/title_screen.h"

#include <gtest/gtest.h>

#include <vector>

#include "game_driver.h"
#include "gameplay/play.h"
#include "graphics/graphics.h"
#include "scenes/instructions.h"

namespace quillorn::test {
namespace {

using platform::kKeyDown;
using platform::kKeyLeft;
using platform::kKeyRight;
using platform::kKeyUp;

class Title : public ::testing::Test {
 protected:
  void SetUp() override { StartAtTitle(); }
  uint32_t Beeps() { return SoundSlotStarts(1) + SoundSlotStarts(2); }
};

TEST_F(Title, TheCursorWrapsBothWaysWithABeepEachMove) {
  menuBeepCount = 0;  // as at program start
  uint32_t s1 = SoundSlotStarts(1), s2 = SoundSlotStarts(2);
  Press(kKeyUp);
  EXPECT_EQ(titleMenuIndex, 3);           // up on GAME goes to END
  EXPECT_EQ(SoundSlotStarts(1), s1 + 1);  // the first move beeps on slot 1
  EXPECT_EQ(SoundSlotRate(1), 30000u);
  Press(kKeyDown);
  EXPECT_EQ(titleMenuIndex, 0);           // down on END goes to GAME
  EXPECT_EQ(SoundSlotStarts(2), s2 + 1);  // the second on slot 2
  EXPECT_EQ(SoundSlotRate(2), 30000u);
  for (int i = 1; i <= 5; ++i) {
    Press(kKeyDown);
    EXPECT_EQ(titleMenuIndex, i % 4);
  }
  EXPECT_EQ(menuBeepCount, 7);
}

TEST_F(Title, LeftAndRightDoNothingAtAll) {
  uint32_t beeps = Beeps();
  Press(kKeyDown);
  int paints = headless::PaintCount();
  Press(kKeyLeft);
  Press(kKeyRight);
  EXPECT_EQ(titleMenuIndex, 1);
  EXPECT_EQ(Beeps(), beeps + 1);
  EXPECT_EQ(headless::PaintCount(), paints);
}

// The two 32 x 32 places where a cursor heart can stand beside label row.
std::vector<platform::Pixel> CursorPlaces(int32_t row) {
  std::vector<platform::Pixel> p;
  for (int32_t x0 : {322, 416})
    for (int32_t y = 332 + 32 * row; y < 364 + 32 * row; ++y)
      for (int32_t x = x0; x < x0 + 32; ++x) p.push_back(BackBuffer.Row(y)[x]);
  return p;
}

TEST_F(Title, TheCursorHeartsStandBesideTheChosenLabelOnly) {
  std::vector<platform::Pixel> with[4][4];  // [cursor][row]
  for (int32_t cursor = 0; cursor < 4; ++cursor) {
    ASSERT_EQ(titleMenuIndex, cursor);
    for (int32_t row = 0; row < 4; ++row) with[cursor][row] = CursorPlaces(row);
    Press(kKeyDown);
  }
  for (int32_t row = 0; row < 4; ++row) {
    int32_t other = (row + 1) % 4, third = (row + 2) % 4;
    EXPECT_NE(with[row][row], with[other][row]) << row;
    EXPECT_EQ(with[other][row], with[third][row]) << row;
  }
}

TEST_F(Title, ConfirmStartsTheChosenItem) {
  Press(platform::kKeyReturn);
  EXPECT_EQ(currentRoom, 2);
  EXPECT_EQ(sceneHandlers.tickHandler, PlayTick);

  SetUp();
  Press(kKeyDown);
  Press(kKeyDown);
  Press('Z');
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, ShowTitleScreen);  // the instructions

  SetUp();
  Press(kKeyUp);
  Press(platform::kKeySpace);
  headless::Pump();
  EXPECT_FALSE(headless::WindowExists());  // END closes the window
  int32_t code = -1;
  EXPECT_TRUE(headless::QuitPosted(&code));
  EXPECT_EQ(code, 0);
}

TEST_F(Title, ReturningResetsTheCursorAndSilencesSound) {
  Press(kKeyDown);
  PlaySoundSlot(0, 1, 0);
  ASSERT_TRUE(SoundSlotPlaying(0));
  headless::Command(40006);
  headless::Pump();
  EXPECT_EQ(titleMenuIndex, 0);
  EXPECT_FALSE(SoundSlotPlaying(0));
}

TEST(Instructions, WholeInTheFirstFrameSilentAndBackToTheTitle) {
  StartAtTitle();
  Press(kKeyDown);
  Press(kKeyDown);
  uint32_t sounds = SoundSlotStarts(1) + SoundSlotStarts(2);
  Press(platform::kKeyReturn);
  EXPECT_EQ(SoundSlotStarts(1) + SoundSlotStarts(2), sounds);
  headless::Pump();
  const platform::Surface& picture = headless::WindowPicture();
  // Nothing of the title is left: the fill reaches every edge and corner.
  platform::Pixel fill = picture.Row(0)[0];
  EXPECT_NE(fill, platform::kBlack);
  EXPECT_EQ(picture.Row(511)[479], fill);
  EXPECT_EQ(picture.Row(0)[479], fill);
  EXPECT_EQ(picture.Row(511)[0], fill);
  EXPECT_EQ(picture.Row(480)[240], fill);
  // Each hint is typed out whole: white text in each box's two rows.
  auto whiteIn = [&](int32_t top, int32_t bottom) {
    int n = 0;
    for (int32_t y = top; y < bottom; ++y)
      for (int32_t x = 36; x < 444; ++x) n += picture.Row(y)[x] == platform::kWhite;
    return n;
  };
  for (int32_t boxY : {72, 216, 360}) {
    EXPECT_GT(whiteIn(boxY + 18, boxY + 18 + 32), 500) << boxY;
    EXPECT_GT(whiteIn(boxY + 54, boxY + 54 + 32), 200) << boxY;
  }
  EXPECT_EQ(whiteIn(0, 40), 0);
  // The hearts: one, two and three, 28 pixels above each box.
  auto heart = [&](int32_t x, int32_t y) { return picture.Row(y + 14)[x + 16] != fill; };
  EXPECT_TRUE(heart(32, 44));
  EXPECT_FALSE(heart(64, 44));
  EXPECT_TRUE(heart(64, 188));
  EXPECT_FALSE(heart(96, 188));
  EXPECT_TRUE(heart(96, 332));
  EXPECT_FALSE(heart(128, 332));

  EXPECT_EQ(sceneHandlers.tickHandler, nullptr);
  EXPECT_EQ(sceneHandlers.directionKeyHandler, nullptr);
  EXPECT_EQ(sceneHandlers.eKeyHandler, nullptr);
  Press(platform::kKeyDown);
  Press('E');
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, ShowTitleScreen);
  Press(platform::kKeySpace);
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, TitleConfirmKey);
  EXPECT_EQ(titleMenuIndex, 0);
}

}  // namespace
}  // namespace quillorn::test
