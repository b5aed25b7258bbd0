// Two bots play the whole game from the title by keys alone and look only at what a player
// sees: the king, the room's picture (floor, walls, flowers, doorways), the hearts bar, the
// message box and, for the one that listens, the mixed sound. Both know the map of rooms,
// take the shortest way of rooms to the secret room and sniff the flowers on the way.
// QUILLORN_BOT_SEEDS=n plays seeds 1 to n: 20 by default, 3 in the sanitizer build;
//   QUILLORN_BOT_SEEDS=100 build/tests/bots/test_bots
// prints the figures of the quality report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <numeric>
#include <queue>

#include "game_driver.h"
#include "gameplay/beeps.h"
#include "gameplay/castle_map.h"
#include "gameplay/play.h"
#include "platform/headless/headless_audio.h"
#include "scenes/staff_roll.h"
#include "scenes/title_screen.h"
#include "script/message_box.h"
#include "script/script.h"

#ifndef QUILLORN_BOT_SEEDS
#define QUILLORN_BOT_SEEDS 20
#endif

namespace quillorn::bots {
namespace {

using test::Press;
using test::TickUntil;

struct Tile {
  int32_t x = 0, y = 0;
  bool operator==(const Tile&) const = default;
};
using TileTest = std::function<bool(Tile)>;

int32_t Manhattan(Tile a, Tile b) {
  return std::abs(a.x - b.x) + std::abs(a.y - b.y);
}
Tile Neighbour(Tile t, int32_t d) {
  return {t.x + (d == 1) - (d == 3), t.y + (d == 2) - (d == 0)};
}
uint32_t Seeds() {
  const char* v = std::getenv("QUILLORN_BOT_SEEDS");
  return v && *v ? uint32_t(std::atoi(v)) : QUILLORN_BOT_SEEDS;
}

// What the screen shows.
bool Standing() {
  return sceneHandlers.tickHandler == PlayTick;
}
bool MessageWaiting() {
  return sceneHandlers.confirmKeyHandler == ConfirmMessage;
}
bool OnTitle() {
  return sceneHandlers.confirmKeyHandler == TitleConfirmKey;
}
Tile King() {
  return {actors[kKing].tileX, actors[kKing].tileY};
}
bool Floor(Tile t) {
  return t.x >= 1 && t.x <= 13 && t.y >= 1 && t.y <= 13 &&
         TileId(currentRoom, t.x, t.y) < kFirstBlockingTile;
}
bool Flower(int32_t room, Tile t) {
  const int32_t id = TileId(room, t.x, t.y);
  return id == MapTileFlowerA || id == MapTileFlowerU;
}
// The room a doorway on tile t leads to, or -1.
int32_t DoorwayTo(Tile t) {
  const int32_t n = Floor(t) ? ExitNumber(currentRoom, t.x, t.y) : 0;
  return n >= 1 && n <= 7 ? castleMap[currentRoom].exits[n].destination : -1;
}
bool RoomHasFlower(int32_t room) {
  for (int32_t i = 0; i < 13 * 13; ++i)
    if (Flower(room, {1 + i % 13, 1 + i / 13})) return true;
  return false;
}
// The direction of a flower next to t, or -1.
int32_t FlowerNext(Tile t) {
  for (int32_t d = 0; d < 4; ++d)
    if (Flower(currentRoom, Neighbour(t, d))) return d;
  return -1;
}

// The listening bot hears every tick of a step or a wait.
std::function<void()> hear;
void Tick() {
  headless::Tick();
  if (hear) hear();
}

// One step (or a turn against a wall); returns once the king stands or play has ended.
void Step(int32_t d) {
  static constexpr uint32_t kArrows[] = {platform::kKeyUp, platform::kKeyRight, platform::kKeyDown,
                                         platform::kKeyLeft};
  headless::KeyDown(kArrows[d]);
  Tick();
  headless::KeyUp(kArrows[d]);
  for (int i = 0; i < 2000; ++i) {
    if (sceneHandlers.tickHandler != StepTick && sceneHandlers.tickHandler != RefillTick) break;
    Tick();
  }
}

void ConfirmMessages() {
  TickUntil([] {
    if (!MessageWaiting()) return Standing() || OnTitle() || !sceneHandlers.tickHandler;
    Press(platform::kKeyReturn);
    return false;
  });
}

// Enter while standing: how many people the king says are in the room ("誰もいないようじゃ"
// or a full-width digit and "人いるようじゃ").
int32_t Survey() {
  Press(platform::kKeyReturn);
  TickUntil(MessageWaiting);
  const auto* text = reinterpret_cast<const uint8_t*>(MessageText.text);
  const int32_t count = text[0] == 0x82 && text[1] >= 0x4F && text[1] <= 0x58 ? text[1] - 0x4F : 0;
  ConfirmMessages();
  return count;
}

// The shortest way of rooms from `from` to the secret room (31), through exits some doorway
// of the room names.
std::vector<int32_t> RoomRoute(int32_t from) {
  std::map<int32_t, int32_t> previous{{from, -1}};
  for (std::deque<int32_t> queue{from}; !queue.empty() && queue.front() != 31; queue.pop_front()) {
    const Room& room = castleMap[queue.front()];
    for (int32_t n = 1; n <= 7; ++n) {
      const bool named = std::any_of(std::begin(room.cells), std::end(room.cells),
                                     [n](auto cell) { return cell / 256 == n; });
      if (!named || previous.count(room.exits[n].destination)) continue;
      previous[room.exits[n].destination] = queue.front();
      queue.push_back(room.exits[n].destination);
    }
  }
  std::vector<int32_t> route;
  for (int32_t r = previous.count(31) ? 31 : -1; r != -1; r = previous[r])
    route.insert(route.begin(), r);
  return route;
}

// How a bot learns where people stand, and when it dares a step.
struct Strategy {
  virtual ~Strategy() = default;
  virtual void Arrive() = 0;                      // in a room just entered, placed afresh
  virtual bool Avoid(Tile t) = 0;                 // a tile it will not step onto now
  virtual int32_t HeartsPerRoom() { return 18; }  // with a margin, to plan flower detours
  virtual int32_t Cost(Tile) { return 1; }        // what entering a tile is worth avoiding
  virtual bool BeforeStep(Tile) { return true; }  // false: plan again with what it now knows
  virtual bool Loosen() { return false; }         // no way left: true when it dares more now
};

// The cheapest way over the room's floor from the king to a tile where goal() holds, never
// through a blocked() one (Dijkstra over the 16 x 16 tiles); false when there is none.
bool FindWay(Strategy& s, const TileTest& goal, const TileTest& blocked,
             std::vector<int32_t>& way) {
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
      for (Tile back{at % 16, at / 16}; !(back == from);
           back = Neighbour(back, (way.back() + 2) % 4))
        way.push_back(cameBy[back.y * 16 + back.x]);
      std::reverse(way.begin(), way.end());
      return true;
    }
    for (int32_t d = 0; d < 4; ++d) {
      const Tile n = Neighbour({at % 16, at / 16}, d);
      const int32_t i = n.y * 16 + n.x, nc = c + std::max(1, s.Cost(n));
      if (!Floor(n) || blocked(n) || nc >= best[i]) continue;
      best[i] = nc;
      cameBy[i] = d;
      queue.push({nc, i});
    }
  }
  return false;
}

struct GameResult {
  bool won = false, endingStarted = false, staffRoll = false;
  std::string loss;                       // why not: "caught by type 3 in room 16", ...
  int64_t ticks = 0, staffRollTicks = 0;  // from the title to the doorway, the staff roll
  std::vector<std::pair<int32_t, int32_t>> flowers;  // room and hearts left at each sniff
};

// The next room on the route, unless hearts will not last to the next flower on it and a
// room next door has one: then that room, for a refill, and back.
int32_t NextRoom(const std::vector<int32_t>& route, bool sniffedHere, int32_t perRoom) {
  int32_t rooms = 1;
  while (rooms < int32_t(route.size()) && route[rooms] != 31 && !RoomHasFlower(route[rooms]))
    ++rooms;
  // A detour there and back costs about two rooms: worth it only well below full hearts.
  if (hearts >= perRoom * rooms || (RoomHasFlower(currentRoom) && !sniffedHere) ||
      hearts > kMaxHearts - 2 * perRoom)
    return route[1];
  for (int32_t i = 0; i < 13 * 13; ++i) {
    const int32_t to = DoorwayTo({1 + i % 13, 1 + i / 13});
    if (to >= 0 && to != 31 && RoomHasFlower(to)) return to;
  }
  return route[1];
}

// One game from the title: towards the secret room, sniffing the flowers on the way while
// below 119 hearts (a refill then costs only the way to the flower), until won or lost.
GameResult PlayGame(uint32_t seed, Strategy& s) {
  GameResult r;
  test::StartNewGame(seed);
  const uint32_t start = platform::GetTickCount();
  const auto ticks = [&] { return int64_t(platform::GetTickCount() - start) / 54; };
  const auto lose = [&](const std::string& why) {
    r.loss = why + " in room " + std::to_string(currentRoom);
    r.ticks = ticks();
    return r;
  };
  int32_t arrived = -1;
  bool sniffed = false;  // one refill a visit is enough
  while (ticks() < 60000) {
    if (!Standing()) return lose("left play");
    if (arrived != currentRoom) {
      s.Arrive();
      arrived = currentRoom;
      sniffed = false;
    }
    const Tile king = King();
    const std::vector<int32_t> route = RoomRoute(currentRoom);
    if (route.size() < 2) return lose("no route");
    const auto avoid = [&](const TileTest& goal) {
      return [&, goal](Tile t) { return s.Avoid(t) || (DoorwayTo(t) >= 0 && !goal(t)); };
    };
    std::vector<int32_t> way;
    bool sniff = false;
    TileTest goal = [](Tile t) { return FlowerNext(t) >= 0; };
    if (!sniffed && hearts < 119 &&
        FindWay(
            s, goal, [](Tile) { return false; }, way)) {
      sniff = FindWay(s, goal, avoid(goal), way);
      if (!sniff && s.Loosen()) continue;  // a refill is worth a risk
    }
    if (!sniff) {
      const int32_t next = NextRoom(route, sniffed, s.HeartsPerRoom());
      goal = [next](Tile t) { return DoorwayTo(t) == next; };
      if (!FindWay(s, goal, avoid(goal), way)) {
        // Out and back in places the people afresh; with hearts to spare that beats a
        // step into the unknown.
        goal = [king](Tile t) { return DoorwayTo(t) >= 0 && !(t == king); };
        const bool out = hearts >= 30 && FindWay(s, goal, avoid(goal), way);
        if (!out && s.Loosen()) continue;
        if (!out && !FindWay(s, goal, avoid(goal), way)) return lose("no way out");
      }
    }
    if (way.empty() && sniff) {
      r.flowers.push_back({currentRoom, hearts});
      sniffed = true;
      Step(FlowerNext(king));
      ConfirmMessages();
      continue;
    }
    if (way.empty()) return lose("standing on a doorway");
    const Tile to = Neighbour(king, way[0]);
    if (!s.BeforeStep(to)) continue;
    const bool toSecret = DoorwayTo(to) == 31;
    Step(way[0]);
    if (Standing()) continue;
    if (toSecret && hearts > 0) {
      r.won = true;
      r.ticks = ticks();
      // The ending, its lines confirmed as they come, must lead into the staff roll.
      r.staffRoll = TickUntil(
          [&] {
            r.endingStarted = r.endingStarted || scriptDoneHandler == StartStaffRoll;
            if (MessageWaiting()) Press(platform::kKeyReturn);
            return sceneHandlers.tickHandler == StaffRollTick || OnTitle();
          },
          20000);
      r.staffRoll = r.staffRoll && !OnTitle();
      r.staffRollTicks = ticks();
      return r;
    }
    if (hearts <= 0) return lose("out of hearts");
    // Walked into somebody, who now shows: caught, unless let go.
    int32_t type = -1;
    for (int32_t k = 1; k < kActorCount; ++k)
      if (actors[k].present && actors[k].visible && Tile{actors[k].tileX, actors[k].tileY} == to)
        type = actors[k].type;
    ConfirmMessages();
    if (!Standing()) return lose("caught by type " + std::to_string(type));
  }
  return lose("too slow");
}

// The figures the quality report quotes; returns the number of games won.
int32_t Report(const char* bot, const std::vector<GameResult>& results) {
  int32_t wins = 0, endings = 0, rolls = 0;
  int64_t ticks = 0, least = INT64_MAX, most = 0, rollTicks = 0;
  std::map<std::string, int> losses;
  std::map<int32_t, std::vector<int32_t>> byRoom;
  std::vector<int32_t> all;
  for (const GameResult& r : results) {
    if (!r.won) ++losses[r.loss];
    wins += r.won, endings += r.endingStarted, rolls += r.staffRoll;
    if (r.won) ticks += r.ticks, least = std::min(least, r.ticks), most = std::max(most, r.ticks);
    if (r.staffRoll) rollTicks += r.staffRollTicks;
    for (auto [room, h] : r.flowers) byRoom[room].push_back(h), all.push_back(h);
  }
  std::printf("%s bot, seeds 1 to %zu:\nwon %d of %zu games; the ending began in %d\n", bot,
              results.size(), wins, results.size(), endings);
  if (wins)
    std::printf("ticks per won game: mean %lld, least %lld, most %lld\n", (long long)(ticks / wins),
                (long long)least, (long long)most);
  if (rolls)
    std::printf("the staff roll began in %d, on average %lld ticks after the title\n", rolls,
                (long long)(rollTicks / rolls));
  if (!all.empty()) byRoom[-1] = all;
  for (auto& [room, h] : byRoom) {
    std::sort(h.begin(), h.end());
    const long mean = std::accumulate(h.begin(), h.end(), 0L) / long(h.size());
    if (room < 0)
      std::printf("flowers sniffed: %zu; hearts left at a flower: least %d, median %d, mean %ld\n",
                  h.size(), h.front(), h[h.size() / 2], mean);
    else
      std::printf("  room %d: %zu sniffs, hearts least %d, mean %ld, most %d\n", room, h.size(),
                  h.front(), mean, h.back());
  }
  for (const auto& [why, n] : losses) std::printf("  lost %d: %s\n", n, why.c_str());
  return wins;
}

// Presses E on entering each room, as a player may, and walks around the people it sees.
struct SeeingBot : Strategy {
  std::vector<Tile> people;
  void Arrive() override {
    Press(platform::kKeyE);
    people.clear();
    for (int32_t k = 1; k < kActorCount; ++k)
      if (actors[k].present && actors[k].visible)
        people.push_back({actors[k].tileX, actors[k].tileY});
  }
  bool Avoid(Tile t) override { return std::find(people.begin(), people.end(), t) != people.end(); }
};

TEST(SeeingBot, WinsEveryGameAndTheEndingLeadsIntoTheStaffRoll) {
  std::vector<GameResult> results;
  for (uint32_t seed = 1; seed <= Seeds(); ++seed) {
    SeeingBot bot;
    results.push_back(PlayGame(seed, bot));
    const GameResult& r = results.back();
    EXPECT_TRUE(r.won && r.endingStarted && r.staffRoll) << "seed " << seed << ": " << r.loss;
  }
  Report("Seeing", results);
}

// The listening bot's ear: it renders the mix one tick at a time and tells when a proximity
// beep begins and, from its pitch, how far the nearest person is: the beep is a 1500 Hz
// tone recorded at 22050 frames a second and played at 36000 - 1800 n (2000 from 19 tiles).
class BeepEar {
 public:
  // The distance (1 to 19) told by a beep that began in the tick just run, or 0; -1 after
  // ticks nobody listened to (messages), whose sound it plays out unheard.
  int32_t HearTick() {
    constexpr int32_t kPerMs = headless::kAudioOutputRate / 1000;
    const uint32_t now = platform::GetTickCount(), ms = last_ ? now - last_ : 54;
    last_ = now;
    const std::vector<int16_t> stereo = headless::RenderAudio(size_t(ms) * kPerMs);
    left_.resize(ms * kPerMs);
    for (size_t i = 0; i < left_.size(); ++i) left_[i] = stereo[2 * i];
    int32_t heard = 0;
    // A sound already going at the start of the tick is a new beep only when its pitch has
    // changed (the slot was played again).
    if (Loud(0) || Loud(8)) {
      const double hz = PitchAt(0);
      if (hz > 0 && (soundingHz_ == 0 || std::fabs(hz - soundingHz_) > 0.03 * soundingHz_))
        heard = DistanceFor(soundingHz_ = hz);
    }
    for (int32_t i = 0; i < int32_t(left_.size()); ++i) {
      if (!Loud(i)) {
        if (++quietRun_ >= 240) soundingHz_ = 0;  // 5 ms of silence
        continue;
      }
      if (quietRun_ >= 240 && i > 8 && heard == 0 && PitchAt(i) > 0)
        heard = DistanceFor(soundingHz_ = PitchAt(i));
      quietRun_ = 0;
    }
    return ms > 54 ? -1 : heard;
  }

 private:
  bool Loud(int32_t i) const { return std::abs(left_[i]) >= 200; }
  // The pitch of the tone from frame `from`, by its rising zero crossings over at most
  // 50 ms; 0 when too few periods sound.
  double PitchAt(int32_t from) const {
    const int32_t end = std::min(int32_t(left_.size()), from + 2400);
    double first = -1, last = -1;
    int crossings = 0;
    for (int32_t i = from + 1; i < end; ++i) {
      if (left_[i - 1] >= 0 || left_[i] < 0) continue;
      (crossings++ == 0 ? first : last) = i - 1 + double(-left_[i - 1]) / (left_[i] - left_[i - 1]);
    }
    return crossings < 3 ? 0
                         : (crossings - 1) * double(headless::kAudioOutputRate) / (last - first);
  }
  static int32_t DistanceFor(double hz) {
    const double rate = hz * 22050 / 1500;
    return rate < 2800 ? 19 : std::clamp(int32_t(std::lround((36000 - rate) / 1800)), 1, 18);
  }

  std::vector<int16_t> left_;
  double soundingHz_ = 0;  // pitch of the beep sounding at the end of the last tick, 0: quiet
  int32_t quietRun_ = 1 << 20;
  uint32_t last_ = 0;
};

// The ear tells every distance from the mixed sound alone, as BeepTick plays it: one beep
// every distance + 1 ticks.
TEST(BeepEar, HearsTheDistanceOfTheNearestPersonFromThePitch) {
  test::StartAtTitle(1);
  for (int32_t distance = 1; distance <= 19; ++distance) {
    test::SetPeople({{3, std::min(distance, 15), std::max(0, distance - 15)}});
    test::PutKing(2, 0, 0);
    BeepEar ear;
    headless::RenderAudio(48000);  // whatever sounded before has ended
    beepCounter = 0;
    std::vector<int32_t> heard;
    for (int32_t tick = 0; tick < 2 * (distance + 1); ++tick) {
      headless::AdvanceClock(54);
      BeepTick();
      if (int32_t d = ear.HearTick()) heard.push_back(d);
    }
    EXPECT_EQ(heard, std::vector<int32_t>(2, distance));
  }
}

// Never presses E: it asks for the survey's count on entering a room and hears the beeps. A
// beep of distance d heard on tile o means nobody stands closer than d to o; it steps on
// tiles so ruled out, standing to listen before a step into the unknown. Where every way
// leads past a tile it cannot rule out, it goes out and back in (the room is placed
// afresh) or, low on hearts, takes the step least likely to hold somebody.
class ListeningBot : public Strategy {
 public:
  ListeningBot() {
    hear = [this] { Heard(); };
  }
  ~ListeningBot() override { hear = nullptr; }

  void Arrive() override {
    room_ = currentRoom;
    std::fill(&empty_[0][0], &empty_[0][0] + 256, false);
    seen_.clear();
    listenedAt_ = {-1, -1};
    gamble_ = false;
    people_ = 0;
    if ((people_ = Survey()) == 0) MarkAllEmpty();
    Listen();
  }
  bool Avoid(Tile t) override {
    if (empty_[t.y][t.x]) return false;
    if (Occupied(t)) return true;
    // A tile right next to where a beep said "one tile" may hold that person.
    for (const Observation& o : seen_)
      if (o.distance == 1 && Manhattan(o.at, t) == 1) return !gamble_;
    return false;
  }
  // Caution costs steps (22 won most among 18, 22, 26 and 30).
  int32_t HeartsPerRoom() override { return 22; }
  // Ground already ruled out is preferred: a tile not yet heard may force a way round.
  int32_t Cost(Tile t) override { return empty_[t.y][t.x] ? 2 : 3; }
  bool BeforeStep(Tile to) override {
    if (empty_[to.y][to.x]) return true;
    if (!(listenedAt_ == King())) {
      Listen();
      if (empty_[to.y][to.x]) return true;
    }
    const bool dare = gamble_;  // no safer way: take the chance
    gamble_ = false;
    return dare;
  }
  bool Loosen() override { return !gamble_ && (gamble_ = true); }

 private:
  static constexpr int32_t kSilence = 20, kSoundTail = 18;  // ticks a voice or the flower sounds
  struct Observation {
    Tile at;
    int32_t distance;
  };

  void Heard() {
    const int32_t d = ear_.HearTick();
    // Voices and the flower's tune are not beeps; a beep in the tick that changed rooms
    // belongs to the room just left.
    const bool playing = Standing() || sceneHandlers.tickHandler == StepTick;
    if (d < 0 || !playing) afterSound_ = 0;
    if (!playing || afterSound_++ < kSoundTail) return;
    if (currentRoom == room_ && d > 0) Learn(King(), d);
  }

  // Stands until a beep comes; no beep for that long means nobody within 19 tiles.
  void Listen() {
    listenedAt_ = King();
    const int32_t before = heard_;
    for (int32_t i = 0; i <= kSilence + kSoundTail && heard_ == before; ++i) Tick();
    if (heard_ == before) Learn(King(), kSilence);
  }

  void Learn(Tile at, int32_t distance) {
    ++heard_;
    for (const Observation& o : seen_)
      if (o.at == at && o.distance == distance) return;  // nothing new
    seen_.push_back({at, distance});
    for (int32_t i = 0; i < 256; ++i)
      if (Manhattan(at, {i % 16, i / 16}) < distance) empty_[i / 16][i % 16] = true;
    // Once as many people are placed as the survey counted, nobody else is anywhere.
    std::vector<Tile> found;
    for (int32_t i = 0; i < 256; ++i)
      if (Tile t{i % 16, i / 16}; !empty_[t.y][t.x] && Floor(t) && Occupied(t)) found.push_back(t);
    if (people_ > 0 && int32_t(found.size()) == people_) {
      MarkAllEmpty();
      for (const Tile& t : found) empty_[t.y][t.x] = false;
    }
  }

  // A beep's ring with a single floor tile not yet ruled out: somebody stands there.
  bool Occupied(Tile t) const {
    for (const Observation& o : seen_) {
      if (o.distance >= kSilence || Manhattan(o.at, t) != o.distance) continue;
      int open = 0;
      for (int32_t i = 0; i < 256 && open < 2; ++i) {
        const Tile u{i % 16, i / 16};
        open += Manhattan(o.at, u) == o.distance && Floor(u) && !empty_[u.y][u.x];
      }
      if (open == 1) return true;
    }
    return false;
  }
  void MarkAllEmpty() { std::fill(&empty_[0][0], &empty_[0][0] + 256, true); }

  BeepEar ear_;
  int32_t room_ = -1, people_ = 0, afterSound_ = 0, heard_ = 0;
  bool empty_[16][16] = {};
  std::vector<Observation> seen_;
  Tile listenedAt_{-1, -1};
  bool gamble_ = false;
};

// Its win rate measures how fair the castle is to a player who listens: 91 of seeds 1 to
// 100, 19 of 1 to 20, 3 of 1 to 3. Below 85% it plays worse than it did.
TEST(ListeningBot, WinsAtLeast85PercentByEar) {
  std::vector<GameResult> results;
  for (uint32_t seed = 1; seed <= Seeds(); ++seed) {
    ListeningBot bot;
    results.push_back(PlayGame(seed, bot));
  }
  EXPECT_GE(Report("Listening", results) * 100, 85 * int32_t(Seeds()));
}

}  // namespace
}  // namespace quillorn::bots
