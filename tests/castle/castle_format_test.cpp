// The MAP resource's byte layout, checked on the start room, and the reserved bytes.
#include <gtest/gtest.h>

#include "castle_reader.h"

namespace castle_test {
namespace {

class CastleFormat : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadMap(map)); }
  Map map;
};

TEST_F(CastleFormat, StartRoomHeaderExitsAndTransposedExitLayer) {
  EXPECT_EQ(map.size, 17664u);  // 32 records of 552 bytes
  const uint8_t* r = map.Room(2);
  const uint8_t head[40] = {0, 3, 3, 4, 0, 0, 0,  0,                 // reserved, then the people
                            0, 0, 0, 0,                              // exit 0: never named
                            3, 2, 7, 0, 1, 7, 12, 0, 4, 12, 10, 0};  // exits 1-3; 4-7 zero
  for (int i = 0; i < 40; ++i) EXPECT_EQ(r[i], head[i]) << "byte " << i;
  // The doorway at column 13, row 7 keeps its exit 1 in cell 13 * 16 + 7 = 215, whose own
  // tile is (7, 13) of the bottom wall; cell 125 holds the doorway's floor tile.
  const uint8_t* cells = r + 40;
  EXPECT_EQ(cells[2 * 215 + 1], 1);
  EXPECT_EQ(cells[2 * 215], 81);
  EXPECT_EQ(cells[2 * 125 + 1], 0);
  EXPECT_EQ(cells[2 * 125], 0);
}

TEST_F(CastleFormat, StartRoomTileLayer) {
  const uint8_t rows[16][16] = {
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {0, 81, 81, 81, 81, 81, 81, 0, 81, 81, 81, 81, 81, 81, 0, 0},
      {0, 81, 101, 106, 101, 101, 101, 0, 101, 101, 101, 106, 101, 81, 0, 0},
      {0, 81, 101, 101, 101, 101, 101, 0, 101, 101, 101, 101, 101, 81, 0, 0},
      {0, 81, 0, 0, 92, 0, 0, 0, 0, 0, 92, 0, 0, 81, 0, 0},
      {0, 81, 0, 0, 112, 0, 0, 0, 0, 0, 112, 0, 0, 81, 0, 0},
      {0, 81, 0, 0, 0, 5, 5, 5, 5, 5, 0, 0, 0, 101, 0, 0},
      {0, 81, 0, 0, 0, 5, 5, 5, 5, 5, 0, 0, 0, 0, 0, 0},
      {0, 101, 0, 0, 0, 5, 5, 5, 5, 5, 0, 0, 0, 81, 0, 0},
      {0, 0, 0, 0, 0, 5, 5, 5, 5, 5, 0, 0, 0, 81, 0, 0},
      {0, 81, 0, 0, 92, 5, 5, 5, 5, 5, 92, 0, 0, 81, 0, 0},
      {0, 81, 0, 0, 112, 0, 0, 0, 0, 0, 112, 0, 0, 81, 0, 0},
      {0, 81, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 81, 0, 0},
      {0, 81, 81, 81, 81, 81, 81, 81, 81, 81, 81, 81, 81, 81, 0, 0},
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  };
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(map.Tile(2, x, y), rows[y][x]) << x << "," << y;
}

TEST_F(CastleFormat, ReservedBytesAreZero) {
  for (int r = 0; r < kRooms; ++r) {
    const uint8_t* rec = map.Room(r);
    EXPECT_EQ(rec[0], 0) << "room " << r;
    for (int i = 8; i < 12; ++i) EXPECT_EQ(rec[i], 0) << "room " << r;
    for (int n = 1; n <= 7; ++n) EXPECT_EQ(rec[8 + 4 * n + 3], 0) << "room " << r << " exit " << n;
  }
}

}  // namespace
}  // namespace castle_test
