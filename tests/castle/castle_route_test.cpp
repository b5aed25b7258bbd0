// The game can be won: from the start the king reaches the doorway of the secret room.
// A search over (room, tile, hearts spent since the last sniff) finds the cheapest way on
// which no stretch between two sniffs, nor from the start to the first, costs more than
// 90 hearts; the king sniffs whenever he stands beside a flower.
#include <gtest/gtest.h>

#include <cstdio>
#include <queue>
#include <string>
#include <vector>

#include "castle_walk.h"

namespace castle_test {
namespace {

constexpr int kStretchBound = 90;

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

// A search state: the king's tile and the hearts spent since his last sniff.
struct State {
  Spot at;
  int used;
};

// The cheapest way from start to the step onto the secret room's doorway on which the
// hearts spent since the last sniff never exceed limit: the states he passes, start first,
// each with the hearts spent since the start. Empty when there is none.
std::vector<std::pair<State, int>> Cheapest(const Map& map, Spot start, int limit) {
  auto index = [&](State s) {
    return ((s.at.room * 16 + s.at.y) * 16 + s.at.x) * (limit + 1) + s.used;
  };
  std::vector<int> cost(kRooms * 256 * (limit + 1), -1);
  std::vector<State> prev(cost.size());
  using Item = std::pair<int, int>;  // cost so far, state index
  std::priority_queue<Item, std::vector<Item>, std::greater<Item>> todo;
  std::vector<State> states(cost.size());
  State first{start, 0};
  cost[index(first)] = 0;
  states[index(first)] = first;
  todo.push({0, index(first)});
  int goal = -1, goalCost = -1;
  while (!todo.empty()) {
    auto [c, i] = todo.top();
    todo.pop();
    if (c != cost[i]) continue;
    if (goalCost >= 0 && c >= goalCost) break;
    const State s = states[i];
    for (int d = 0; d < 4; ++d) {
      StepResult r = TakeStep(map, s.at, d);
      if (s.used + r.cost > limit) continue;
      if (r.kind == StepResult::kEnding && (goalCost < 0 || c + 1 < goalCost))
        goal = i, goalCost = c + 1;
      if (r.kind != StepResult::kWalk) continue;
      State n{r.to, NextToFlower(map, r.to) ? 0 : s.used + r.cost};
      int j = index(n);
      if (cost[j] >= 0 && cost[j] <= c + r.cost) continue;
      cost[j] = c + r.cost, prev[j] = s, states[j] = n;
      todo.push({cost[j], j});
    }
  }
  std::vector<std::pair<State, int>> way;
  for (int i = goal; i >= 0; i = i == index(first) ? -1 : index(prev[i]))
    way.insert(way.begin(), {states[i], cost[i]});
  if (goal >= 0) way.push_back({way.back().first, goalCost});  // onto the doorway
  return way;
}

TEST(CastleRoute, SecretRoomCanBeReachedWithinTheHeartBudget) {
  Map map;
  ASSERT_TRUE(LoadMap(map));
  auto way = Cheapest(map, {2, 7, 3}, kStretchBound);
  ASSERT_FALSE(way.empty()) << "no way keeps every stretch within " << kStretchBound;
  std::printf("Cheapest way with every stretch within %d hearts: %d hearts in all\n", kStretchBound,
              way.back().second);
  size_t from = 0;
  std::string rooms = "2";
  for (size_t i = 1; i < way.size(); ++i) {
    Spot here = way[i].first.at;
    bool last = i + 1 == way.size();
    if (!last && here.room != way[i - 1].first.at.room) rooms += " > " + std::to_string(here.room);
    if (!last && !NextToFlower(map, here)) continue;
    int stretch = way[i].second - way[from].second;
    std::printf("  %-18s -> %-34s %3d hearts, rooms %s\n", Describe(way[from].first.at).c_str(),
                last ? "the secret room's doorway" : (Describe(here) + ", sniffs").c_str(), stretch,
                rooms.c_str());
    EXPECT_LE(stretch, kStretchBound) << "stretch from " << Describe(way[from].first.at);
    from = i;
    rooms = std::to_string(here.room);
  }
  // The way ends by stepping up onto room 30's doorway at (11, 9).
  Spot before = way.back().first.at;
  EXPECT_EQ(before.room, 30);
  EXPECT_EQ(before.x, 11);
  EXPECT_EQ(before.y, 10);
}

}  // namespace
}  // namespace castle_test
