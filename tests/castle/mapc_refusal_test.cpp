// The map compiler refuses a castle source that breaks a rule, naming room, tile and rule.
// Each case copies the real source, spoils one room and runs the compiler on the copy.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "castle_reader.h"

namespace castle_test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class MapCompiler : public ::testing::Test {
 protected:
  void SetUp() override {
    // One folder per process and test, so that test runs in other build folders never meet.
    dir = fs::temp_directory_path() /
          ("castle_src_" + std::to_string(getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& entry : fs::directory_iterator(CASTLE_SOURCE_DIR))
      fs::copy_file(entry.path(), dir / entry.path().filename());
  }
  void TearDown() override { fs::remove_all(dir); }

  // Replaces one grid row (0 to 15) of a room.
  void SetRow(int room, int row, const std::string& text) {
    fs::path p = RoomFile(room);
    std::string s = ReadText(p);
    size_t at = s.find("grid\n");
    ASSERT_NE(at, std::string::npos);
    at += 5;
    for (int i = 0; i < row; ++i) at = s.find('\n', at) + 1;
    s.replace(at, s.find('\n', at) - at, text);
    std::ofstream(p, std::ios::binary) << s;
  }
  void ReplaceLine(int room, const std::string& line, const std::string& with) {
    fs::path p = RoomFile(room);
    std::string s = ReadText(p);
    size_t at = s.find(line + "\n");
    ASSERT_NE(at, std::string::npos) << line;
    s.replace(at, line.size() + 1, with);
    std::ofstream(p, std::ios::binary) << s;
  }
  fs::path RoomFile(int room) const {
    char name[32];
    std::snprintf(name, sizeof name, "room%02d.txt", room);
    return dir / name;
  }

  // Runs the compiler; returns its exit status and keeps what it wrote to stderr.
  int Compile() {
    out = dir / "castle.map";
    fs::path err = dir / "errors.txt";
    std::string cmd = std::string("\"") + MAPC_PATH + "\" \"" + TILES_FILE + "\" \"" +
                      dir.string() + "\" \"" + out.string() + "\" 2> \"" + err.string() + "\"";
    int status = std::system(cmd.c_str());
    errors = ReadText(err);
    return status;
  }

  fs::path dir, out;
  std::string errors;
};

TEST_F(MapCompiler, UnspoiledSourceGivesTheEmbeddedMap) {
  ASSERT_EQ(Compile(), 0) << errors;
  Map map;
  ASSERT_TRUE(LoadMap(map));
  std::string bytes = ReadText(out);
  ASSERT_EQ(bytes.size(), map.size);
  EXPECT_EQ(bytes, std::string(reinterpret_cast<const char*>(map.data), map.size));
}

TEST_F(MapCompiler, RefusesAFlowerInTheWrongRoom) {
  SetRow(2, 5, ".#.ah.....h..#..");
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find("room 2, tile (3, 5): flowers grow only in rooms"), std::string::npos)
      << errors;
  EXPECT_FALSE(fs::exists(out));
}

TEST_F(MapCompiler, RefusesAGardenWithoutFlowers) {
  SetRow(15, 11, ".#ggggggggggg#..");
  SetRow(15, 5, ".#ggggggggggg#..");
  SetRow(15, 9, ".#ggggggggggg#..");
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find("room 15: the room needs flowers"), std::string::npos) << errors;
}

TEST_F(MapCompiler, RefusesADoorwayReachableFromTwoSides) {
  SetRow(10, 7, ".#,,Z,,,,,Z,,#..");  // the rack above the side door goes
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find("room 10, tile (12, 8): walk-out rule: the doorway can be stepped "
                        "onto from 2 sides"),
            std::string::npos)
      << errors;
}

TEST_F(MapCompiler, RefusesAnArrivalThatLeavesNoDoorBehind) {
  ReplaceLine(2, "exit 1 3 2 7", "exit 1 3 2 8\n");
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find("room 2, tile (13, 7): walk-out rule: stepping on moving right, the "
                        "king comes out at (1, 8) in room 3"),
            std::string::npos)
      << errors;
}

TEST_F(MapCompiler, RefusesAHoleInAWall) {
  SetRow(2, 5, "....h.....h..#..");
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find("room 2, tile (1, 5): the floor is open to the border ring"),
            std::string::npos)
      << errors;
}

TEST_F(MapCompiler, RefusesADoorwayWithoutItsExit) {
  ReplaceLine(2, "exit 3 4 12 10", "");
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find("room 2, tile (1, 9): doorway names exit 3, which has no exit line"),
            std::string::npos)
      << errors;
}

TEST_F(MapCompiler, RefusesAnExitWithoutItsDoorway) {
  SetRow(2, 9, ".#...ccccc...#..");
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find("room 2: exit 3 is named by no doorway"), std::string::npos) << errors;
  // Room 4's door into the hall now lets the king out where there is no doorway.
  EXPECT_NE(errors.find("room 4, tile (13, 10): walk-out rule"), std::string::npos) << errors;
}

TEST_F(MapCompiler, RefusesASideDoorUnderAWallTop) {
  SetRow(2, 6, ".#...ccccc...#..");
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find("room 2, tile (13, 6): the wall end above a side doorway shows its face"),
            std::string::npos)
      << errors;
}

TEST_F(MapCompiler, RefusesAOneTilePathAcrossARoom) {
  // A row of barrels down the banquet hall, open at (10, 9) only, parts the east door from
  // the other two.
  for (int row : {4, 5, 7, 11}) {
    std::string text = row == 7 ? ".3...........1.." : ".#...........#..";
    text[10] = '$';
    SetRow(11, row, text);
  }
  SetRow(11, 12, ".#j.......$.j#..");
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find("room 11, tile (10, 9): a one-tile path"), std::string::npos) << errors;
}

TEST_F(MapCompiler, RefusesAStoreRoomWithoutSweetsToGreet) {
  SetRow(31, 5, ".#TsPsJsssTsP#..");
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find("room 31, tile (5, 5): the king greets sweets here"), std::string::npos)
      << errors;
}

TEST_F(MapCompiler, RefusesACrowdedRoom) {
  ReplaceLine(27, "people 3 3 3 3 4", "people 3 3 3 3 4 4\n");
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find("room 27: more than five people"), std::string::npos) << errors;
}

TEST_F(MapCompiler, RefusesAGridOfTheWrongSize) {
  SetRow(7, 3, ".#===========#.");
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find("room 7, tile (0, 3): row 3 must be 16 characters"), std::string::npos)
      << errors;
}

}  // namespace
}  // namespace castle_test
