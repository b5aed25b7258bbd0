// The map compiler refuses a castle source that breaks a rule, naming room, tile and rule.
// Each case copies the real source, spoils one room and runs the compiler on the copy.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
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
    std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(test.begin(), test.end(), '/', '_');
    dir = fs::temp_directory_path() / ("castle_src_" + std::to_string(getpid()) + "_" + test);
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& entry : fs::directory_iterator(CASTLE_SOURCE_DIR))
      fs::copy_file(entry.path(), dir / entry.path().filename());
  }
  void TearDown() override { fs::remove_all(dir); }

  // Replaces a grid row (0 to 15) of a room, or with row -1 the line `line`, by `with`.
  void Spoil(int room, int row, const char* line, const char* with) {
    char name[32];
    std::snprintf(name, sizeof name, "room%02d.txt", room);
    std::string s = ReadText(dir / name);
    size_t at = row >= 0 ? s.find("grid\n") : s.find(std::string(line) + "\n");
    ASSERT_NE(at, std::string::npos) << name;
    if (row >= 0) at += 5;
    for (int i = 0; i < row; ++i) at = s.find('\n', at) + 1;
    s.replace(at, row >= 0 ? s.find('\n', at) - at : std::strlen(line) + 1, with);
    std::ofstream(dir / name, std::ios::binary) << s;
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

// One spoilt room and what the compiler says about it.
struct Spoilt {
  const char* name;
  int room, row;
  const char* line;
  const char* with;
  const char* error;
};

// Test listings show the case by its name, not as raw bytes.
void PrintTo(const Spoilt& s, std::ostream* os) {
  *os << s.name;
}

const Spoilt kSpoilt[] = {
    {"FlowerInTheWrongRoom", 2, 5, nullptr, ".#.ah.....h..#..",
     "room 2, tile (3, 5): flowers grow only in rooms"},
    {"HoleInAWall", 2, 5, nullptr, "....h.....h..#..",
     "room 2, tile (1, 5): the floor is open to the border ring"},
    {"DoorwayReachableFromTwoSides", 10, 7, nullptr, ".#,,Z,,,,,Z,,#..",  // the rack goes
     "room 10, tile (12, 8): walk-out rule: the doorway can be stepped onto from 2 sides"},
    {"DoorwayWithoutItsExit", 2, -1, "exit 3 4 12 10", "",
     "room 2, tile (1, 9): doorway names exit 3, which has no exit line"},
    {"CrowdedRoom", 27, -1, "people 3 3 3 3 4", "people 3 3 3 3 4 4\n",
     "room 27: more than five people"},
    {"GridOfTheWrongSize", 7, 3, nullptr, ".#===========#.",
     "room 7, tile (0, 3): row 3 must be 16 characters"},
};

class MapCompilerRefuses : public MapCompiler, public ::testing::WithParamInterface<Spoilt> {};

TEST_P(MapCompilerRefuses, NamingRoomTileAndRule) {
  const Spoilt& s = GetParam();
  Spoil(s.room, s.row, s.line, s.with);
  EXPECT_NE(Compile(), 0);
  EXPECT_NE(errors.find(s.error), std::string::npos) << errors;
  EXPECT_FALSE(fs::exists(out));
}

INSTANTIATE_TEST_SUITE_P(Castle, MapCompilerRefuses, ::testing::ValuesIn(kSpoilt),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace castle_test
