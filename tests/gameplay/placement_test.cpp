// A new game, and where the hidden people of a room may stand.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "game_driver.h"
#include "gameplay/actors.h"
#include "gameplay/castle_map.h"
#include "gameplay/encounter.h"
#include "gameplay/play.h"
#include "gameplay/survey.h"

namespace quillorn::test {
namespace {

using Tiles = std::set<std::pair<int32_t, int32_t>>;

Tiles TakenTiles() {
  Tiles t;
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      if (placementGrid[y][x]) t.insert({x, y});
  return t;
}

void ClearGrid() {
  for (auto& row : placementGrid)
    for (int32_t& c : row) c = 0;
}

// What the room itself blocks: blocking tiles and the border ring.
void MarkRoomBlocks(int32_t room) {
  ClearGrid();
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      if (TileId(room, x, y) >= 40 || x == 0 || y == 0 || x > 13 || y > 13) placementGrid[y][x] = 1;
}

TEST(StartGame, PutsTheKingAtHisStartWithFullHearts) {
  StartNewGame();
  const Actor& king = actors[0];
  EXPECT_EQ(king.present, 1);
  EXPECT_EQ(king.visible, 1);
  EXPECT_EQ(king.type, 0);
  EXPECT_EQ(king.tileX, 7);
  EXPECT_EQ(king.tileY, 3);
  EXPECT_EQ(king.pixelX, 224);
  EXPECT_EQ(king.pixelY, 96);
  EXPECT_EQ(king.direction, 2);
  EXPECT_EQ(king.animFrame, 0);
  EXPECT_EQ(hearts, 120);
  EXPECT_EQ(showHearts, 1);
  EXPECT_EQ(beepCounter, 0);
  EXPECT_EQ(currentRoom, 2);
  EXPECT_EQ(sceneHandlers.tickHandler, PlayTick);
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, SurveyRoom);
  EXPECT_EQ(sceneHandlers.eKeyHandler, RevealAll);
  EXPECT_EQ(sceneHandlers.directionKeyHandler, nullptr);
  // Room 2 holds types 3, 3 and 4 in slots 1 to 3, all hidden.
  const int32_t types[7] = {3, 3, 4, 0, 0, 0, 0};
  for (int32_t k = 1; k < 8; ++k) {
    EXPECT_EQ(actors[k].present, types[k - 1] != 0) << k;
    if (types[k - 1]) {
      EXPECT_EQ(actors[k].type, types[k - 1]) << k;
      EXPECT_EQ(actors[k].visible, 0) << k;
    }
  }
}

TEST(ClearDoorway, WalksRoom2sTopCorridorToItsMouth) {
  StartNewGame();
  MarkRoomBlocks(2);
  Tiles before = TakenTiles();
  ClearDoorway(7, 1);
  Tiles added;
  for (auto t : TakenTiles())
    if (!before.count(t)) added.insert(t);
  EXPECT_EQ(added, (Tiles{{7, 1}, {7, 2}, {7, 3}, {7, 4}, {8, 4}, {7, 5}, {6, 4}}));
}

TEST(ClearDoorway, OpenDoorwayTakesItselfAndItsFourNeighbours) {
  StartNewGame();
  ClearGrid();
  ClearDoorway(5, 5);
  EXPECT_EQ(TakenTiles(), (Tiles{{5, 5}, {5, 4}, {6, 5}, {5, 6}, {4, 5}}));
  // At the edge of the field only the neighbours that exist are taken.
  ClearGrid();
  ClearDoorway(0, 0);
  EXPECT_EQ(TakenTiles(), (Tiles{{0, 0}, {1, 0}, {0, 1}}));
}

// The doorways of a room and the corridor tiles behind each, found by walking while a tile
// has exactly one way on, plus the mouth and its neighbours.
Tiles KeepClear(int32_t room) {
  MarkRoomBlocks(room);
  Tiles clear;
  auto blocked = [&](int32_t x, int32_t y) {
    return x < 0 || y < 0 || x > 15 || y > 15 || placementGrid[y][x] || clear.count({x, y});
  };
  const int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0};
  for (int32_t x = 0; x < 16; ++x)
    for (int32_t y = 0; y < 16; ++y) {
      if (ExitNumber(room, x, y) == 0) continue;
      int32_t cx = x, cy = y;
      for (;;) {
        clear.insert({cx, cy});
        int ways = 0, nx = 0, ny = 0;
        for (int d = 0; d < 4; ++d)
          if (!blocked(cx + dx[d], cy + dy[d])) ++ways, nx = cx + dx[d], ny = cy + dy[d];
        if (ways >= 2) {
          for (int d = 0; d < 4; ++d) clear.insert({cx + dx[d], cy + dy[d]});
          break;
        }
        if (ways == 0) break;
        cx = nx, cy = ny;
      }
    }
  return clear;
}

TEST(PlacePeople, NobodyStandsWhereTheyMustNot) {
  StartNewGame();
  int placed = 0;
  for (int32_t room = 0; room < 32; ++room) {
    Tiles clear = KeepClear(room);
    for (uint32_t seed = 1; seed <= 60; ++seed) {
      SeedRandom(seed * 7919u + uint32_t(room));
      // The king stands on some arrival tile of this room, or at the start.
      PutKing(room, 7, 3);
      for (int32_t n = 1; n <= 7; ++n)
        for (int32_t r = 0; r < 32; ++r) {
          const Exit& e = castleMap[r].exits[n];
          if (e.destination == room && (e.arrivalX || e.arrivalY) && seed % 3 == 0)
            PutKing(room, e.arrivalX, e.arrivalY);
        }
      PlacePeople();
      std::set<std::pair<int32_t, int32_t>> used = {{actors[0].tileX, actors[0].tileY}};
      for (int32_t k = 1; k < 8; ++k) {
        int32_t type = castleMap[room].personTypes[k - 1];
        ASSERT_EQ(actors[k].present, type != 0 ? 1 : 0) << room << " " << k;
        if (!type) continue;
        const Actor& p = actors[k];
        ++placed;
        SCOPED_TRACE(testing::Message() << "room " << room << " seed " << seed << " slot " << k);
        EXPECT_EQ(p.type, type);
        EXPECT_EQ(p.visible, 0);
        EXPECT_TRUE(p.direction == 0 || p.direction == 1);
        EXPECT_EQ(p.pixelX, 32 * p.tileX);
        EXPECT_EQ(p.pixelY, 32 * p.tileY);
        ASSERT_TRUE(p.tileX >= 1 && p.tileX <= 13 && p.tileY >= 1 && p.tileY <= 13);
        EXPECT_LT(TileId(room, p.tileX, p.tileY), 40);  // flowers are 97 and 117
        EXPECT_FALSE(clear.count({p.tileX, p.tileY}));
        EXPECT_TRUE(used.insert({p.tileX, p.tileY}).second);
      }
    }
  }
  EXPECT_GT(placed, 4000);
}

TEST(PlacePeople, TwoEntriesGiveDifferentArrangements) {
  StartNewGame();
  auto arrangement = [] {
    PutKing(19, 3, 2);
    PlacePeople();
    std::vector<int32_t> a;
    for (int32_t k = 1; k < 8; ++k) a.push_back(actors[k].tileY * 16 + actors[k].tileX);
    return a;
  };
  EXPECT_NE(arrangement(), arrangement());
}

// A room with too few free tiles neither hangs nor doubles people up: the first free tile
// in row order is taken after the random draws give up, and the rest stay away.
TEST(PlacePeople, FullRoomEndsWithoutLooping) {
  StartNewGame();
  Room saved = castleMap[2];
  for (int16_t& cell : castleMap[2].cells) cell = 50;  // all blocking, no doorways
  castleMap[2].cells[9 * 16 + 4] = 0;                  // one free tile, (4, 9)
  castleMap[2].cells[9 * 16 + 11] = 0;                 // and (11, 9)
  PutKing(2, 11, 9);
  PlacePeople();
  castleMap[2] = saved;
  EXPECT_EQ(actors[1].present, 1);
  EXPECT_EQ(actors[1].tileX, 4);
  EXPECT_EQ(actors[1].tileY, 9);
  EXPECT_EQ(actors[2].present, 0);
  EXPECT_EQ(actors[3].present, 0);
}

}  // namespace
}  // namespace quillorn::test
