#include "bot_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <queue>

#include "gameplay/actors.h"
#include "gameplay/castle_map.h"
#include "gameplay/play.h"
#include "harness.h"
#include "platform/headless/headless.h"
#include "scenes/staff_roll.h"
#include "scenes/title_screen.h"
#include "script/message_box.h"
#include "script/script.h"
#include "shell/scene_handlers.h"

namespace quillorn::bots {

namespace {

constexpr uint32_t kArrowKeys[4] = {platform::kKeyUp, platform::kKeyRight, platform::kKeyDown,
                                    platform::kKeyLeft};
constexpr int32_t kDx[4] = {0, 1, 0, -1};
constexpr int32_t kDy[4] = {-1, 0, 1, 0};
constexpr int kPatienceTicks = 2000;  // no wait of the game lasts this long

bool OnField(Tile t) {
  return t.x >= 0 && t.x < 16 && t.y >= 0 && t.y < 16;
}

}  // namespace

int32_t Manhattan(Tile a, Tile b) {
  return std::abs(a.x - b.x) + std::abs(a.y - b.y);
}

Tile Neighbour(Tile t, int32_t direction) {
  return {t.x + kDx[direction], t.y + kDy[direction]};
}

Player::Player(uint32_t seed) {
  test::StartGame(seed);
  for (int i = 0; i < kPatienceTicks && !OnTitle(); ++i) Tick();
}

void Player::Tick() {
  headless::Tick();
  ++ticks_;
  if (listener_) listener_();
}

void Player::Press(uint32_t key) {
  headless::KeyDown(key);
  headless::KeyUp(key);
}

bool Player::Standing() const {
  return sceneHandlers.tickHandler == PlayTick;
}
bool Player::Walking() const {
  return sceneHandlers.tickHandler == StepTick;
}
bool Player::MessageWaiting() const {
  return sceneHandlers.confirmKeyHandler == ConfirmMessage;
}
bool Player::OnTitle() const {
  return sceneHandlers.confirmKeyHandler == TitleConfirmKey;
}
bool Player::InPlay() const {
  Handler h = sceneHandlers.tickHandler;
  return h == PlayTick || h == StepTick || h == RefillTick;
}
int32_t Player::Room() const {
  return currentRoom;
}
Tile Player::King() const {
  return {actors[kKing].tileX, actors[kKing].tileY};
}
int32_t Player::Hearts() const {
  return hearts;
}
std::string Player::MessageText() const {
  return std::string(quillorn::MessageText.text);
}

std::vector<Tile> Player::VisiblePeople() const {
  std::vector<Tile> people;
  for (int32_t k = 1; k < kActorCount; ++k)
    if (actors[k].present && actors[k].visible)
      people.push_back({actors[k].tileX, actors[k].tileY});
  return people;
}

bool Player::Floor(Tile t) const {
  return OnField(t) && t.x >= 1 && t.x <= 13 && t.y >= 1 && t.y <= 13 &&
         TileId(currentRoom, t.x, t.y) < kFirstBlockingTile;
}
bool Player::Flower(Tile t) const {
  if (!OnField(t)) return false;
  int32_t id = TileId(currentRoom, t.x, t.y);
  return id == MapTileFlowerA || id == MapTileFlowerU;
}

std::vector<Player::Doorway> Player::Doorways() const {
  std::vector<Doorway> doors;
  for (int32_t y = 1; y <= 13; ++y) {
    for (int32_t x = 1; x <= 13; ++x) {
      int32_t n = ExitNumber(currentRoom, x, y);
      if (n >= 1 && n <= 7 && Floor({x, y}))
        doors.push_back({{x, y}, castleMap[currentRoom].exits[n].destination});
    }
  }
  return doors;
}

void Player::StartNewGameFromTitle() {
  for (int i = 0; i < kPatienceTicks && !OnTitle(); ++i) Tick();
  Press(platform::kKeyReturn);  // the cursor starts on GAME
  for (int i = 0; i < kPatienceTicks && !Standing(); ++i) Tick();
}

void Player::Step(int32_t direction) {
  headless::KeyDown(kArrowKeys[direction]);
  Tick();  // the step starts on this tick
  headless::KeyUp(kArrowKeys[direction]);
  for (int i = 0; i < kPatienceTicks; ++i) {
    Handler h = sceneHandlers.tickHandler;
    if (h != StepTick && h != RefillTick) break;
    Tick();
  }
}

void Player::WaitTicks(int32_t n) {
  for (int32_t i = 0; i < n; ++i) Tick();
}

void Player::ConfirmMessages() {
  for (int i = 0; i < kPatienceTicks; ++i) {
    if (MessageWaiting()) {
      Press(platform::kKeyReturn);
      headless::Pump();
    } else if (Standing() || OnTitle() || !sceneHandlers.tickHandler) {
      return;
    }
    Tick();
  }
}

void Player::Reveal() {
  Press(platform::kKeyE);
  headless::Pump();
}

int32_t Player::Survey() {
  Press(platform::kKeyReturn);
  for (int i = 0; i < kPatienceTicks && !MessageWaiting(); ++i) Tick();
  // "誰もいないようじゃ" or a full-width digit and "人いるようじゃ".
  std::string text = MessageText();
  int32_t count = 0;
  if (text.size() >= 2 && uint8_t(text[0]) == 0x82 && uint8_t(text[1]) >= 0x4F &&
      uint8_t(text[1]) <= 0x58)
    count = uint8_t(text[1]) - 0x4F;
  ConfirmMessages();
  return count;
}

std::vector<int32_t> RoomRoute(int32_t from) {
  std::map<int32_t, int32_t> previous{{from, -1}};
  std::deque<int32_t> queue{from};
  while (!queue.empty()) {
    int32_t room = queue.front();
    queue.pop_front();
    if (room == 31) break;
    for (int32_t n = 1; n <= 7; ++n) {
      int32_t to = castleMap[room].exits[n].destination;
      bool named = false;  // only exits that some doorway of the room names
      for (int32_t i = 0; i < 256 && !named; ++i) named = castleMap[room].cells[i] / 256 == n;
      if (!named || previous.count(to)) continue;
      previous[to] = room;
      queue.push_back(to);
    }
  }
  std::vector<int32_t> route;
  if (!previous.count(31)) return route;
  for (int32_t r = 31; r != -1; r = previous[r]) route.push_back(r);
  std::reverse(route.begin(), route.end());
  return route;
}

bool FindWay(const Player& p, Tile from, const std::function<bool(Tile)>& goal,
             const std::function<bool(Tile)>& blocked, std::vector<int32_t>& directions,
             const std::function<int32_t(Tile)>& cost) {
  // Cheapest way first (every step costs at least 1): Dijkstra over the 16 x 16 tiles.
  int32_t best[16][16], cameBy[16][16];
  for (auto& row : best) std::fill(std::begin(row), std::end(row), INT32_MAX);
  using Entry = std::pair<int32_t, int32_t>;  // cost, y * 16 + x
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
  best[from.y][from.x] = 0;
  cameBy[from.y][from.x] = 4;
  queue.push({0, from.y * 16 + from.x});
  while (!queue.empty()) {
    auto [c, at] = queue.top();
    queue.pop();
    Tile t{at % 16, at / 16};
    if (c != best[t.y][t.x]) continue;
    if (goal(t)) {
      directions.clear();
      for (Tile back = t; !(back == from);) {
        int32_t d = cameBy[back.y][back.x];
        directions.push_back(d);
        back = Neighbour(back, (d + 2) % 4);
      }
      std::reverse(directions.begin(), directions.end());
      return true;
    }
    for (int32_t d = 0; d < 4; ++d) {
      Tile n = Neighbour(t, d);
      if (!p.Floor(n) || blocked(n)) continue;
      int32_t nc = c + (cost ? std::max(1, cost(n)) : 1);
      if (nc >= best[n.y][n.x]) continue;
      best[n.y][n.x] = nc;
      cameBy[n.y][n.x] = d;
      queue.push({nc, n.y * 16 + n.x});
    }
  }
  return false;
}

std::string Describe(const std::vector<GameResult>& results) {
  int wins = 0, endings = 0, rolls = 0;
  uint64_t rollTicks = 0;
  uint64_t ticks = 0, minTicks = UINT64_MAX, maxTicks = 0;
  std::map<std::string, int> losses;
  std::map<int32_t, int> lossRooms;
  std::vector<int32_t> flowers;
  std::map<int32_t, std::vector<int32_t>> byRoom;
  for (const GameResult& r : results) {
    if (r.won) {
      ++wins;
      endings += r.endingStarted;
      rolls += r.staffRoll;
      rollTicks += r.staffRollTicks;
      ticks += r.ticks;
      minTicks = std::min(minTicks, r.ticks);
      maxTicks = std::max(maxTicks, r.ticks);
    } else {
      ++losses[r.loss];
      ++lossRooms[r.lossRoom];
    }
    flowers.insert(flowers.end(), r.heartsAtFlowers.begin(), r.heartsAtFlowers.end());
    for (size_t i = 0; i < r.heartsAtFlowers.size(); ++i)
      byRoom[r.flowerRooms[i]].push_back(r.heartsAtFlowers[i]);
  }
  char line[256];
  std::string out;
  std::snprintf(line, sizeof line, "won %d of %zu games; the ending began in %d\n", wins,
                results.size(), endings);
  out += line;
  if (wins) {
    std::snprintf(line, sizeof line, "ticks per won game: mean %llu, least %llu, most %llu\n",
                  static_cast<unsigned long long>(ticks / wins),
                  static_cast<unsigned long long>(minTicks),
                  static_cast<unsigned long long>(maxTicks));
    out += line;
  }
  if (rolls) {
    std::snprintf(line, sizeof line,
                  "the staff roll began in %d, on average %llu ticks after the title\n", rolls,
                  static_cast<unsigned long long>(rollTicks / rolls));
    out += line;
  }
  if (!flowers.empty()) {
    std::sort(flowers.begin(), flowers.end());
    long sum = 0;
    for (int32_t h : flowers) sum += h;
    std::snprintf(line, sizeof line,
                  "flowers sniffed: %zu; hearts left at a flower: least %d, median %d, mean %ld\n",
                  flowers.size(), flowers.front(), flowers[flowers.size() / 2],
                  sum / long(flowers.size()));
    out += line;
  }
  for (auto& [room, hearts] : byRoom) {
    std::sort(hearts.begin(), hearts.end());
    long sum = 0;
    for (int32_t h : hearts) sum += h;
    std::snprintf(line, sizeof line, "  room %d: %zu sniffs, hearts least %d, mean %ld, most %d\n",
                  room, hearts.size(), hearts.front(), sum / long(hearts.size()), hearts.back());
    out += line;
  }
  for (const auto& [cause, n] : losses) out += "  lost " + std::to_string(n) + ": " + cause + "\n";
  for (const auto& [room, n] : lossRooms)
    out += "  losses in room " + std::to_string(room) + ": " + std::to_string(n) + "\n";
  return out;
}

}  // namespace quillorn::bots

namespace quillorn::bots {

namespace {

constexpr uint64_t kGameTickLimit = 60000;  // about 54 minutes of play
constexpr int32_t kSniffBelow = 119;        // a refill costs only the way to the flower
constexpr int32_t kRetreatHearts = 30;      // enough to step out of a room and back in

bool FlowerNext(const Player& p, Tile t, int32_t* direction) {
  for (int32_t d = 0; d < 4; ++d) {
    if (p.Flower(Neighbour(t, d))) {
      if (direction) *direction = d;
      return true;
    }
  }
  return false;
}

bool RoomHasFlower(int32_t room) {
  for (int32_t y = 1; y <= 13; ++y)
    for (int32_t x = 1; x <= 13; ++x) {
      int32_t id = TileId(room, x, y);
      if (id == MapTileFlowerA || id == MapTileFlowerU) return true;
    }
  return false;
}

// The next room on the route, unless hearts will not last to the next flower on it and a
// room next door has one: then that room, for a refill, and back.
int32_t NextRoom(const Player& p, const std::vector<int32_t>& route, bool sniffedHere,
                 int32_t perRoom) {
  size_t rooms = 1;
  while (rooms < route.size() && route[rooms] != 31 && !RoomHasFlower(route[rooms])) ++rooms;
  const bool flowerHere = RoomHasFlower(p.Room()) && !sniffedHere;
  // A detour there and back costs about two rooms: worth it only well below full hearts.
  if (p.Hearts() >= perRoom * int32_t(rooms) || flowerHere || p.Hearts() > kMaxHearts - 2 * perRoom)
    return route[1];
  for (const Player::Doorway& d : p.Doorways())
    if (d.to != 31 && RoomHasFlower(d.to)) return d.to;
  return route[1];
}

// Watches the ending after the doorway into the secret room, confirming its lines.
void WatchEnding(Player& p, GameResult& r, uint64_t start) {
  r.endingIsTitle = p.OnTitle();
  for (int i = 0; i < 20000 && !r.endingIsTitle; ++i) {
    r.endingStarted = r.endingStarted || scriptDoneHandler == StartStaffRoll;
    if (sceneHandlers.tickHandler == StaffRollTick) {
      r.staffRoll = true;
      r.staffRollTicks = p.ticks() - start;
      return;
    }
    if (p.OnTitle()) return;
    if (p.MessageWaiting()) {
      p.Press(platform::kKeyReturn);
      headless::Pump();
    }
    p.Tick();
  }
}

}  // namespace

GameResult PlayGame(Player& p, Strategy& s) {
  GameResult r;
  const uint64_t start = p.ticks();
  p.StartNewGameFromTitle();
  r.rooms.push_back(p.Room());
  int32_t arrived = -1;
  bool sniffed = false;  // one refill a visit is enough
  auto lose = [&](const std::string& why) {
    r.loss = why;
    r.lossRoom = p.Room();
    r.ticks = p.ticks() - start;
    return r;
  };
  while (p.ticks() - start < kGameTickLimit) {
    if (!p.Standing()) return lose("left play unexpectedly");
    if (arrived != p.Room()) {
      s.Arrive(p);
      arrived = p.Room();
      sniffed = false;
    }
    const Tile king = p.King();
    const std::vector<int32_t> route = RoomRoute(p.Room());
    if (route.size() < 2) return lose("no route");
    const std::vector<Player::Doorway> doors = p.Doorways();
    auto doorwayTo = [&](Tile t, int32_t room) {
      for (const auto& d : doors)
        if (d.tile == t && (room < 0 || d.to == room)) return true;
      return false;
    };
    auto avoid = [&](const std::function<bool(Tile)>& goal) {
      return [&, goal](Tile t) { return s.Avoid(p, t) || (doorwayTo(t, -1) && !goal(t)); };
    };
    // Where to: a flower when hearts run low, else the doorway on the route; when people
    // bar the way, any other doorway (the room is placed afresh on coming back).
    std::vector<int32_t> way;
    bool sniff = false;
    std::function<bool(Tile)> goal = [&](Tile t) { return FlowerNext(p, t, nullptr); };
    const auto nothing = [](Tile) { return false; };
    const auto cost = [&](Tile t) { return s.Cost(p, t); };
    if (!sniffed && p.Hearts() < kSniffBelow && FindWay(p, king, goal, nothing, way)) {
      sniff = FindWay(p, king, goal, avoid(goal), way, cost);
      if (!sniff && s.Loosen()) continue;  // a refill is worth a risk
    }
    if (!sniff) {
      const int32_t next = NextRoom(p, route, sniffed, s.HeartsPerRoom());
      goal = [&, next](Tile t) { return doorwayTo(t, next); };
      if (!FindWay(p, king, goal, avoid(goal), way, cost)) {
        // Out and back in places the people afresh; with hearts to spare that beats a
        // step into the unknown.
        goal = [&](Tile t) { return doorwayTo(t, -1) && !(t == king); };
        bool out = p.Hearts() >= kRetreatHearts && FindWay(p, king, goal, avoid(goal), way, cost);
        if (!out && s.Loosen()) continue;
        if (!out && !FindWay(p, king, goal, avoid(goal), way, cost)) return lose("no way out");
      }
    }
    if (way.empty() && sniff) {
      int32_t d = 0;
      FlowerNext(p, king, &d);
      r.heartsAtFlowers.push_back(p.Hearts());
      r.flowerRooms.push_back(p.Room());
      sniffed = true;
      p.Step(d);
      p.ConfirmMessages();
      for (int i = 0; i < 100 && !p.Standing(); ++i) p.Tick();  // refilling
      continue;
    }
    if (way.empty()) return lose("standing on a doorway");
    const Tile to = Neighbour(king, way[0]);
    if (!s.BeforeStep(p, to)) continue;
    const bool toSecret = doorwayTo(to, 31);
    const int32_t room = p.Room();
    p.Step(way[0]);
    if (p.Standing()) {
      if (p.Room() != room) r.rooms.push_back(p.Room());
      continue;
    }
    if (toSecret && p.Hearts() > 0 && !p.InPlay()) {
      r.won = true;
      r.ticks = p.ticks() - start;
      WatchEnding(p, r, start);
      return r;
    }
    if (p.Hearts() <= 0) return lose("out of hearts");
    // Walked into somebody, who now shows: caught, unless let go.
    int32_t type = -1;
    for (int32_t k = 1; k < kActorCount; ++k)
      if (actors[k].present && actors[k].visible && Tile{actors[k].tileX, actors[k].tileY} == to)
        type = actors[k].type;
    p.ConfirmMessages();
    if (!p.Standing()) return lose("caught by type " + std::to_string(type));
  }
  return lose("too slow");
}

}  // namespace quillorn::bots
