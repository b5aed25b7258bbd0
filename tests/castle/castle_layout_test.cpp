// The layout every room keeps: a closed ring of walls, doorways the king walks out of,
// flowers he can reach, room for the hidden people, and the staged rooms' floors.
#include <gtest/gtest.h>

#include <set>

#include "castle_walk.h"

namespace castle_test {
namespace {

class CastleLayout : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadMap(map)); }
  Map map;
};

TEST_F(CastleLayout, BorderRingHoldsZero) {
  for (int r = 0; r < kRooms; ++r)
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        if (!InBorderRing(x, y)) continue;
        EXPECT_EQ(map.Tile(r, x, y), 0) << r << ": " << x << "," << y;
      }
}

TEST_F(CastleLayout, FloorIsClosedInByWalls) {
  for (int r = 0; r < kRooms; ++r) {
    Grid reach = Reachable(map, r);
    int count = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        count += reach[y][x];
        EXPECT_FALSE(reach[y][x] && InBorderRing(x, y)) << r << ": " << x << "," << y;
      }
    EXPECT_GT(count, 20) << "room " << r;
  }
}

TEST_F(CastleLayout, DoorwaysAreFloorInsideTheRing) {
  for (int r = 0; r < kRooms; ++r)
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        if (!map.ExitNumber(r, x, y)) continue;
        EXPECT_TRUE(IsFloor(map.Tile(r, x, y))) << r << ": " << x << "," << y;
        EXPECT_FALSE(InBorderRing(x, y)) << r << ": " << x << "," << y;
      }
}

// Stepping onto a doorway moving in d puts the king on the arrival tile minus d, which must
// be a doorway of the room he enters; so each doorway is approached from one side only.
TEST_F(CastleLayout, WalkOutRule) {
  int checked = 0;
  for (int r = 0; r < kRooms; ++r) {
    Grid reach = Reachable(map, r);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        int n = map.ExitNumber(r, x, y);
        if (!n) continue;
        SCOPED_TRACE("room " + std::to_string(r) + " doorway " + std::to_string(x) + "," +
                     std::to_string(y));
        ExitRecord e = map.Exit(r, n);
        int sides = 0;
        for (int d = 0; d < 4; ++d) {
          int fx = x - kDx[d], fy = y - kDy[d];
          if (!Inside(fx, fy) || !reach[fy][fx]) continue;
          ++sides;
          int ad = ArrivalDirection(e, d);
          int ox = e.x - kDx[ad], oy = e.y - kDy[ad];
          EXPECT_NE(map.ExitNumber(e.dest, ox, oy), 0) << "stepping on moving " << d;
          ++checked;
        }
        bool staircase = r == 4 && x == 3 && y == 4;
        if (staircase) {
          EXPECT_GE(sides, 2);
        } else {
          EXPECT_EQ(sides, 1);
        }
        EXPECT_TRUE(Reachable(map, e.dest)[e.y][e.x]) << "arrival " << e.x << "," << e.y;
      }
  }
  EXPECT_GE(checked, 65);  // 65 doorways, the staircase counted once per side
}

TEST_F(CastleLayout, EveryFlowerCanBeSniffed) {
  for (int r = 0; r < kRooms; ++r) {
    Grid reach = Reachable(map, r);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        if (!IsFlower(map.Tile(r, x, y))) continue;
        bool sniffable = false;
        for (int d = 0; d < 4; ++d) {
          int nx = x + kDx[d], ny = y + kDy[d];
          sniffable |= Inside(nx, ny) && reach[ny][nx];
        }
        EXPECT_TRUE(sniffable) << "room " << r << " flower " << x << "," << y;
      }
  }
}

// The tiles where nobody may be placed, marked as the game marks them before placing people.
Grid TakenTiles(const Map& map, int r) {
  Grid taken{};
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) taken[y][x] = !IsFloor(map.Tile(r, x, y)) || InBorderRing(x, y);
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y) {
      if (!map.ExitNumber(r, x, y)) continue;
      int cx = x, cy = y;
      for (;;) {
        taken[cy][cx] = true;
        std::vector<Spot> next;
        for (int d = 0; d < 4; ++d) {
          int nx = cx + kDx[d], ny = cy + kDy[d];
          if (Inside(nx, ny) && !taken[ny][nx]) next.push_back({r, nx, ny});
        }
        if (next.size() >= 2) {
          for (int d = 0; d < 4; ++d)
            if (Inside(cx + kDx[d], cy + kDy[d])) taken[cy + kDy[d]][cx + kDx[d]] = true;
          break;
        }
        if (next.empty()) break;
        cx = next[0].x;
        cy = next[0].y;
      }
    }
  return taken;
}

TEST_F(CastleLayout, StartRoomCorridorIsGuarded) {
  Grid taken = TakenTiles(map, 2);
  for (Spot s : {Spot{2, 7, 1}, {2, 7, 2}, {2, 7, 3}, {2, 7, 4}, {2, 8, 4}, {2, 7, 5}, {2, 6, 4}})
    EXPECT_TRUE(taken[s.y][s.x]) << s.x << "," << s.y;
  EXPECT_FALSE(taken[5][6]);
}

TEST_F(CastleLayout, TwentyFreeTilesBeyondThePeople) {
  for (int r = 0; r < kRooms; ++r) {
    Grid taken = TakenTiles(map, r);
    int free = -1;  // the king's tile
    for (auto& row : taken)
      for (bool t : row) free += !t;
    int people = 0;
    for (int k = 1; k <= 7; ++k) people += map.Person(r, k) != 0;
    EXPECT_GE(free, people + 20) << "room " << r;
  }
}

TEST_F(CastleLayout, ThroneRoomStage) {
  // The king's throne tile, his walk down the runner and the queen's walk out.
  EXPECT_TRUE(IsFloor(map.Tile(0, 7, 5)));
  EXPECT_EQ(map.Tile(0, 7, 4), 53);  // the throne behind him
  for (int y = 5; y <= 13; ++y) EXPECT_TRUE(IsFloor(map.Tile(0, 7, y))) << "7," << y;
  for (int y = 6; y <= 10; ++y) EXPECT_TRUE(IsFloor(map.Tile(0, 5, y))) << "5," << y;
  EXPECT_TRUE(IsFloor(map.Tile(0, 6, 10)));
  for (int y = 6; y <= 12; ++y) EXPECT_EQ(map.Tile(0, 7, y), 13) << "runner at 7," << y;
}

TEST_F(CastleLayout, StoreRoomStage) {
  const Spot walks[] = {{31, 7, 5},  {31, 7, 6},  {31, 7, 7},  {31, 7, 8}, {31, 7, 9}, {31, 7, 10},
                        {31, 7, 11}, {31, 7, 12}, {31, 7, 13}, {31, 8, 5}, {31, 8, 6}, {31, 6, 6},
                        {31, 6, 7},  {31, 5, 6},  {31, 5, 7},  {31, 4, 7}, {31, 6, 8}, {31, 6, 9},
                        {31, 6, 10}, {31, 8, 8},  {31, 8, 9},  {31, 8, 10}};
  for (Spot s : walks) EXPECT_TRUE(IsFloor(map.Tile(31, s.x, s.y))) << s.x << "," << s.y;
  const std::set<int> sweets = {61, 62, 65, 66, 113, 114, 115};
  for (Spot s : {Spot{31, 6, 5}, {31, 5, 5}, {31, 4, 6}, {31, 3, 7}})
    EXPECT_TRUE(sweets.count(map.Tile(31, s.x, s.y))) << s.x << "," << s.y;
  // The entrance passage is walled on both sides.
  for (int y = 11; y <= 12; ++y) {
    EXPECT_FALSE(IsFloor(map.Tile(31, 6, y)));
    EXPECT_FALSE(IsFloor(map.Tile(31, 8, y)));
  }
}

}  // namespace
}  // namespace castle_test
