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
      {2, K, 7, 10, kUp, 1},
      {6, K, 7, 7, kUp, 1},
      {9, K, 6, 7, kLeft, 1},
      {10, K, 6, 6, kUp, 1},  // below the candy jars
      {12, K, 5, 6, kLeft, 1},
      {13, K, 5, 6, kUp, 1},    // the cake stand
      {15, K, 5, 6, kLeft, 1},  // the cookie jar
      {20, K, 5, 7, kDown, 1},
      {21, K, 4, 7, kLeft, 1},  // the pudding
      {25, K, 7, 7, kRight, 1},
      {43, Q, 7, 12, kUp, 1},  // the queen in the entrance
      {52, Q, 7, 11, kUp, 1},
      {59, K, 7, 5, kUp, 1},
      {60, K, 8, 5, kRight, 1},
      {61, K, 8, 6, kDown, 1},
      {62, K, 7, 6, kLeft, 1},
      {66, Q, 7, 8, kUp, 1},
      {68, K, 7, 5, kUp, 1},
      {71, Q, 7, 6, kUp, 1},
      {73, K, 8, 5, kRight, 1},
      {76, Q, 7, 5, kRight, 1},  // face to face
      {78, K, 8, 6, kDown, 1},
      {81, Q, 8, 5, kDown, 1},
      {83, K, 7, 6, kLeft, 1},
      {86, Q, 8, 6, kLeft, 1},
      {89, K, 7, 8, kDown, 1},
      {92, Q, 7, 6, kDown, 1},
      {98, G1, 7, 12, kUp, 1},
      {100, G1, 7, 10, kUp, 1},
      {101, G1, 6, 10, kLeft, 1},
      {103, G2, 7, 12, kUp, 1},
      {105, G2, 7, 10, kUp, 1},
      {106, G2, 8, 10, kRight, 1},
      {115, G1, 6, 8, kUp, 1},
      {119, G2, 8, 8, kUp, 1},
      // The guards stand left and right of the king, facing him.
      {120, G1, 6, 8, kRight, 1},
      {120, G2, 8, 8, kLeft, 1},
      {121, K, 7, 8, kRight, 1},
      {123, K, 7, 9, kDown, 1},
      {125, G1, 7, 8, kDown, 1},
      {132, K, 7, 10, kDown, 1},
      {133, G1, 7, 9, kDown, 1},
      {135, G2, 7, 8, kDown, 1},
      {142, K, 7, 11, kDown, 1},
      {143, G1, 7, 10, kDown, 1},
      {144, G2, 7, 9, kDown, 1},
      {151, K, 7, 12, kDown, 1},
      {152, G1, 7, 11, kDown, 1},
      {153, G2, 7, 10, kDown, 1},
      {154, K, 7, 13, kDown, 1},
      {155, K, 7, 13, kDown, 0},
      {158, G1, 7, 13, kDown, 1},
      {159, G1, 7, 13, kDown, 0},
      {161, G2, 7, 13, kDown, 1},
      {162, G2, 7, 13, kDown, 0},
      {162, Q, 7, 6, kDown, 1},
  };
  std::vector<ShownLine> shown = PlayThrough(stages, 166);
  CheckBoxesAtTheTop(shown, kEndingLines, kEndingLineCount);
  EXPECT_EQ(sceneHandlers.tickHandler, StaffRollTick);  // the End started the staff roll
}

// The box of a line is drawn in the frame at y 48 to 143 and not at the bottom.
TEST(EndingStage, TheFirstLinesBoxIsDrawnAtTheTop) {
  StartAtTitle();
  StartSceneFromMenu(kMenuEnding);
  ASSERT_TRUE(TickUntil([] { return sceneHandlers.confirmKeyHandler == ConfirmMessage; }));
  ReferenceFrame f;
  f.Room(31);
  f.Actor(0, 224, 320, kUp, 0);
  for (int32_t row = 0; row < 3; ++row)
    for (int32_t col = 0; col < 14; ++col) {
      int32_t sx = 96;
      if (row == 0 && col == 0) sx = 128;
      if (row == 0 && col == 13) sx = 160;
      if (row == 2 && col == 0) sx = 192;
      if (row == 2 && col == 13) sx = 224;
      f.Masked(16 + 32 * col, 48 + 32 * row, 32, 32, sx, 480);
    }
  // The picture is the room, the king and the box, but for the text's white pixels, which
  // lie inside the box's two rows.
  const platform::Surface& picture = headless::WindowPicture();
  int white = 0;
  for (int32_t y = 0; y < 512; ++y)
    for (int32_t x = 0; x < 480; ++x) {
      if (picture.Row(y)[x] != platform::kWhite) continue;
      EXPECT_TRUE(x >= 36 && x < 36 + 408 && y >= 66 && y < 66 + 72) << x << ", " << y;
      ++white;
    }
  EXPECT_GT(white, 0);
  EXPECT_EQ(f.Differences(picture), white);
}

}  // namespace
}  // namespace quillorn::test
