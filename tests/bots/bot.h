// The bots' way of playing: a player who knows the map of rooms, takes the shortest way of
// rooms to the secret room and sniffs the flowers on the way. What it perceives comes through
// a few functions: the seeing and listening bots (bots_test.cpp) take the king, the room, the
// hearts and the message box from the game's state as a stand-in for the picture, and the
// listening one hears the mixed sound; the watching bot (watching_bot_test.cpp) reads the
// composed window instead. A referee, not the bot, reads the state to score each game.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <map>
#include <queue>

#include "game_driver.h"
#include "gameplay/castle_map.h"
#include "gameplay/play.h"
#include "platform/headless/headless_audio.h"
#include "scenes/staff_roll.h"
#include "scenes/title_screen.h"
#include "script/message_box.h"
#include "script/script.h"

namespace quillorn::bots {

using test::Press;
using test::TickUntil;

struct Tile {
  int32_t x = 0, y = 0;
  bool operator==(const Tile&) const = default;
};
using TileTest = std::function<bool(Tile)>;

struct GameResult {
  bool won = false, endingStarted = false, staffRoll = false;
  std::string loss;                    // why not: "caught in room 16", ...
  long ticks = 0, staffRollTicks = 0;  // from the title to the doorway, to the staff roll
  std::vector<std::pair<int32_t, int32_t>> flowers;  // room and hearts left at each sniff
};

// A player who knows the map of rooms. The seeing one presses E on entering each room, as a
// player may, and walks around the people it then sees. The listening one never does: it
// asks for the survey's count and hears the beeps; a beep of distance d heard on tile o means
// nobody stands closer than d to o. It steps on tiles so ruled out, standing to listen
// before a step into the unknown; where every way leads past a tile it cannot rule out, it
// goes out and back in (the room is placed afresh) or, low on hearts, takes the step least
// likely to hold somebody.
class Bot {
 public:
  explicit Bot(bool seeing) : seeing_(seeing) {}
  virtual ~Bot() = default;
  GameResult Play(uint32_t seed);

 protected:
  using Observation = std::pair<Tile, int32_t>;             // a beep heard on a tile, its distance
  static constexpr int32_t kSilence = 20, kSoundTail = 18;  // ticks a voice or the flower sounds

  // What the screen shows, here from the game's state.
  static bool Is(Handler tick) { return sceneHandlers.tickHandler == tick; }
  virtual bool Standing() { return Is(PlayTick); }
  static bool MessageWaiting() { return sceneHandlers.confirmKeyHandler == ConfirmMessage; }
  static bool OnTitle() { return sceneHandlers.confirmKeyHandler == TitleConfirmKey; }
  virtual Tile King() { return {actors[kKing].tileX, actors[kKing].tileY}; }
  virtual int32_t Room() { return currentRoom; }
  virtual int32_t Hearts() { return hearts; }
  // Ticks a beep may be mistaken for what sounded before it (a voice, the flower's tune).
  virtual int32_t SoundTail() const { return kSoundTail; }
  static int32_t Manhattan(Tile a, Tile b) { return std::abs(a.x - b.x) + std::abs(a.y - b.y); }
  static Tile Neighbour(Tile t, int32_t d) {
    return {t.x + (d == 1) - (d == 3), t.y + (d == 2) - (d == 0)};
  }
  bool Floor(Tile t) {
    return t.x >= 1 && t.x <= 13 && t.y >= 1 && t.y <= 13 &&
           TileId(Room(), t.x, t.y) < kFirstBlockingTile;
  }
  static bool Flower(int32_t room, Tile t) {
    return TileId(room, t.x, t.y) == MapTileFlowerA || TileId(room, t.x, t.y) == MapTileFlowerU;
  }
  static bool RoomHasFlower(int32_t room) {
    for (int32_t i = 0; i < 13 * 13; ++i)
      if (Flower(room, {1 + i % 13, 1 + i / 13})) return true;
    return false;
  }
  // The direction of a flower next to t, or -1.
  int32_t FlowerNext(Tile t) {
    for (int32_t d = 0; d < 4; ++d)
      if (Flower(Room(), Neighbour(t, d))) return d;
    return -1;
  }
  // The room a doorway on tile t leads to, or -1.
  int32_t DoorwayTo(Tile t) {
    const int32_t n = Floor(t) ? ExitNumber(Room(), t.x, t.y) : 0;
    return n >= 1 && n <= 7 ? castleMap[Room()].exits[n].destination : -1;
  }

  // Once the game has begun, before the first look at it.
  virtual void Prepare() {}

  // Keys: each returns once the game waits again. The listener hears every tick of play.
  virtual void Tick() {
    headless::Tick();
    if (!seeing_) Heard();
  }
  virtual void Step(int32_t d) {                          // one step, or a turn against a wall
    headless::KeyDown(platform::kKeyLeft + (d + 1) % 4);  // Left, Up, Right, Down follow
    Tick();
    headless::KeyUp(platform::kKeyLeft + (d + 1) % 4);
    for (int i = 0; i < 2000 && (Is(StepTick) || Is(RefillTick)); ++i) Tick();
  }
  virtual void ConfirmMessages() {
    TickUntil([this] {
      return MessageWaiting() ? (Press(platform::kKeyReturn), false)
                              : Standing() || OnTitle() || !sceneHandlers.tickHandler;
    });
  }
  // Enter while standing: how many people the king says there are ("誰もいないようじゃ" or
  // a full-width digit and "人いるようじゃ").
  virtual int32_t Survey() {
    Press(platform::kKeyReturn);
    TickUntil(MessageWaiting);
    const auto* text = reinterpret_cast<const uint8_t*>(MessageText.text);
    const int32_t n = text[0] == 0x82 && text[1] >= 0x4F && text[1] <= 0x58 ? text[1] - 0x4F : 0;
    ConfirmMessages();
    return n;
  }

  // The shortest way of rooms from `from` to the secret room (31), through exits some
  // doorway of the room names.
  static std::vector<int32_t> RoomRoute(int32_t from) {
    std::map<int32_t, int32_t> previous{{from, -1}};
    std::vector<int32_t> queue{from};
    for (size_t q = 0; q < queue.size() && queue[q] != 31; ++q) {
      const quillorn::Room& room = castleMap[queue[q]];
      for (int32_t n = 1; n <= 7; ++n) {
        const int32_t to = room.exits[n].destination;
        if (previous.count(to) || std::none_of(std::begin(room.cells), std::end(room.cells),
                                               [n](int16_t cell) { return cell / 256 == n; }))
          continue;
        previous[to] = queue[q];
        queue.push_back(to);
      }
    }
    std::vector<int32_t> route;
    for (int32_t r = previous.count(31) ? 31 : -1; r != -1; r = previous[r])
      route.insert(route.begin(), r);
    return route;
  }

  // The cheapest way over the room's floor from the king to a tile where goal() holds, never
  // through a blocked() one (Dijkstra over the 16 x 16 tiles); false when there is none.
  bool FindWay(const TileTest& goal, const TileTest& blocked, std::vector<int32_t>& way) {
    int32_t best[256], cameBy[256] = {};
    std::fill(std::begin(best), std::end(best), INT32_MAX);
    using Entry = std::pair<int32_t, int32_t>;  // cost, y * 16 + x
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    const Tile from = King();
    queue.push({best[from.y * 16 + from.x] = 0, from.y * 16 + from.x});
    while (!queue.empty()) {
      const auto [c, at] = queue.top();
      queue.pop();
      if (c != best[at]) continue;
      if (goal({at % 16, at / 16})) {
        way.clear();
        for (Tile b{at % 16, at / 16}; !(b == from); b = Neighbour(b, (way.back() + 2) % 4))
          way.push_back(cameBy[b.y * 16 + b.x]);
        std::reverse(way.begin(), way.end());
        return true;
      }
      for (int32_t d = 0; d < 4; ++d) {
        // Ground already ruled out is preferred: a tile not yet heard may force a way round.
        const Tile n = Neighbour({at % 16, at / 16}, d);
        const int32_t i = n.y * 16 + n.x, nc = c + (empty_[n.y][n.x] ? 2 : 3);
        if (!Floor(n) || blocked(n) || nc >= best[i]) continue;
        queue.push({best[i] = nc, i});
        cameBy[i] = d;
      }
    }
    return false;
  }

  // The next room on the route, unless hearts will not last to the next flower on it and a
  // room next door has one: then that room, for a refill, and back. The listener's caution
  // costs hearts: it expects 22 a room (22 won most among 18, 22, 26 and 30), the seeing 18.
  int32_t NextRoom(const std::vector<int32_t>& route, bool sniffedHere) {
    const int32_t perRoom = seeing_ ? 18 : 22;
    int32_t rooms = 1;
    while (rooms < int32_t(route.size()) && route[rooms] != 31 && !RoomHasFlower(route[rooms]))
      ++rooms;
    // A detour there and back costs about two rooms: worth it only well below full hearts.
    if (Hearts() >= perRoom * rooms || (RoomHasFlower(Room()) && !sniffedHere) ||
        Hearts() > kMaxHearts - 2 * perRoom)
      return route[1];
    for (int32_t i = 0; i < 13 * 13; ++i) {
      const int32_t to = DoorwayTo({1 + i % 13, 1 + i / 13});
      if (to >= 0 && to != 31 && RoomHasFlower(to)) return to;
    }
    return route[1];
  }

  // In a room just entered (placed afresh): what the bot knows of it.
  void Arrive() {
    room_ = Room(), listenedAt_ = {-1, -1}, gamble_ = false;
    seen_.clear();
    MarkAll(seeing_);
    if (seeing_) {
      Press(platform::kKeyE);
      for (int32_t k = 1; k < kActorCount; ++k)
        if (actors[k].present && actors[k].visible)
          empty_[actors[k].tileY][actors[k].tileX] = false;
      return;
    }
    if ((people_ = Survey()) == 0) MarkAll(true);
    Listen();
  }
  // A tile it will not step onto now.
  bool Avoid(Tile t) {
    if (empty_[t.y][t.x]) return false;
    if (seeing_ || Occupied(t)) return true;
    // A tile right next to where a beep said "one tile" may hold that person.
    for (const auto& [at, distance] : seen_)
      if (distance == 1 && Manhattan(at, t) == 1) return !gamble_;
    return false;
  }
  // Before a step into the unknown it listens; false: plan again with what it now knows.
  bool BeforeStep(Tile to) {
    if (!empty_[to.y][to.x] && !(listenedAt_ == King())) Listen();
    return empty_[to.y][to.x] || std::exchange(gamble_, false);  // no safer way: take the chance
  }
  // No way avoids what it avoids: true when it now dares more.
  bool Loosen() { return !seeing_ && !gamble_ && (gamble_ = true); }

  // The ear hears the mix rendered after every tick of play; the sound of ticks nobody
  // listened to (messages) it plays out unheard. A beep starts with the tick that played it;
  // a sound going on from the tick before is a new beep only when its pitch changed (the slot
  // was played again). Its pitch tells the distance from the king's tile: the beep is a
  // 1500 Hz tone recorded at 22050 frames a second and played at 36000 - 1800 n frames a
  // second (2000 from 19 tiles).
  void Heard() {
    constexpr uint32_t kPerMs = headless::kAudioOutputRate / 1000;
    const uint32_t now = platform::GetTickCount(), ms = last_ ? now - last_ : 54;
    last_ = now;
    const std::vector<int16_t> stereo = headless::RenderAudio(ms * kPerMs);
    left_.clear();
    for (size_t i = 0; i < stereo.size(); i += 2) left_.push_back(stereo[i]);
    double hz = Loud(0) || Loud(8) ? PitchAt(0) : 0;
    bool fresh = hz > 0 && (soundingHz_ == 0 || std::fabs(hz - soundingHz_) > 0.03 * soundingHz_);
    if (fresh) soundingHz_ = hz;
    for (size_t i = 0; i < left_.size(); ++i) {
      // The recording starts softly: a beep after 5 ms of quiet begins where it grows loud.
      if (Loud(i) && quietRun_ >= 240 && i > 8 && !fresh && (hz = PitchAt(i)) > 0)
        fresh = true, soundingHz_ = hz;
      if ((quietRun_ = Loud(i) ? 0 : quietRun_ + 1) >= 240) soundingHz_ = 0;
    }
    // Voices and the flower's tune are not beeps; a beep in the tick that changed rooms
    // belongs to the room just left.
    const bool playing = Standing() || Is(StepTick);
    if (ms > 54 || !playing) afterSound_ = 0;
    if (!playing || afterSound_++ < kSoundTail || !fresh || currentRoom != room_) return;
    const double rate = hz * 22050 / 1500;
    Learn(King(),
          rate < 2800 ? 19 : std::clamp(int32_t(std::lround((36000 - rate) / 1800)), 1, 18));
  }
  bool Loud(size_t i) const { return std::abs(left_[i]) >= 200; }
  // The pitch from the rising zero crossings of 50 ms from `from`; 0 when too few sound.
  double PitchAt(size_t from) const {
    double first = -1, last = -1;
    int crossings = 0;
    for (size_t i = from + 1; i < std::min(left_.size(), from + 2400); ++i) {
      if (left_[i - 1] >= 0 || left_[i] < 0) continue;
      (crossings++ == 0 ? first : last) = i - 1 + double(-left_[i - 1]) / (left_[i] - left_[i - 1]);
    }
    return crossings < 3 ? 0
                         : (crossings - 1) * double(headless::kAudioOutputRate) / (last - first);
  }
  // Stands until a beep comes; no beep for that long means nobody within 19 tiles.
  void Listen() {
    listenedAt_ = King();
    const int32_t before = heard_;
    for (int32_t i = 0; i <= kSilence + SoundTail() && heard_ == before; ++i) Tick();
    if (heard_ == before) Learn(King(), kSilence);
  }
  void Learn(Tile at, int32_t distance) {
    ++heard_;
    if (std::find(seen_.begin(), seen_.end(), Observation{at, distance}) != seen_.end()) return;
    seen_.push_back({at, distance});
    for (int32_t i = 0; i < 256; ++i)
      if (Manhattan(at, {i % 16, i / 16}) < distance) empty_[i / 16][i % 16] = true;
    // Once as many people are placed as the survey counted, nobody else is anywhere.
    std::vector<Tile> found;
    for (int32_t i = 0; i < 256; ++i)
      if (Tile t{i % 16, i / 16}; !empty_[t.y][t.x] && Floor(t) && Occupied(t)) found.push_back(t);
    if (people_ > 0 && int32_t(found.size()) == people_) {
      MarkAll(true);
      for (const Tile& t : found) empty_[t.y][t.x] = false;
    }
  }
  // A beep's ring with a single floor tile not yet ruled out: somebody stands there.
  bool Occupied(Tile t) {
    for (const auto& [at, distance] : seen_) {
      if (distance >= kSilence || Manhattan(at, t) != distance) continue;
      int open = 0;
      for (Tile u{0, 0}; u.y < 16; u = {(u.x + 1) % 16, u.y + (u.x == 15)})
        open += Manhattan(at, u) == distance && Floor(u) && !empty_[u.y][u.x];
      if (open == 1) return true;
    }
    return false;
  }
  void MarkAll(bool empty) { std::fill(&empty_[0][0], &empty_[0][0] + 256, empty); }

  const bool seeing_;
  int32_t room_ = -1, people_ = 0, afterSound_ = 0, heard_ = 0, quietRun_ = 1 << 20;
  uint32_t last_ = 0;
  double soundingHz_ = 0;  // pitch of the beep sounding at the end of the last tick, 0: quiet
  std::vector<int16_t> left_;
  bool empty_[16][16] = {}, gamble_ = false;
  std::vector<Observation> seen_;
  Tile listenedAt_{-1, -1};
};

// One game from the title: towards the secret room, sniffing the flowers on the way while
// below 119 hearts (a refill then costs only the way to the flower), until won or lost.
inline GameResult Bot::Play(uint32_t seed) {
  GameResult r;
  test::StartNewGame(seed);
  Prepare();
  const uint32_t start = platform::GetTickCount();
  const auto ticks = [&] { return long(platform::GetTickCount() - start) / 54; };
  const auto lose = [&](const std::string& why) {
    r.loss = why + " in room " + std::to_string(currentRoom);
    r.ticks = ticks();
    return r;
  };
  int32_t arrived = -1;
  bool sniffed = false;  // one refill a visit is enough
  while (ticks() < 60000) {
    if (!Standing()) return lose("left play");
    if (std::exchange(arrived, Room()) != Room()) Arrive(), sniffed = false;
    const Tile king = King();
    const std::vector<int32_t> route = RoomRoute(Room());
    if (route.size() < 2) return lose("no route");
    const auto avoid = [&](const TileTest& goal) {
      return [&, goal](Tile t) { return Avoid(t) || (DoorwayTo(t) >= 0 && !goal(t)); };
    };
    std::vector<int32_t> way;
    bool sniff = false;
    TileTest goal = [this](Tile t) { return FlowerNext(t) >= 0; };
    if (!sniffed && Hearts() < 119 &&
        FindWay(
            goal, [](Tile) { return false; }, way)) {
      sniff = FindWay(goal, avoid(goal), way);
      if (!sniff && Loosen()) continue;  // a refill is worth a risk
    }
    if (!sniff) {
      const int32_t next = NextRoom(route, sniffed);
      goal = [this, next](Tile t) { return DoorwayTo(t) == next; };
      if (!FindWay(goal, avoid(goal), way)) {
        // Out and back in places the people afresh; with hearts to spare that beats a
        // step into the unknown.
        goal = [this, king](Tile t) { return DoorwayTo(t) >= 0 && !(t == king); };
        const bool out = Hearts() >= 30 && FindWay(goal, avoid(goal), way);
        if (!out && Loosen()) continue;
        if (!out && !FindWay(goal, avoid(goal), way)) return lose("no way out");
      }
    }
    if (way.empty() && sniff) {
      r.flowers.push_back({Room(), Hearts()});
      sniffed = true;
      Step(FlowerNext(king));
      ConfirmMessages();
      continue;
    }
    if (way.empty()) return lose("standing on a doorway");
    const Tile to = Neighbour(king, way[0]);
    if (!BeforeStep(to)) continue;
    const bool toSecret = DoorwayTo(to) == 31;
    Step(way[0]);
    // Through the doorway to the secret room the game is over, whatever the picture shows.
    if (Standing() && !toSecret) continue;
    // From here the referee: the game's own state says how it went.
    if (toSecret && hearts > 0) {
      r.won = true, r.ticks = ticks();
      // The ending, its lines confirmed as they come, must lead into the staff roll.
      const auto watch = [&] {
        r.endingStarted = r.endingStarted || scriptDoneHandler == StartStaffRoll;
        if (MessageWaiting()) Press(platform::kKeyReturn);
        return Is(StaffRollTick) || OnTitle();
      };
      TickUntil(watch, 20000);
      r.staffRoll = Is(StaffRollTick), r.staffRollTicks = r.staffRoll ? ticks() : 0;
      return r;
    }
    if (hearts <= 0) return lose("out of hearts");
    ConfirmMessages();  // walked into somebody: caught, unless let go
    if (!Standing()) return lose("caught");
  }
  return lose("too slow");
}

// Plays seeds 1 to QUILLORN_BOT_SEEDS (defaultSeeds without it) with a bot that make() gives
// afresh for each, and prints the figures the quality report quotes; returns the games played
// and won.
template <typename MakeBot>
std::pair<int32_t, int32_t> PlaySeeds(bool seeing, const char* name, MakeBot make,
                                      int32_t defaultSeeds) {
  const char* v = std::getenv("QUILLORN_BOT_SEEDS");
  const int32_t seeds = v && *v ? std::atoi(v) : defaultSeeds;
  int32_t wins = 0, endings = 0, rolls = 0;
  long ticks = 0, least = LONG_MAX, most = 0, rollTicks = 0;
  std::map<std::string, int> losses;
  std::map<int32_t, std::vector<int32_t>> byRoom;  // hearts at each sniff; -1: every room
  for (int32_t seed = 1; seed <= seeds; ++seed) {
    GameResult r = make()->Play(seed);
    // The seeing bot wins every game, and its ending leads into the staff roll.
    EXPECT_TRUE(!seeing || (r.won && r.endingStarted && r.staffRoll)) << seed << ": " << r.loss;
    if (!r.won) ++losses[r.loss];
    wins += r.won, endings += r.endingStarted, rolls += r.staffRoll, rollTicks += r.staffRollTicks;
    if (r.won) ticks += r.ticks, least = std::min(least, r.ticks), most = std::max(most, r.ticks);
    for (auto [room, h] : r.flowers) byRoom[room].push_back(h), byRoom[-1].push_back(h);
  }
  std::printf(
      "%s bot, seeds 1 to %d:\nwon %d of %d games; the ending began in %d, the staff roll in %d, "
      "on average %ld ticks after the title\nticks per won game: mean %ld, least %ld, most %ld\n",
      name, seeds, wins, seeds, endings, rolls, rollTicks / std::max(rolls, 1),
      ticks / std::max(wins, 1), least, most);
  for (auto& [room, h] : byRoom) {
    std::sort(h.begin(), h.end());
    long mean = 0;
    for (int32_t v : h) mean += v;
    mean /= long(h.size());
    if (room < 0)
      std::printf("flowers sniffed: %zu; hearts left at a flower: least %d, median %d, mean %ld\n",
                  h.size(), h.front(), h[h.size() / 2], mean);
    else
      std::printf("  room %d: %zu sniffs, hearts least %d, mean %ld, most %d\n", room, h.size(),
                  h.front(), mean, h.back());
  }
  for (const auto& [why, n] : losses) std::printf("  lost %d: %s\n", n, why.c_str());
  return {seeds, wins};
}

}  // namespace quillorn::bots
