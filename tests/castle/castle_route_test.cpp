// The game can be won: from the start the king reaches the doorway of the secret room.
// A search over (room, tile, hearts spent since the last sniff) finds the cheapest way on
// which no stretch between two sniffs, nor from the start to the first, costs more than
// 90 hearts; the king sniffs whenever he stands beside a flower.
#include <gtest/gtest.h>

#include <cstdio>
#include <queue>
#include <string>
#include <tuple>

#include "castle_walk.h"

namespace castle_test {
namespace {

constexpr int kStretchBound = 90;

int Key(Spot s) {
  return (s.room * 16 + s.y) * 16 + s.x;
}
Spot FromKey(int k) {
  return {k / 256, k % 16, (k / 16) % 16};
}

bool NextToFlower(const Map& map, Spot s) {
  for (int d = 0; d < 4; ++d)
    if (TakeStep(map, s, d).kind == StepResult::kSniff) return true;
  return false;
}

std::string Describe(Spot s) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "room %d (%d, %d)", s.room, s.x, s.y);
  return buf;
}

struct Route {
  int total = -1;  // hearts in all; -1: no way
  std::vector<Spot> spots;  // where he stands after each move, start first
  std::vector<int> costs;   // hearts of each move
};

// Cheapest way from the start to the step onto the secret room's doorway on which the
// hearts spent since the last sniff never exceed limit.
Route Cheapest(const Map& map, Spot start, int limit) {
  const int states = kRooms * 256 * (limit + 1);
  std::vector<int> cost(states, -1), prev(states, -1);
  auto state = [&](int key, int used) { return key * (limit + 1) + used; };
  using Item = std::pair<int, int>;
  std::priority_queue<Item, std::vector<Item>, std::greater<Item>> todo;
  int s0 = state(Key(start), 0);
  cost[s0] = 0;
  todo.push({0, s0});
  int goalState = -1, goalCost = -1;
  while (!todo.empty()) {
    auto [c, st] = todo.top();
    todo.pop();
    if (c != cost[st]) continue;
    if (goalCost >= 0 && c >= goalCost) break;
    int key = st / (limit + 1), used = st % (limit + 1);
    for (int d = 0; d < 4; ++d) {
      StepResult r = TakeStep(map, FromKey(key), d);
      if (used + r.cost > limit) continue;
      if (r.kind == StepResult::kEnding) {
        if (goalCost < 0 || c + 1 < goalCost) {
          goalCost = c + 1;
          goalState = st;
        }
        continue;
      }
      if (r.kind != StepResult::kWalk) continue;
      int nused = NextToFlower(map, r.to) ? 0 : used + r.cost;
      int ns = state(Key(r.to), nused);
      if (cost[ns] < 0 || c + r.cost < cost[ns]) {
        cost[ns] = c + r.cost;
        prev[ns] = st;
        todo.push({c + r.cost, ns});
      }
    }
  }
  Route route;
  if (goalState < 0) return route;
  route.total = goalCost;
  std::vector<int> chain;
  for (int st = goalState; st >= 0; st = prev[st]) chain.push_back(st);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    route.spots.push_back(FromKey(*it / (limit + 1)));
    if (it != chain.rbegin()) route.costs.push_back(cost[*it] - cost[*(it - 1)]);
  }
  route.costs.push_back(1);  // the step onto the secret room's doorway
  return route;
}

TEST(CastleRoute, SecretRoomCanBeReachedWithinTheHeartBudget) {
  Map map;
  ASSERT_TRUE(LoadMap(map));
  const Spot start = {2, 7, 3};
  Route route = Cheapest(map, start, kStretchBound);
  ASSERT_GE(route.total, 0) << "no way keeps every stretch within " << kStretchBound;

  std::printf("Cheapest way with every stretch within %d hearts: %d hearts in all\n", kStretchBound,
              route.total);
  int stretch = 0;
  Spot from = start;
  std::string rooms = "2";
  for (size_t i = 0; i < route.costs.size(); ++i) {
    stretch += route.costs[i];
    bool last = i + 1 == route.costs.size();
    Spot here = last ? route.spots.back() : route.spots[i + 1];
    if (!last && here.room != route.spots[i].room) rooms += " > " + std::to_string(here.room);
    if (last || NextToFlower(map, here)) {
      std::printf("  %-18s -> %-34s %3d hearts, rooms %s\n", Describe(from).c_str(),
                  last ? "the secret room's doorway" : (Describe(here) + ", sniffs").c_str(),
                  stretch, rooms.c_str());
      EXPECT_LE(stretch, kStretchBound) << "stretch from " << Describe(from);
      stretch = 0;
      from = here;
      rooms = std::to_string(here.room);
    }
  }
  // The way ends by stepping up onto room 30's doorway at (11, 9).
  Spot before = route.spots.back();
  EXPECT_EQ(before.room, 30);
  EXPECT_EQ(before.x, 11);
  EXPECT_EQ(before.y, 10);
}

}  // namespace
}  // namespace castle_test
