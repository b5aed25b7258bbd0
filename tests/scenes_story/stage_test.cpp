// The story and the ending played headless: where the actors stand after the commands the
// scenes' stage notes name, where every line's box opens, and what the first frame shows.
#include <gtest/gtest.h>

#include <vector>

#include "gameplay/actors.h"
#include "gameplay/play.h"
#include "graphics/graphics.h"
#include "reference_frame.h"
#include "scene_driver.h"
#include "scenes/ending.h"
#include "scenes/screenplay.h"
#include "scenes/staff_roll.h"
#include "scenes/story.h"

namespace quillorn::test {
namespace {

// After command `after`, actor `actor` is drawn on tile (x, y), facing `facing` (-1: any),
// shown or hidden.
struct Stage {
  int32_t after, actor, x, y, facing, visible;
};

constexpr int32_t K = 0, Q = 1, G1 = 2, G2 = 3;
constexpr int32_t kUp = 0, kRight = 1, kDown = 2, kLeft = 3, kAny = -1;

// Plays the script through the stage points in order, checking each one, and every line's
// box on the way. Returns the lines shown.
std::vector<ShownLine> PlayThrough(const std::vector<Stage>& stages, int32_t total) {
  std::vector<ShownLine> shown;
  auto onLine = [&](const ShownLine& l) { shown.push_back(l); };
  for (const Stage& s : stages) {
    EXPECT_TRUE(RunCommands(s.after, onLine)) << "command " << s.after;
    const Actor& a = actors[s.actor];
    EXPECT_EQ(a.pixelX, 32 * s.x) << "actor " << s.actor << " after command " << s.after;
    EXPECT_EQ(a.pixelY, 32 * s.y) << "actor " << s.actor << " after command " << s.after;
    if (s.facing != kAny) {
      EXPECT_EQ(a.direction, s.facing) << "after command " << s.after;
    }
    EXPECT_EQ(a.visible, s.visible) << "actor " << s.actor << " after command " << s.after;
    EXPECT_EQ(a.animFrame, 0) << "after command " << s.after;
  }
  EXPECT_TRUE(RunCommands(total - 1, onLine));
  return shown;
}

// Every line opens its box at the top (the king stays below row 4), with the text in it, and
// is voiced by its speaker: the king as type 0, the queen as type 1, the guard as type 3.
void CheckBoxesAtTheTop(const std::vector<ShownLine>& shown, const ScreenplayLine* lines,
                        int32_t count) {
  ASSERT_EQ(int32_t(shown.size()), count);
  for (int32_t i = 0; i < count; ++i) {
    EXPECT_EQ(shown[i].originY, 48 + 18) << "line " << i + 1;
    EXPECT_EQ(shown[i].text, lines[i].text) << "line " << i + 1;
    EXPECT_EQ(shown[i].speaker, lines[i].speaker) << "line " << i + 1;
    const uint32_t base[3] = {26000, 32000, 28000};
    EXPECT_GE(shown[i].voiceRate, base[lines[i].speaker]) << "line " << i + 1;
    EXPECT_LT(shown[i].voiceRate, base[lines[i].speaker] + 4000) << "line " << i + 1;
  }
}

TEST(StoryStage, OpensOnTheThroneRoomWithKingAndQueen) {
  StartNewGame();
  SetPeople({{3, 5, 9}});
  headless::Command(kMenuStory);
  headless::Pump();
  EXPECT_EQ(sceneHandlers.tickHandler, BuildStoryScript);
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, nullptr);
  EXPECT_EQ(currentRoom, 0);
  EXPECT_EQ(showHearts, 0);
  for (int32_t k = 2; k < kActorCount; ++k) EXPECT_EQ(actors[k].present, 0) << k;
  ReferenceFrame f;
  f.Room(0);
  f.Actor(0, 224, 160, kDown, 0);  // on the throne
  f.Actor(1, 160, 192, kDown, 0);  // beside him, on the carpet's edge
  EXPECT_EQ(f.Differences(headless::WindowPicture()), 0);
}

TEST(StoryStage, ActorsWhereTheSceneSendsThem) {
  StartAtTitle();
  StartSceneFromMenu(kMenuStory);
  std::vector<Stage> stages = {
      {2, K, 7, 6, kDown, 1},     // off the throne
      {3, K, 7, 6, kLeft, 1},     // facing the queen
      {5, Q, 5, 6, kRight, 1},    // she faces him
      {12, Q, 5, 6, kLeft, 1},    // she turns away
      {41, K, 7, 6, kLeft, 0},    // vanished
      {67, Q, 5, 10, kDown, 1},   // her walk out
      {69, Q, 7, 10, kRight, 1},  //
      {72, Q, 7, 13, kDown, 1},   // the doorway
      {73, Q, 7, 13, kDown, 0},   // gone
      {75, K, 7, 6, kLeft, 1},    // shown again where he vanished
      {86, K, 7, 6, kDown, 1},    // facing the doorway
      {95, K, 7, 13, kDown, 1},   // the doorway
  };
  std::vector<ShownLine> shown = PlayThrough(stages, 97);
  CheckBoxesAtTheTop(shown, kStoryLines, kStoryLineCount);
  // Walks change only the drawing position; the tiles stay where the scene placed them.
  EXPECT_EQ(currentRoom, 2);  // the End started a game
}

TEST(EndingStage, OpensOnTheStoreRoomWithTheKingAloneInSight) {
  StartNewGame();
  SetPeople({{2, 5, 9}, {4, 9, 9}, {5, 10, 10}, {7, 4, 11}});
  headless::Command(kMenuEnding);
  headless::Pump();
  EXPECT_EQ(sceneHandlers.tickHandler, BuildEndingScript);
  EXPECT_EQ(currentRoom, 31);
  EXPECT_EQ(showHearts, 0);
  const int32_t types[4] = {0, 1, 3, 3};
  for (int32_t k = 0; k < 4; ++k) {
    EXPECT_EQ(actors[k].type, types[k]);
    EXPECT_EQ(actors[k].tileX, 7);
    EXPECT_EQ(actors[k].tileY, k == 0 ? 11 : 12);
    EXPECT_EQ(actors[k].direction, kUp);
    EXPECT_EQ(actors[k].visible, k == 0 ? 1 : 0);
  }
  for (int32_t k = 4; k < kActorCount; ++k) EXPECT_EQ(actors[k].present, 0) << k;
  ReferenceFrame f;
  f.Room(31);
  f.Actor(0, 224, 352, kUp, 0);
  EXPECT_EQ(f.Differences(headless::WindowPicture()), 0);
}

TEST(EndingStage, ActorsWhereTheSceneSendsThem) {
  StartAtTitle();
  StartSceneFromMenu(kMenuEnding);
  std::vector<Stage> stages = {
      {10, K, 6, 6, kUp, 1},    // below the candy jars
      {13, K, 5, 6, kUp, 1},    // the cake stand
      {15, K, 5, 6, kLeft, 1},  // the cookie jar
      {21, K, 4, 7, kLeft, 1},  // the pudding
      {43, Q, 7, 12, kUp, 1},   // the queen in the entrance
      {62, K, 7, 6, kLeft, 1},
      {76, Q, 7, 5, kRight, 1},  // face to face
      {101, G1, 6, 10, kLeft, 1},
      {106, G2, 8, 10, kRight, 1},
      // The guards stand left and right of the king, facing him.
      {120, G1, 6, 8, kRight, 1},
      {120, G2, 8, 8, kLeft, 1},
      {121, K, 7, 8, kRight, 1},
      {154, K, 7, 13, kDown, 1},
      {155, K, 7, 13, kDown, 0},
      {159, G1, 7, 13, kDown, 0},
      {162, G2, 7, 13, kDown, 0},
      {162, Q, 7, 6, kDown, 1},
  };
  std::vector<ShownLine> shown = PlayThrough(stages, 166);
  CheckBoxesAtTheTop(shown, kEndingLines, kEndingLineCount);
  EXPECT_EQ(sceneHandlers.tickHandler, StaffRollTick);  // the End started the staff roll
}

}  // namespace
}  // namespace quillorn::test
