// Every room's people and doorways, written out here once more by hand.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "castle_reader.h"

namespace castle_test {
namespace {

struct Door {
  int x, y, exit, dest, ax, ay;
};
struct RoomRow {
  std::vector<int> people;
  std::vector<Door> doors;
};

const RoomRow kTable[kRooms] = {
    /* 0 */ {{}, {{7, 13, 1, 2, 7, 2}}},
    /* 1 */ {{3, 3, 2}, {{7, 13, 1, 2, 7, 2}}},
    /* 2 */ {{3, 3, 4}, {{13, 7, 1, 3, 2, 7}, {7, 1, 2, 1, 7, 12}, {1, 9, 3, 4, 12, 10}}},
    /* 3 */ {{6, 4}, {{1, 7, 1, 2, 12, 7}}},
    /* 4 */ {{3, 3, 4}, {{13, 10, 1, 2, 2, 9}, {3, 4, 2, 5, 11, 7}}},
    /* 5 */ {{3, 6, 8}, {{12, 7, 1, 4, 4, 4}, {1, 7, 2, 6, 12, 7}}},
    /* 6 */ {{2, 5}, {{13, 7, 1, 5, 2, 7}, {7, 3, 2, 7, 7, 12}, {1, 8, 3, 8, 12, 7}}},
    /* 7 */ {{1}, {{7, 13, 1, 6, 7, 4}}},
    /* 8 */ {{5, 5, 3}, {{13, 7, 1, 6, 2, 8}, {7, 3, 2, 9, 7, 10}, {3, 13, 3, 10, 7, 3}}},
    /* 9 */ {{5}, {{7, 11, 1, 8, 7, 4}}},
    /* 10 */ {{3, 3, 2}, {{7, 2, 1, 8, 3, 12}, {12, 8, 2, 11, 2, 7}}},
    /* 11 */ {{3, 3, 4}, {{13, 7, 1, 12, 2, 5}, {7, 3, 2, 15, 7, 11}, {1, 7, 3, 10, 11, 8}}},
    /* 12 */ {{4, 3}, {{1, 5, 1, 11, 12, 7}, {13, 11, 2, 13, 2, 4}}},
    /* 13 */ {{3, 3}, {{1, 4, 1, 12, 12, 11}, {13, 10, 2, 14, 2, 6}}},
    /* 14 */ {{3, 2}, {{1, 6, 1, 13, 12, 10}, {11, 2, 2, 16, 7, 12}}},
    /* 15 */ {{}, {{7, 12, 1, 11, 7, 4}}},
    /* 16 */ {{6, 7}, {{7, 13, 1, 14, 11, 3}, {12, 4, 2, 23, 3, 7}, {1, 8, 3, 17, 12, 11}}},
    /* 17 */ {{5, 7, 8}, {{13, 11, 1, 16, 2, 8}, {1, 7, 2, 18, 12, 12}}},
    /* 18 */ {{4, 5}, {{13, 12, 1, 17, 2, 7}, {3, 1, 2, 19, 11, 12}}},
    /* 19 */
    {{3, 3, 4, 6, 7}, {{11, 13, 1, 18, 3, 2}, {1, 11, 2, 21, 11, 9}, {3, 1, 3, 20, 3, 12}}},
    /* 20 */ {{6, 7, 8, 8}, {{3, 13, 1, 19, 3, 2}, {1, 5, 2, 22, 11, 5}, {12, 7, 3, 28, 4, 9}}},
    /* 21 */ {{3, 3}, {{12, 9, 1, 19, 2, 11}, {4, 2, 2, 22, 4, 11}}},
    /* 22 */ {{4, 2, 8}, {{4, 12, 1, 21, 4, 3}, {12, 5, 2, 20, 2, 5}}},
    /* 23 */ {{3, 3, 4}, {{2, 7, 1, 16, 11, 4}, {13, 7, 2, 24, 2, 10}}},
    /* 24 */ {{3, 3, 4, 2}, {{1, 10, 1, 23, 12, 7}, {9, 1, 2, 25, 7, 12}}},
    /* 25 */ {{3, 3, 4, 4}, {{7, 13, 1, 24, 9, 2}, {2, 7, 2, 26, 10, 8}, {7, 1, 3, 27, 7, 12}}},
    /* 26 */ {{}, {{11, 8, 1, 25, 3, 7}}},
    /* 27 */
    {{3, 3, 3, 3, 4}, {{7, 13, 1, 25, 7, 2}, {1, 8, 2, 28, 10, 6}, {13, 8, 3, 29, 2, 4}}},
    /* 28 */ {{3, 3}, {{3, 9, 1, 20, 11, 7}, {11, 6, 2, 27, 2, 8}}},
    /* 29 */ {{}, {{1, 4, 1, 27, 12, 8}, {4, 13, 2, 30, 3, 2}}},
    /* 30 */ {{}, {{3, 1, 1, 29, 4, 12}, {11, 9, 2, 31, 7, 11}}},
    /* 31 */ {{}, {{7, 12, 1, 30, 11, 10}}},
};

class CastleTable : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadMap(map)); }
  Map map;
};

TEST_F(CastleTable, EveryRoomsPeopleDoorwaysAndExits) {
  for (int r = 0; r < kRooms; ++r) {
    SCOPED_TRACE("room " + std::to_string(r));
    const RoomRow& row = kTable[r];
    for (size_t k = 0; k < 7; ++k)
      EXPECT_EQ(map.Person(r, int(k) + 1), k < row.people.size() ? row.people[k] : 0) << k + 1;
    std::set<int> named;
    for (const Door& d : row.doors) {
      EXPECT_EQ(map.ExitNumber(r, d.x, d.y), d.exit) << d.x << "," << d.y;
      ExitRecord e = map.Exit(r, d.exit);
      EXPECT_EQ(e.dest, d.dest) << "exit " << d.exit;
      EXPECT_EQ(e.x, d.ax) << "exit " << d.exit;
      EXPECT_EQ(e.y, d.ay) << "exit " << d.exit;
      named.insert(d.exit);
    }
    for (int n = 1; n <= 7; ++n) {
      if (named.count(n)) continue;
      ExitRecord e = map.Exit(r, n);
      EXPECT_TRUE(e.dest == 0 && e.x == 0 && e.y == 0) << "unnamed exit " << n;
    }
    int doorways = 0;  // no other tile carries an exit number
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) doorways += map.ExitNumber(r, x, y) != 0;
    EXPECT_EQ(doorways, int(row.doors.size()));
  }
}

}  // namespace
}  // namespace castle_test
