// The layout every room keeps: a closed ring of walls, doorways the king walks out of,
// flowers he can reach, room for the hidden people, and the staged rooms' floors.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "castle_walk.h"

namespace castle_test {
namespace {

class CastleLayout : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadMap(map)); }
  Map map;
};

// The border ring holds 0 and walls keep the floor from it; doorways are floor inside the
// ring; flowers grow in the garden rooms only, each with a reachable tile beside it.
TEST_F(CastleLayout, WallsCloseTheFloorInDoorwaysAreFloorAndFlowersCanBeSniffed) {
  const std::set<int> gardens = {3, 5, 6, 7, 15, 16, 17, 18, 19, 26, 29};
  for (int r = 0; r < kRooms; ++r) {
    Grid reach = Reachable(map, r);
    int reachable = 0, flowers = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        std::string at =
            "room " + std::to_string(r) + ": " + std::to_string(x) + "," + std::to_string(y);
        int id = map.Tile(r, x, y);
        reachable += reach[y][x];
        if (InBorderRing(x, y)) {
          EXPECT_EQ(id, 0) << at;
          EXPECT_FALSE(reach[y][x]) << at;
          EXPECT_EQ(map.ExitNumber(r, x, y), 0) << at;
        }
        EXPECT_TRUE(!map.ExitNumber(r, x, y) || IsFloor(id)) << at << ": doorway on a block";
        if (!IsFlower(id)) continue;
        ++flowers;
        bool sniffable = false;
        for (int d = 0; d < 4; ++d)
          sniffable |= Inside(x + kDx[d], y + kDy[d]) && reach[y + kDy[d]][x + kDx[d]];
        EXPECT_TRUE(sniffable) << at;
      }
    EXPECT_GT(reachable, 20) << "room " << r;
    EXPECT_EQ(flowers > 0, gardens.count(r) == 1) << "room " << r << ": " << flowers << " flowers";
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
          EXPECT_NE(map.ExitNumber(e.dest, e.x - kDx[ad], e.y - kDy[ad]), 0) << "moving " << d;
          ++checked;
        }
        bool staircase = r == 4 && x == 3 && y == 4;
        EXPECT_TRUE(staircase ? sides >= 2 : sides == 1) << sides << " sides";
        EXPECT_TRUE(Reachable(map, e.dest)[e.y][e.x]) << "arrival " << e.x << "," << e.y;
      }
  }
  EXPECT_GE(checked, 65);  // 65 doorways, the staircase counted once per side
}

// The tiles where nobody may be placed, marked as the game marks them before placing people:
// blocks, the ring, and each doorway's corridor up to and around the first fork.
Grid TakenTiles(const Map& map, int r) {
  Grid taken{};
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) taken[y][x] = !IsFloor(map.Tile(r, x, y)) || InBorderRing(x, y);
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y) {
      if (!map.ExitNumber(r, x, y)) continue;
      for (int cx = x, cy = y;;) {
        taken[cy][cx] = true;
        std::vector<Spot> next;
        for (int d = 0; d < 4; ++d)
          if (Inside(cx + kDx[d], cy + kDy[d]) && !taken[cy + kDy[d]][cx + kDx[d]])
            next.push_back({r, cx + kDx[d], cy + kDy[d]});
        if (next.size() >= 2)
          for (Spot s : next) taken[s.y][s.x] = true;
        if (next.size() != 1) break;
        cx = next[0].x, cy = next[0].y;
      }
    }
  return taken;
}

TEST_F(CastleLayout, CorridorsAreGuardedAndTwentyTilesAreFreeBeyondThePeople) {
  Grid start = TakenTiles(map, 2);
  for (Spot s : {Spot{2, 7, 1}, {2, 7, 2}, {2, 7, 3}, {2, 7, 4}, {2, 8, 4}, {2, 7, 5}, {2, 6, 4}})
    EXPECT_TRUE(start[s.y][s.x]) << s.x << "," << s.y;
  EXPECT_FALSE(start[5][6]);
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

TEST_F(CastleLayout, ThroneRoomAndStoreRoomStages) {
  // Room 0: the king's throne tile, his walk down the runner and the queen's walk out.
  EXPECT_EQ(map.Tile(0, 7, 4), 53);  // the throne behind him
  for (int y = 5; y <= 13; ++y) EXPECT_TRUE(IsFloor(map.Tile(0, 7, y))) << "7," << y;
  for (int y = 6; y <= 12; ++y) EXPECT_EQ(map.Tile(0, 7, y), 13) << "runner at 7," << y;
  for (int y = 6; y <= 10; ++y) EXPECT_TRUE(IsFloor(map.Tile(0, 5, y))) << "5," << y;
  EXPECT_TRUE(IsFloor(map.Tile(0, 6, 10)));
  // Room 31: the walks, as column runs {x, first y, last y}; the sweets the king greets;
  // the entrance passage walled on both sides.
  for (auto [x, y0, y1] :
       {std::array{7, 5, 13}, {8, 5, 6}, {6, 6, 10}, {5, 6, 7}, {4, 7, 7}, {8, 8, 10}})
    for (int y = y0; y <= y1; ++y) EXPECT_TRUE(IsFloor(map.Tile(31, x, y))) << x << "," << y;
  const std::set<int> sweets = {61, 62, 65, 66, 113, 114, 115};
  for (Spot s : {Spot{31, 6, 5}, {31, 5, 5}, {31, 4, 6}, {31, 3, 7}})
    EXPECT_TRUE(sweets.count(map.Tile(31, s.x, s.y))) << s.x << "," << s.y;
  for (int y = 11; y <= 12; ++y) {
    EXPECT_FALSE(IsFloor(map.Tile(31, 6, y)));
    EXPECT_FALSE(IsFloor(map.Tile(31, 8, y)));
  }
}

}  // namespace
}  // namespace castle_test
