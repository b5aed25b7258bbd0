// The rules every room keeps: a closed ring of walls, doorways the king walks out of,
// flowers he can sniff, room for the hidden people, and the two staged rooms.
#include <algorithm>
#include <cstdio>
#include <deque>
#include <set>

#include "castle.h"

namespace mapc {
namespace {

// Rooms whose gardens and pots hold flowers; no other room has any.
const std::set<int> kFlowerRooms = {3, 5, 6, 7, 15, 16, 17, 18, 19, 26, 29};
constexpr int kMaxPeople = 5;
constexpr int kSpareTiles = 20;  // free floor beyond the people, so nobody is crowded
constexpr int kStartRoom = 2, kThroneRoom = 0;
const Tile kStart = {7, 3};
const Tile kThrone = {7, 5};

// Tiles the story's king and queen walk over in the throne room.
const Tile kThroneRoomWalks[] = {{7, 5},  {7, 6}, {7, 7}, {7, 8}, {7, 9}, {7, 10}, {7, 11}, {7, 12},
                                 {7, 13}, {5, 6}, {5, 7}, {5, 8}, {5, 9}, {5, 10}, {6, 10}};
// Tiles the ending's king, queen and guards walk over in the store room.
const Tile kStoreRoomWalks[] = {{7, 5},  {7, 6}, {7, 7},  {7, 8}, {7, 9}, {7, 10}, {7, 11}, {7, 12},
                                {7, 13}, {8, 5}, {8, 6},  {6, 6}, {6, 7}, {5, 6},  {5, 7},  {4, 7},
                                {6, 8},  {6, 9}, {6, 10}, {8, 8}, {8, 9}, {8, 10}};
// The sweets the king greets from the store room's floor.
const Tile kStoreRoomSweets[] = {{6, 5}, {5, 5}, {4, 6}, {3, 7}};
const std::set<int> kSweets = {61, 62, 65, 66, 113, 114, 115};

std::string Where(int room, int x, int y) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "room %d, tile (%d, %d): ", room, x, y);
  return buf;
}

bool IsWallFace(int id) {
  return id >= 100 && id <= 111;
}

bool Inside(int x, int y) {
  return x >= 0 && y >= 0 && x < kSize && y < kSize;
}

bool IsDoorway(const Room& r, int x, int y) {
  return Inside(x, y) && r.exitAt[y][x] != 0;
}

bool Walkable(const Room& r, int x, int y) {
  return Inside(x, y) && IsFloor(r.tile[y][x]) && r.exitAt[y][x] == 0;
}

Grid Flood(const Room& r, const std::vector<Tile>& seeds, const Tile* without) {
  Grid seen{};
  std::deque<Tile> todo;
  for (Tile s : seeds) {
    if (!Walkable(r, s.x, s.y) || seen[s.y][s.x]) continue;
    if (without && without->x == s.x && without->y == s.y) continue;
    seen[s.y][s.x] = 1;
    todo.push_back(s);
  }
  while (!todo.empty()) {
    Tile t = todo.front();
    todo.pop_front();
    for (int d = 0; d < 4; ++d) {
      int nx = t.x + kDx[d], ny = t.y + kDy[d];
      if (!Walkable(r, nx, ny) || seen[ny][nx]) continue;
      if (without && without->x == nx && without->y == ny) continue;
      seen[ny][nx] = 1;
      todo.push_back({nx, ny});
    }
  }
  return seen;
}

// Where the king comes out after stepping onto a doorway moving in direction d.
int StepDirection(const Exit& e, int d) {
  return IsStaircase(e) ? 3 : d;
}

void CheckDoorways(const Castle& c, int n, const Grid& reach, std::vector<std::string>& errors) {
  const Room& r = c.rooms[n];
  std::array<int, 8> named{};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      int e = r.exitAt[y][x];
      if (!e) continue;
      ++named[e];
      if (InBorderRing(x, y))
        errors.push_back(Where(n, x, y) + "a doorway must lie in rows and columns 1 to 13");
      if (!IsFloor(r.tile[y][x]))
        errors.push_back(Where(n, x, y) + "a doorway must be a floor tile (id below 40)");
      // A door in a side wall: the wall's end above it is seen from the front.
      if ((x == 1 || x == 13) && y > 0 && !IsWallFace(r.tile[y - 1][x]))
        errors.push_back(Where(n, x, y - 1) +
                         "the wall end above a side doorway shows its face (ids 100 to 111)");
      const Exit& ex = r.exits[e];
      if (!ex.defined) {
        errors.push_back(Where(n, x, y) + "doorway names exit " + std::to_string(e) +
                         ", which has no exit line");
        continue;
      }
      const Room& dest = c.rooms[ex.dest];
      std::vector<int> sides;
      for (int d = 0; d < 4; ++d) {
        int fx = x - kDx[d], fy = y - kDy[d];  // the tile the king steps from
        if (Inside(fx, fy) && reach[fy][fx]) sides.push_back(d);
      }
      if (sides.empty()) {
        errors.push_back(Where(n, x, y) + "the doorway cannot be reached from the room");
        continue;
      }
      if (!IsStaircase(ex) && sides.size() > 1) {
        errors.push_back(Where(n, x, y) + "walk-out rule: the doorway can be stepped onto from " +
                         std::to_string(sides.size()) + " sides; only one way leads out of a door");
      }
      for (int d : sides) {
        int sd = StepDirection(ex, d);
        int ox = ex.x - kDx[sd], oy = ex.y - kDy[sd];
        if (!IsDoorway(dest, ox, oy)) {
          char buf[200];
          std::snprintf(buf, sizeof buf,
                        "walk-out rule: stepping on moving %s, the king comes out at (%d, %d) in "
                        "room %d, which is no doorway",
                        DirectionName(d), ox, oy, ex.dest);
          errors.push_back(Where(n, x, y) + buf);
        }
      }
    }
  }
  for (int e = 1; e <= 7; ++e) {
    if (r.exits[e].defined && named[e] == 0)
      errors.push_back("room " + std::to_string(n) + ": exit " + std::to_string(e) +
                       " is named by no doorway");
    if (named[e] > 1)
      errors.push_back("room " + std::to_string(n) + ": exit " + std::to_string(e) +
                       " is named by " + std::to_string(named[e]) + " doorways");
    if (!r.exits[e].defined) continue;
    const Exit& ex = r.exits[e];
    if (ex.dest == kThroneRoom)
      errors.push_back("room " + std::to_string(n) + ": exit " + std::to_string(e) +
                       " leads to the throne room, which no exit may reach");
    if (!Walkable(c.rooms[ex.dest], ex.x, ex.y) || InBorderRing(ex.x, ex.y))
      errors.push_back(Where(ex.dest, ex.x, ex.y) + "the arrival tile of room " +
                       std::to_string(n) + "'s exit " + std::to_string(e) +
                       " must be floor that is no doorway");
  }
}

void CheckFlowers(int n, const Room& r, const Grid& reach, std::vector<std::string>& errors) {
  bool wanted = kFlowerRooms.count(n) != 0;
  bool any = false;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!IsFlower(r.tile[y][x])) continue;
      any = true;
      if (!wanted)
        errors.push_back(Where(n, x, y) +
                         "flowers grow only in rooms 3, 5, 6, 7, 15 to 19, 26 "
                         "and 29");
      bool sniffable = false;
      for (int d = 0; d < 4; ++d) {
        int nx = x + kDx[d], ny = y + kDy[d];
        sniffable |= Inside(nx, ny) && reach[ny][nx];
      }
      if (!sniffable)
        errors.push_back(Where(n, x, y) + "the flower has no reachable floor next to it");
    }
  }
  if (wanted && !any) errors.push_back("room " + std::to_string(n) + ": the room needs flowers");
}

void CheckPeople(int n, const Room& r, std::vector<std::string>& errors) {
  int people = static_cast<int>(
      std::count_if(r.people.begin(), r.people.end(), [](int t) { return t != 0; }));
  if (people > kMaxPeople)
    errors.push_back("room " + std::to_string(n) + ": more than five people");
  Grid taken = TakenForPeople(r);
  int free = 0;
  for (auto& row : taken)
    for (uint8_t t : row) free += !t;
  free -= 1;  // the king's own tile
  if (free < people + kSpareTiles)
    errors.push_back("room " + std::to_string(n) + ": only " + std::to_string(free) +
                     " free floor tiles for " + std::to_string(people) + " people; keep " +
                     std::to_string(kSpareTiles) + " to spare");
}

// Every floor tile is reachable, except the far side of a doorway.
void CheckPockets(int n, const Room& r, const Grid& reach, std::vector<std::string>& errors) {
  for (int y = 1; y <= 13; ++y) {
    for (int x = 1; x <= 13; ++x) {
      if (!Walkable(r, x, y) || reach[y][x]) continue;
      bool besideDoor = false;
      for (int d = 0; d < 4; ++d) besideDoor |= IsDoorway(r, x + kDx[d], y + kDy[d]);
      if (!besideDoor) errors.push_back(Where(n, x, y) + "floor that the king cannot reach");
    }
  }
}

// No single tile, outside the guarded corridors behind the doorways, may be the only way
// between two doorways: the player must be able to go round a hidden person.
void CheckSeveralWays(const Castle& c, int n, const Grid& reach, std::vector<std::string>& errors) {
  const Room& r = c.rooms[n];
  std::vector<std::vector<Tile>> approaches;  // per doorway, the tiles it is stepped onto from
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      if (!r.exitAt[y][x]) continue;
      approaches.emplace_back();
      for (int d = 0; d < 4; ++d) {
        int fx = x + kDx[d], fy = y + kDy[d];
        if (Inside(fx, fy) && reach[fy][fx]) approaches.back().push_back({fx, fy});
      }
    }
  if (approaches.size() < 2) return;
  Grid taken = TakenForPeople(r);
  for (int y = 1; y <= 13; ++y) {
    for (int x = 1; x <= 13; ++x) {
      if (!reach[y][x] || taken[y][x]) continue;
      Tile cut = {x, y};
      bool joined = false;
      for (Tile start : approaches[0]) {
        Grid rest = Flood(r, {start}, &cut);
        bool all = true;
        for (const auto& door : approaches) {
          bool any = false;
          for (Tile a : door) any |= rest[a.y][a.x] != 0;
          all &= any;
        }
        joined |= all;
      }
      if (!joined)
        errors.push_back(Where(n, x, y) +
                         "a one-tile path: this tile is the only way between doorways");
    }
  }
}

void CheckStaging(const Castle& c, std::vector<std::string>& errors) {
  const Room& throne = c.rooms[kThroneRoom];
  for (Tile t : kThroneRoomWalks)
    if (!IsFloor(throne.tile[t.y][t.x]))
      errors.push_back(Where(kThroneRoom, t.x, t.y) +
                       "the story's king and queen walk here; it must be floor");
  const Room& store = c.rooms[kSecretRoom];
  for (Tile t : kStoreRoomWalks)
    if (!IsFloor(store.tile[t.y][t.x]))
      errors.push_back(Where(kSecretRoom, t.x, t.y) +
                       "the ending's actors walk here; it must be floor");
  for (Tile t : kStoreRoomSweets)
    if (!kSweets.count(store.tile[t.y][t.x]))
      errors.push_back(Where(kSecretRoom, t.x, t.y) + "the king greets sweets here");
  if (store.exitAt[12][7] == 0)
    errors.push_back(Where(kSecretRoom, 7, 12) + "the store room's entrance is a doorway");
}

}  // namespace

bool IsStaircase(const Exit& e) {
  return e.dest == 5 && e.x == 11 && e.y == 7;
}

std::vector<Tile> EntryPoints(const Castle& c, int room) {
  std::vector<Tile> seeds;
  if (room == kStartRoom) seeds.push_back(kStart);
  if (room == kThroneRoom) seeds.push_back(kThrone);
  for (const Room& r : c.rooms)
    for (int e = 1; e <= 7; ++e)
      if (r.exits[e].defined && r.exits[e].dest == room)
        seeds.push_back({r.exits[e].x, r.exits[e].y});
  return seeds;
}

Grid ReachableTiles(const Castle& c, int room, bool* leaks, Tile* leak) {
  Grid reach = Flood(c.rooms[room], EntryPoints(c, room), nullptr);
  if (leaks) *leaks = false;
  // Name the gap: the reachable tile inside the ring that opens onto it.
  for (int y = 1; y <= 13; ++y)
    for (int x = 1; x <= 13; ++x)
      for (int d = 0; d < 4 && reach[y][x] && leaks && !*leaks; ++d) {
        int nx = x + kDx[d], ny = y + kDy[d];
        if (InBorderRing(nx, ny) && reach[ny][nx]) {
          *leaks = true;
          if (leak) *leak = {x, y};
        }
      }
  return reach;
}

Grid TakenForPeople(const Room& r) {
  Grid taken{};
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) taken[y][x] = !IsFloor(r.tile[y][x]) || InBorderRing(x, y);
  // The game scans column by column; later doorways see the marks of earlier ones.
  for (int x = 0; x < kSize; ++x) {
    for (int y = 0; y < kSize; ++y) {
      if (!r.exitAt[y][x]) continue;
      taken[y][x] = 1;
      Tile cur = {x, y};
      for (;;) {
        taken[cur.y][cur.x] = 1;
        int free = 0;
        Tile next{};
        for (int d = 0; d < 4; ++d) {
          int nx = cur.x + kDx[d], ny = cur.y + kDy[d];
          if (Inside(nx, ny) && !taken[ny][nx]) {
            if (free == 0) next = {nx, ny};
            ++free;
          }
        }
        if (free >= 2) {
          for (int d = 0; d < 4; ++d) {
            int nx = cur.x + kDx[d], ny = cur.y + kDy[d];
            if (Inside(nx, ny)) taken[ny][nx] = 1;
          }
          break;
        }
        if (free == 0) break;
        cur = next;
      }
    }
  }
  return taken;
}

void CheckCastle(const Castle& c, std::vector<std::string>& errors) {
  for (int n = 0; n < kRooms; ++n) {
    const Room& r = c.rooms[n];
    if (!r.defined) continue;
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x)
        if (InBorderRing(x, y) && r.tile[y][x] != 0 && !r.exitAt[y][x])
          errors.push_back(Where(n, x, y) + "the border ring must hold tile 0");
    std::vector<Tile> seeds = EntryPoints(c, n);
    if (seeds.empty() && n != kThroneRoom)
      errors.push_back("room " + std::to_string(n) + ": no exit leads into the room");
    bool leaks = false;
    Tile leak{};
    Grid reach = ReachableTiles(c, n, &leaks, &leak);
    if (leaks)
      errors.push_back(Where(n, leak.x, leak.y) +
                       "the floor is open to the border ring: a hole in the wall");
    if (!seeds.empty()) {
      Grid first = Flood(r, {seeds[0]}, nullptr);
      for (Tile s : seeds)
        if (Walkable(r, s.x, s.y) && !first[s.y][s.x])
          errors.push_back(Where(n, s.x, s.y) +
                           "this way in is cut off from the room's other "
                           "ways in");
    }
    CheckDoorways(c, n, reach, errors);
    CheckFlowers(n, r, reach, errors);
    CheckPeople(n, r, errors);
    CheckPockets(n, r, reach, errors);
    CheckSeveralWays(c, n, reach, errors);
  }
  CheckStaging(c, errors);
}

}  // namespace mapc
