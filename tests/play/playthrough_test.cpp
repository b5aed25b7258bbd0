// A whole game played as a person plays it, through keys and ticks alone: the title, a new
// game, a doorway, a flower, a person walked into, every line confirmed, and back to the
// title. At still moments the window's picture must equal a frame composed independently.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <vector>

#include "game_driver.h"
#include "gameplay/castle_map.h"
#include "gameplay/encounter.h"
#include "gameplay/play.h"
#include "reference_frame.h"
#include "scenes/title_screen.h"
#include "script/script.h"

namespace quillorn::test {
namespace {

const uint32_t kArrows[4] = {platform::kKeyUp, platform::kKeyRight, platform::kKeyDown,
                             platform::kKeyLeft};
const int kDx[4] = {0, 1, 0, -1}, kDy[4] = {-1, 0, 1, 0};

struct Footprint {
  int32_t x, y, direction;
};

class Playthrough : public ::testing::Test {
 protected:
  ReferenceFrame Title() {
    ReferenceFrame f;
    f.Opaque(32, 32, 416, 64, 0, 544);
    for (int i = 0; i < 9; ++i) f.Masked(96 + 32 * i, 104, 32, 32, 64, 480);
    const int room[9][9] = {{119, 80, 80, 80, 80, 80, 80, 80, 119},
                            {80, 80, 100, 100, 100, 43, 44, 80, 80},
                            {80, 100, 59, 59, 108, 63, 64, 100, 80},
                            {80, 59, 59, 1, 1, 1, 1, 1, 80},
                            {80, 59, 1, 1, 54, 51, 54, 1, 80},
                            {80, 1, 1, 1, 1, 1, 1, 1, 80},
                            {80, 80, 1, 1, 1, 1, 1, 80, 80},
                            {100, 80, 80, 80, 80, 80, 80, 80, 100},
                            {119, 100, 100, 100, 100, 100, 100, 100, 119}};
    for (int r = 0; r < 9; ++r)
      for (int c = 0; c < 9; ++c)
        f.Opaque(96 + 32 * c, 160 + 32 * r, 32, 32, 32 * (room[r][c] % 20), 32 * (room[r][c] / 20));
    f.Actor(0, 224, 288, 1, 0);
    f.Opaque(32, 448, 192, 64, 0, 608);
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 4; ++c) {
        int sx = 96;
        if (r == 0 && c == 0) sx = 128;
        if (r == 0 && c == 3) sx = 160;
        if (r == 4 && c == 0) sx = 192;
        if (r == 4 && c == 3) sx = 224;
        f.Masked(320 + 32 * c, 320 + 32 * r, 32, 32, sx, 480);
      }
    for (int i = 0; i < 4; ++i) f.Opaque(352, 336 + 32 * i, 64, 32, 512, 192 + 32 * i);
    f.Masked(322, 332, 32, 32, 64, 480);
    f.Masked(416, 332, 32, 32, 64, 480);
    return f;
  }

  // The castle as it must look now: the room, the footprints left in it, the visible
  // actors by their y (the king first on a tie), the hearts bar.
  ReferenceFrame Castle() {
    ReferenceFrame f;
    f.Room(currentRoom);
    for (const Footprint& p : footprints_[currentRoom]) f.Footprints(p.x, p.y, p.direction);
    std::vector<int32_t> order;
    for (int32_t i = 0; i < 8; ++i)
      if (actors[i].present && actors[i].visible) order.push_back(i);
    std::stable_sort(order.begin(), order.end(),
                     [](int32_t a, int32_t b) { return actors[a].pixelY < actors[b].pixelY; });
    for (int32_t i : order) {
      const Actor& a = actors[i];
      f.Actor(a.type, a.pixelX, a.pixelY, a.direction, a.animFrame);
    }
    f.HeartsBar(hearts);
    return f;
  }

  bool Person(int32_t x, int32_t y) {
    for (int32_t k = 1; k < 8; ++k)
      if (actors[k].present && actors[k].tileX == x && actors[k].tileY == y) return true;
    return false;
  }

  // Directions of a shortest walk over free floor to a tile for which goal holds; other
  // doorways and people are kept clear of.
  template <typename Goal>
  std::vector<int> Route(Goal goal) {
    std::map<std::pair<int, int>, std::pair<int, int>> from;  // tile -> (previous, dir)
    std::deque<std::pair<int, int>> queue = {{actors[0].tileX, actors[0].tileY}};
    from[queue.front()] = {-1, -1};
    while (!queue.empty()) {
      auto [x, y] = queue.front();
      queue.pop_front();
      if (goal(x, y)) {
        std::vector<int> dirs;
        for (std::pair<int, int> t{x, y}; from[t].second >= 0;) {
          int d = from[t].second;
          dirs.insert(dirs.begin(), d);
          t = {t.first - kDx[d], t.second - kDy[d]};
        }
        return dirs;
      }
      if (ExitNumber(currentRoom, x, y) && !(x == actors[0].tileX && y == actors[0].tileY))
        continue;  // a doorway is an end, never a way through
      for (int d = 0; d < 4; ++d) {
        int nx = x + kDx[d], ny = y + kDy[d];
        if (nx < 1 || ny < 1 || nx > 13 || ny > 13 || from.count({nx, ny})) continue;
        if (TileId(currentRoom, nx, ny) >= 40 || Person(nx, ny)) continue;
        from[{nx, ny}] = {x * 16 + y, d};
        queue.push_back({nx, ny});
      }
    }
    ADD_FAILURE() << "no way in room " << currentRoom;
    return {};
  }

  // One step as a player takes it: hold the arrow for 8 ticks, let go.
  void Step(int d) {
    footprints_[currentRoom].push_back({actors[0].tileX, actors[0].tileY, d});
    int32_t heartsBefore = hearts;
    WalkSteps(kArrows[d], 1);
    EXPECT_EQ(hearts, heartsBefore - 1);
  }

  std::map<int32_t, std::vector<Footprint>> footprints_;
};

TEST_F(Playthrough, FromTheTitleThroughAGameAndBack) {
  StartAtTitle(4242);
  EXPECT_EQ(Title().Differences(headless::WindowPicture()), 0);

  // The cursor goes round and back, each move with a beep at 30000 Hz.
  uint32_t beeps = SoundSlotStarts(1) + SoundSlotStarts(2);
  Press(platform::kKeyUp);
  EXPECT_EQ(titleMenuIndex, 3);
  Press(platform::kKeyDown);
  EXPECT_EQ(SoundSlotStarts(1) + SoundSlotStarts(2), beeps + 2);
  EXPECT_EQ(SoundSlotRate(1), 30000u);
  EXPECT_EQ(SoundSlotRate(2), 30000u);
  EXPECT_EQ(Title().Differences(headless::WindowPicture()), 0);

  Press(platform::kKeySpace);
  ASSERT_EQ(currentRoom, 2);
  headless::Tick();
  EXPECT_EQ(Castle().Differences(headless::WindowPicture()), 0);

  // Down the corridor and across to the right-hand doorway, into room 3.
  std::vector<int> route = Route([](int x, int y) { return x == 13 && y == 7; });
  ASSERT_FALSE(route.empty());
  for (size_t i = 0; i + 1 < route.size(); ++i) Step(route[i]);
  EXPECT_EQ(Castle().Differences(headless::WindowPicture()), 0);
  footprints_[2].push_back({actors[0].tileX, actors[0].tileY, route.back()});
  WalkSteps(kArrows[route.back()], 1);
  ASSERT_EQ(currentRoom, 3);
  headless::Tick(8);  // out of the doorway
  EXPECT_EQ(actors[0].tileX, 2);
  EXPECT_EQ(sceneHandlers.tickHandler, PlayTick);
  int32_t heartsInRoom3 = hearts;
  EXPECT_EQ(heartsInRoom3, 120 - int32_t(route.size()) - 1);
  headless::Tick();
  EXPECT_EQ(Castle().Differences(headless::WindowPicture()), 0);

  // To a flower, and sniff it.
  int flowerDir = -1;
  auto besideFlower = [&](int x, int y) {
    for (int d = 0; d < 4; ++d) {
      int t = TileId(3, x + kDx[d], y + kDy[d]);
      if (t == 97 || t == 117) return flowerDir = d, true;
    }
    return false;
  };
  route = Route(besideFlower);
  for (int d : route) Step(d);
  besideFlower(actors[0].tileX, actors[0].tileY);
  ASSERT_GE(flowerDir, 0);
  headless::KeyDown(kArrows[flowerDir]);
  headless::Tick();
  headless::KeyUp(kArrows[flowerDir]);
  ASSERT_EQ(scriptDoneHandler, FlowerMessageDone);
  ConfirmWhenArmed(ConfirmMessage);
  ASSERT_TRUE(TickUntil([] { return sceneHandlers.tickHandler == PlayTick; }));
  EXPECT_EQ(hearts, 120);
  headless::Tick();
  EXPECT_EQ(Castle().Differences(headless::WindowPicture()), 0);

  // Walk into a person; one of the forgiving kind lets the king go, so try the next one.
  std::vector<int32_t> forgiven;
  auto isTarget = [&](int x, int y) {
    for (int32_t k = 1; k < 8; ++k)
      if (actors[k].present && actors[k].tileX == x && actors[k].tileY == y)
        return std::find(forgiven.begin(), forgiven.end(), k) == forgiven.end();
    return false;
  };
  while (scriptDoneHandler != GameOver) {
    int into = -1;
    route = Route([&](int x, int y) {
      for (int d = 0; d < 4; ++d)
        if (isTarget(x + kDx[d], y + kDy[d])) return into = d, true;
      return false;
    });
    ASSERT_GE(into, 0);
    for (int d : route) Step(d);
    int32_t before = hearts;
    headless::KeyDown(kArrows[into]);
    headless::Tick();
    headless::KeyUp(kArrows[into]);
    EXPECT_EQ(hearts, before);  // the bump is not a step
    int32_t k = encounteredActor;
    EXPECT_EQ(actors[k].visible, 1);
    ConfirmWhenArmed(ConfirmMessage);  // the person's line
    if (scriptDoneHandler == GameOver) break;
    ConfirmWhenArmed(ConfirmMessage);  // the king's answer
    ConfirmWhenArmed(ConfirmMessage);  // let go
    headless::Tick();
    ASSERT_EQ(sceneHandlers.tickHandler, PlayTick);
    EXPECT_EQ(actors[k].visible, 1);
    EXPECT_EQ(Castle().Differences(headless::WindowPicture()), 0);
    forgiven.push_back(k);
  }
  ConfirmWhenArmed(ConfirmMessage);  // the king's answer
  ASSERT_EQ(scriptDoneHandler, ShowTitleScreen);
  ConfirmWhenArmed(ConfirmMessage);
  ConfirmWhenArmed(ConfirmMessage);
  ASSERT_EQ(sceneHandlers.confirmKeyHandler, TitleConfirmKey);
  headless::Tick();
  EXPECT_EQ(Title().Differences(headless::WindowPicture()), 0);
}

}  // namespace
}  // namespace quillorn::test
