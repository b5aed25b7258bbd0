// The king's walk through the castle as play moves him: one tile a step, blocked by ids
// of 40 and more, a flower sniffed instead of entered, a doorway that takes him on.
#pragma once

#include <array>
#include <deque>
#include <vector>

#include "castle_reader.h"

namespace castle_test {

struct Spot {
  int room, x, y;
};

using Grid = std::array<std::array<bool, 16>, 16>;

// Where the king can first stand in a room: every arrival tile that leads in, the start
// tile of room 2 and the throne of room 0.
inline std::vector<Spot> EntryPoints(const Map& map, int room) {
  std::vector<Spot> out;
  if (room == 2) out.push_back({2, 7, 3});
  if (room == 0) out.push_back({0, 7, 5});
  for (int r = 0; r < kRooms; ++r)
    for (int n = 1; n <= 7; ++n) {
      ExitRecord e = map.Exit(r, n);
      bool used = false;
      for (int i = 0; i < 256; ++i) used |= map.Cell(r, i) / 256 == n;
      if (used && e.dest == room) out.push_back({room, e.x, e.y});
    }
  return out;
}

inline bool Inside(int x, int y) {
  return x >= 0 && y >= 0 && x < 16 && y < 16;
}

// Tiles reachable on foot from the entry points without passing through a doorway.
inline Grid Reachable(const Map& map, int room) {
  Grid seen{};
  std::deque<Spot> todo;
  auto visit = [&](int x, int y) {
    if (!Inside(x, y) || seen[y][x] || !IsFloor(map.Tile(room, x, y)) ||
        map.ExitNumber(room, x, y) != 0)
      return;
    seen[y][x] = true;
    todo.push_back({room, x, y});
  };
  for (Spot s : EntryPoints(map, room)) visit(s.x, s.y);
  while (!todo.empty()) {
    Spot s = todo.front();
    todo.pop_front();
    for (int d = 0; d < 4; ++d) visit(s.x + kDx[d], s.y + kDy[d]);
  }
  return seen;
}

// The outcome of holding an arrow for one step from a standing king.
struct StepResult {
  enum Kind { kBlocked, kSniff, kWalk, kEnding } kind;
  Spot to;   // where he stands afterwards (kWalk)
  int cost;  // hearts spent: 1 for a step, 2 through a doorway into another room
};

inline StepResult TakeStep(const Map& map, Spot from, int d) {
  int tx = from.x + kDx[d], ty = from.y + kDy[d];
  if (!Inside(tx, ty)) return {StepResult::kBlocked, from, 0};
  int id = map.Tile(from.room, tx, ty);
  if (IsFlower(id)) return {StepResult::kSniff, from, 0};
  if (!IsFloor(id)) return {StepResult::kBlocked, from, 0};
  int n = map.ExitNumber(from.room, tx, ty);
  if (n == 0) return {StepResult::kWalk, {from.room, tx, ty}, 1};
  ExitRecord e = map.Exit(from.room, n);
  if (e.dest == 31) return {StepResult::kEnding, from, 1};
  // The arrival step walks from the doorway onto the arrival tile; it costs a heart too.
  return {StepResult::kWalk, {e.dest, e.x, e.y}, 2};
}

// The direction the king comes out of a doorway in: the one he stepped in with, except
// for the staircase into room 5, which always lets him out walking left.
inline int ArrivalDirection(const ExitRecord& e, int d) {
  return (e.dest == 5 && e.x == 11 && e.y == 7) ? 3 : d;
}

}  // namespace castle_test
