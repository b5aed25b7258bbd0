// The castle as the map compiler sees it: 32 rooms of 16 x 16 tiles, their people and
// their doorways, plus the rules every room must keep.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mapc {

constexpr int kRooms = 32;
constexpr int kSize = 16;
constexpr int kSlots = 7;
constexpr int kRoomBytes = 552;
constexpr int kMapBytes = kRooms * kRoomBytes;
constexpr int kFirstBlocking = 40;
constexpr int kFlowerA = 97;
constexpr int kFlowerU = 117;
constexpr int kSecretRoom = 31;

struct Exit {
  bool defined = false;
  int dest = 0, x = 0, y = 0;
};

struct Room {
  bool defined = false;
  std::string title;
  std::array<int, kSlots> people{};
  std::array<Exit, 8> exits{};                             // index 1 to 7
  std::array<std::array<uint8_t, kSize>, kSize> tile{};    // [y][x]
  std::array<std::array<uint8_t, kSize>, kSize> exitAt{};  // [y][x], 0 = no doorway
};

struct Castle {
  std::array<Room, kRooms> rooms;
};

struct Tile {
  int x, y;
};

inline bool IsFloor(int id) {
  return id < kFirstBlocking;
}
inline bool IsFlower(int id) {
  return id == kFlowerA || id == kFlowerU;
}
inline bool InBorderRing(int x, int y) {
  return x == 0 || y == 0 || x > 13 || y > 13;
}

// Directions 0 up, 1 right, 2 down, 3 left; y grows downwards.
constexpr int kDx[4] = {0, 1, 0, -1};
constexpr int kDy[4] = {-1, 0, 1, 0};
const char* DirectionName(int d);

// Reads legend.txt and room00.txt to room31.txt from dir; tile names come from tiles.txt.
// Problems are appended to errors as "room N, tile (x, y): what is wrong".
bool ReadCastle(const std::string& tilesFile, const std::string& dir, Castle& castle,
                std::vector<std::string>& errors);

// Checks every rule of the castle's layout; appends one message per broken rule.
void CheckCastle(const Castle& castle, std::vector<std::string>& errors);

// The MAP resource: 32 records of 552 bytes.
std::vector<uint8_t> EncodeCastle(const Castle& castle);

// Shared analysis used by the rules and the preview.
// The direction a king walks in when stepping onto a doorway whose exit is e
// (the staircase into room 5 always counts as walking left).
bool IsStaircase(const Exit& e);

// Tiles the king can stand on: floor tiles joined to the room's entry points by floor
// that is not a doorway. reach[y][x].
using Grid = std::array<std::array<uint8_t, kSize>, kSize>;
Grid ReachableTiles(const Castle& castle, int room, bool* leaksToBorder, Tile* leak);
std::vector<Tile> EntryPoints(const Castle& castle, int room);

// The tiles where nobody is placed: blocking tiles, the border ring, doorways and the
// corridors behind them with their mouths (the same walk the game makes).
Grid TakenForPeople(const Room& room);

}  // namespace mapc
