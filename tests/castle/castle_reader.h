// Reads the embedded MAP resource the way the game does: 32 records of 552 bytes, the
// tile id in the low byte of cell y * 16 + x, the exit number in the high byte of cell
// x * 16 + y.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace castle_test {

constexpr int kRooms = 32;
constexpr int kRoomBytes = 552;

struct ExitRecord {
  int dest, x, y;
};

struct Map {
  const uint8_t* data = nullptr;
  size_t size = 0;

  const uint8_t* Room(int r) const { return data + r * kRoomBytes; }
  int16_t Cell(int r, int index) const {
    const uint8_t* c = Room(r) + 40 + 2 * index;
    return static_cast<int16_t>(c[0] | (c[1] << 8));
  }
  int Tile(int r, int x, int y) const { return Cell(r, y * 16 + x) & 0xFF; }
  int ExitNumber(int r, int x, int y) const { return Cell(r, x * 16 + y) / 256; }
  int Person(int r, int slot) const { return static_cast<int8_t>(Room(r)[slot]); }
  ExitRecord Exit(int r, int n) const {
    const uint8_t* e = Room(r) + 8 + 4 * n;
    return {static_cast<int8_t>(e[0]), static_cast<int8_t>(e[1]), static_cast<int8_t>(e[2])};
  }
};

inline bool LoadMap(Map& map) {
  quillorn::platform::Resource res;
  if (!quillorn::platform::FindResource("MAP", "MAP", res)) return false;
  map.data = res.data;
  map.size = res.size;
  return true;
}

inline bool IsFloor(int id) {
  return id < 40;
}
inline bool IsFlower(int id) {
  return id == 97 || id == 117;
}
inline bool InBorderRing(int x, int y) {
  return x == 0 || y == 0 || x > 13 || y > 13;
}
constexpr int kDx[4] = {0, 1, 0, -1};
constexpr int kDy[4] = {-1, 0, 1, 0};

}  // namespace castle_test
