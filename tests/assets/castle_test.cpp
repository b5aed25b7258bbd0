// The embedded castle map "MAP": what mapc compiles from data/castle, in the layout the game
// reads; every room keeps the layout rules and can be reached; mapc refuses a spoilt source.
#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

// 32 records of 552 bytes: 8 bytes (reserved, seven people), 8 exits of 4 bytes (room, x, y,
// reserved), 256 cells of 16 bits: the tile id in the low byte of cell y * 16 + x, the exit
// number in the high byte of cell x * 16 + y.
struct Map {
  const uint8_t* d = nullptr;
  size_t size = 0;
  int Tile(int r, int x, int y) const { return d[r * 552 + 40 + 2 * (y * 16 + x)]; }
  int Exit(int r, int x, int y) const { return d[r * 552 + 41 + 2 * (x * 16 + y)]; }
  int At(int r, int offset) const { return int8_t(d[r * 552 + offset]); }
};
Map LoadMap() {
  quillorn::platform::Resource res;
  EXPECT_TRUE(quillorn::platform::FindResource("MAP", "MAP", res));
  return {res.data, res.size};
}
bool Floor(int id) {
  return id < 40;
}
bool Flower(int id) {
  return id == 97 || id == 117;
}
constexpr int kDx[4] = {0, 1, 0, -1}, kDy[4] = {-1, 0, 1, 0};

// Tiles reachable on foot in a room from where the king can arrive, doorways excluded.
std::set<std::pair<int, int>> Reachable(const Map& map, int r) {
  std::set<std::pair<int, int>> seen;
  std::deque<std::pair<int, int>> todo;
  auto visit = [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < 16 && y < 16 && Floor(map.Tile(r, x, y)) && !map.Exit(r, x, y) &&
        seen.insert({x, y}).second)
      todo.push_back({x, y});
  };
  if (r == 2) visit(7, 3);  // the start
  for (int from = 0; from < 32; ++from)
    for (int n = 1; n <= 7; ++n)
      if (map.At(from, 8 + 4 * n) == r) visit(map.At(from, 9 + 4 * n), map.At(from, 10 + 4 * n));
  for (; !todo.empty(); todo.pop_front())
    for (int d = 0; d < 4; ++d) visit(todo.front().first + kDx[d], todo.front().second + kDy[d]);
  return seen;
}

TEST(Castle, EveryRoomKeepsTheLayoutRulesAndCanBeReachedFromTheStart) {
  const Map map = LoadMap();
  std::set<int> rooms = {2}, todo = {2};
  while (!todo.empty()) {
    int r = *todo.begin();
    todo.erase(todo.begin());
    const auto reach = Reachable(map, r);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        SCOPED_TRACE(testing::Message() << "room " << r << " at " << x << "," << y);
        int id = map.Tile(r, x, y), n = map.Exit(r, x, y), sides = 0;
        if (x == 0 || y == 0 || x > 13 || y > 13) {
          EXPECT_TRUE(id == 0 && n == 0 && !reach.count({x, y}));
        }
        for (int d = 0; d < 4; ++d) {
          if (!reach.count({x - kDx[d], y - kDy[d]})) continue;
          sides += 1;
          if (!n) continue;  // a doorway: out of it, on through the room it leads to
          int to = map.At(r, 8 + 4 * n), ax = map.At(r, 9 + 4 * n), ay = map.At(r, 10 + 4 * n);
          int ad = to == 5 && ax == 11 && ay == 7 ? 3 : d;  // the staircase turns him left
          EXPECT_TRUE(to == 31 || map.Exit(to, ax - kDx[ad], ay - kDy[ad]) != 0) << "moving " << d;
          EXPECT_TRUE(to == 31 || Reachable(map, to).count({ax, ay}));
          if (rooms.insert(to).second && to != 31) todo.insert(to);
        }
        EXPECT_TRUE(!n || (Floor(id) && (sides == 1 || (r == 4 && x == 3 && y == 4)))) << sides;
        EXPECT_TRUE(!Flower(id) || sides > 0) << "a flower nobody can sniff";
      }
  }
  for (int r = 1; r < 32; ++r) EXPECT_TRUE(rooms.count(r)) << "room " << r << " never reached";
}

// Runs mapc on a copy of the source with one room edited by a sed script: its exit status,
// what it wrote to stderr, and the map it wrote.
int Compile(const std::string& room, const std::string& script, std::string& errors,
            std::string& out) {
  const std::string dir =
      (fs::temp_directory_path() / ("castle_" + std::to_string(getpid()))).string();
  std::string cmd = "rm -rf " + dir + " && cp -r " + CASTLE_SOURCE_DIR + " " + dir +
                    " && sed -i '" + script + "' " + dir + "/room" + room + ".txt && " + MAPC_PATH +
                    " " + TILES_FILE + " " + dir + " " + dir + "/map 2> " + dir + "/errors";
  int status = std::system(cmd.c_str());
  auto read = [](const std::string& p) {
    return std::string(std::istreambuf_iterator<char>(std::ifstream(p).rdbuf()), {});
  };
  errors = read(dir + "/errors"), out = read(dir + "/map");
  fs::remove_all(dir);
  return status;
}

TEST(Castle, MapcCompilesTheEmbeddedMapAndRefusesASpoiltRoom) {
  std::string errors, out;
  ASSERT_EQ(Compile("02", "s/^$//", errors, out), 0) << errors;
  const Map map = LoadMap();
  EXPECT_TRUE(out == std::string(reinterpret_cast<const char*>(map.d), map.size));
  // A room, a line of it replaced or deleted, and the start of what mapc says.
  const char* spoilt[][3] = {
      {"02", "13c .#.ah.....h..#..", "room 2, tile (3, 5): flowers grow only"},
      {"02", "13c ....h.....h..#..", "room 2, tile (1, 5): the floor is open"},
      {"10", "15c .#,,Z,,,,,Z,,#..", "room 10, tile (12, 8): walk-out rule"},
      {"02", "6d", "room 2, tile (1, 9): doorway names exit 3, which has no"},
      {"27", "3c people 3 3 3 3 4 4", "room 27: more than five people"},
      {"07", "9c .#===========#.", "room 7, tile (0, 3): row 3 must be 16"}};
  for (auto [room, script, says] : spoilt) {
    EXPECT_NE(Compile(room, script, errors, out), 0) << says;
    EXPECT_NE(errors.find(says), std::string::npos) << errors;
    EXPECT_TRUE(out.empty()) << says;
  }
}

}  // namespace
