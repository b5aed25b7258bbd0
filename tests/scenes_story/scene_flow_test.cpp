// The scenes as a player meets them: the whole story from the title into a new game, the
// ending from the menu in the middle of play into the staff roll, and the music that loops.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gameplay/actors.h"
#include "gameplay/play.h"
#include "gameplay/survey.h"
#include "platform/headless/headless_audio.h"
#include "platform/platform.h"
#include "scene_driver.h"
#include "scenes/ending.h"
#include "scenes/staff_roll.h"
#include "scenes/story.h"
#include "sound/wave_file.h"

namespace quillorn::test {
namespace {

// Ticks, confirming each line with the next of the three confirm keys, until pred holds.
template <typename Pred>
int ConfirmAllUntil(Pred pred, int limit = 40000) {
  const uint32_t keys[3] = {platform::kKeyReturn, platform::kKeySpace, platform::kKeyZ};
  int lines = 0;
  for (int i = 0; i < limit && !pred(); ++i) {
    if (sceneHandlers.confirmKeyHandler == ConfirmMessage)
      Press(keys[lines++ % 3]);
    else
      headless::Tick();
  }
  return lines;
}

bool Beeping() {
  return SoundSlotPlaying(1) || SoundSlotPlaying(2);
}

double Rms(const std::vector<int16_t>& x, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += double(x[i]) * x[i];
  return std::sqrt(sum / double(to - from));
}

// A game in room 2 with one hidden person close enough to the king to beep.
void PlayWithABeepingNeighbour() {
  StartNewGame();
  SetPeople({{4, 9, 5}, {5, 4, 8}});
  ASSERT_TRUE(TickUntil(Beeping, 100));
}

TEST(SceneFlow, TheWholeStoryFromTheTitleLandsInANewGame) {
  StartAtTitle();
  Press(platform::kKeyDown);  // STORY
  Press(platform::kKeyReturn);
  EXPECT_EQ(currentRoom, 0);
  int lines = ConfirmAllUntil([] { return sceneHandlers.tickHandler == PlayTick; });
  EXPECT_EQ(lines, 50);
  EXPECT_EQ(currentRoom, 2);
  EXPECT_EQ(hearts, 120);
  EXPECT_EQ(showHearts, 1);
  EXPECT_EQ(actors[0].tileX, 7);
  EXPECT_EQ(actors[0].tileY, 3);
  EXPECT_EQ(actors[0].visible, 1);
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, SurveyRoom);
}

TEST(SceneFlow, TheStoryFromTheMenuWhileItRunsStartsOverFromTheStillPicture) {
  StartAtTitle();
  StartSceneFromMenu(kMenuStory);
  ASSERT_TRUE(RunCommands(45));  // the king has vanished and the queen cried out
  headless::Command(kMenuStory);
  headless::Pump();
  EXPECT_EQ(sceneHandlers.tickHandler, BuildStoryScript);
  EXPECT_EQ(actors[0].pixelY, 160);
  EXPECT_EQ(actors[0].visible, 1);
  EXPECT_EQ(actors[0].direction, 2);
  EXPECT_EQ(actors[1].direction, 2);
  headless::Tick();
  EXPECT_EQ(scriptIndex, 0);
}

TEST(SceneFlow, AKeyWhileALineIsTypedDoesNothing) {
  StartAtTitle();
  StartSceneFromMenu(kMenuStory);
  ASSERT_TRUE(TickUntil([] { return MessageText.readPos > 0; }));
  int32_t index = scriptIndex;
  Press(platform::kKeyReturn);
  EXPECT_EQ(scriptIndex, index);
  EXPECT_NE(sceneHandlers.confirmKeyHandler, ConfirmMessage);
}

TEST(SceneFlow, StepsThroughTheDoorwayOfTheSecretRoomStartTheEnding) {
  StartNewGame();
  SetPeople({});
  PutKing(30, 11, 10, 0);  // below the doorway that leads into the store room
  WalkSteps(platform::kKeyUp);
  EXPECT_EQ(currentRoom, 31);
  EXPECT_EQ(sceneHandlers.tickHandler, BuildEndingScript);
  EXPECT_EQ(actors[0].pixelX, 224);  // just inside the entrance, not where the step ended
  EXPECT_EQ(actors[0].pixelY, 352);
  int lines = ConfirmAllUntil([] { return sceneHandlers.tickHandler == StaffRollTick; });
  EXPECT_EQ(lines, 41);
}

TEST(SceneFlow, TheEndingFromTheMenuInPlaySilencesTheBeepAndLeadsIntoTheStaffRoll) {
  PlayWithABeepingNeighbour();
  headless::Command(kMenuEnding);
  headless::Pump();
  EXPECT_FALSE(Beeping());
  EXPECT_FALSE(SoundSlotPlaying(0));
  // The room's people are gone: only the hidden queen and guards wait in the entrance.
  for (int32_t k = 1; k < kActorCount; ++k) {
    EXPECT_EQ(actors[k].visible, 0) << k;
    EXPECT_EQ(actors[k].present, k <= 3 ? 1 : 0) << k;
  }
  uint32_t edStarts = SoundSlotStarts(0);
  int lines = ConfirmAllUntil([] { return sceneHandlers.tickHandler == StaffRollTick; });
  EXPECT_EQ(lines, 41);
  EXPECT_EQ(SoundSlotStarts(0), edStarts + 1);
  EXPECT_TRUE(SoundSlotPlaying(0));
  EXPECT_EQ(actors[0].pixelX, 480);  // the procession lined up, not yet moved
}

TEST(SceneFlow, TheStaffRollFromTheMenuInPlayReplacesThePeopleWithTheWalkers) {
  PlayWithABeepingNeighbour();
  uint32_t edStarts = SoundSlotStarts(0);
  headless::Command(kMenuStaffRoll);
  headless::Pump();
  EXPECT_FALSE(Beeping());
  EXPECT_EQ(SoundSlotStarts(0), edStarts + 1);
  EXPECT_TRUE(SoundSlotPlaying(0));
  for (int32_t k = 0; k < kActorCount; ++k) {
    EXPECT_EQ(actors[k].type, k);
    EXPECT_EQ(actors[k].present, 0);
    EXPECT_EQ(actors[k].pixelY, 316);
  }
  headless::Tick(3);
  EXPECT_FALSE(Beeping());  // the staff roll plays no beep of its own
}

TEST(SceneFlow, TheStaffRollFromTheMenuInTheMiddleOfTheStory) {
  StartAtTitle();
  StartSceneFromMenu(kMenuStory);
  ASSERT_TRUE(RunCommands(10));
  headless::Command(kMenuStaffRoll);
  headless::Pump();
  EXPECT_EQ(sceneHandlers.tickHandler, StaffRollTick);
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, nullptr);
  headless::Tick(200);
  EXPECT_EQ(actors[0].direction, 1);  // it walks on, whatever the script was doing
}

// The ending music starts from its beginning and loops for as long as the staff roll runs.
TEST(SceneFlow, TheEndingMusicLoopsFromItsStart) {
  StartAtTitle();
  platform::Resource ed;
  ASSERT_TRUE(platform::FindResource("WAVE", "ED", ed));
  WaveSound wave;
  ASSERT_TRUE(ParseWave(ed.data, ed.size, wave));
  size_t frames = wave.dataSize / wave.format.blockAlign;
  // Its length in frames of the headless device.
  size_t length = size_t(double(frames) * headless::kAudioOutputRate / wave.format.framesPerSecond);

  headless::Command(kMenuStaffRoll);
  headless::Pump();
  std::vector<int16_t> first = headless::RenderAudio(length * 2 + 48000);
  headless::Tick(100);
  headless::Command(kMenuStaffRoll);  // again: from the start again
  headless::Pump();
  std::vector<int16_t> again = headless::RenderAudio(48000);
  for (size_t i = 0; i < again.size(); ++i) ASSERT_EQ(again[i], first[i]) << i;

  // Each pass sounds, and the second pass is the first over again.
  size_t half = 24000;
  double level = Rms(first, 0, 2 * length);
  ASSERT_GT(level, 500);
  for (size_t pass = 1; pass <= 2; ++pass) {
    size_t at = pass * length + 12000;  // a quarter second into the pass
    EXPECT_GT(Rms(first, 2 * at, 2 * (at + half)), level / 4) << pass;
    std::vector<int16_t> difference;
    for (size_t i = 0; i < 2 * half; ++i)
      difference.push_back(int16_t((first[2 * at + i] - first[2 * 12000 + i]) / 2));
    EXPECT_LT(Rms(difference, 0, difference.size()), level / 8) << pass;
  }
  EXPECT_TRUE(SoundSlotPlaying(0));
}

}  // namespace
}  // namespace quillorn::test
