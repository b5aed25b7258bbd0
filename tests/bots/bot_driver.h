// What both bots share: they play the real game on the headless backend through key input
// alone, from the title screen, and look only at what a player could: the king, the room's
// picture (walls, floor, flowers, doorways), the hearts bar, whether a message waits for
// the confirm key, and its text. How they learn where people stand is each bot's own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillorn::bots {

struct Tile {
  int32_t x = 0, y = 0;
  bool operator==(const Tile& o) const { return x == o.x && y == o.y; }
};

int32_t Manhattan(Tile a, Tile b);

// The result of one game.
struct GameResult {
  bool won = false;            // the king passed the doorway into the secret room
  bool endingStarted = false;  // the ending's script ran after the doorway
  bool staffRoll = false;      // and led into the staff roll
  bool endingIsTitle = false;  // the doorway showed the title at once (no ending built yet)
  std::string loss;            // why not: "caught by type N", "out of hearts", "stuck", ...
  int32_t lossRoom = -1;
  uint64_t ticks = 0;                    // from the title to the doorway (or the loss)
  uint64_t staffRollTicks = 0;           // from the title to the staff roll
  std::vector<int32_t> heartsAtFlowers;  // hearts left each time a flower was sniffed
  std::vector<int32_t> flowerRooms;      // and the room of that flower
  std::vector<int32_t> rooms;            // rooms entered, in order
};

// The game as a player sees it, and the keys a player presses.
class Player {
 public:
  // Called after every tick, with the room and king tile before and after it (a bot that
  // listens renders that tick's sound here).
  using TickListener = std::function<void()>;

  // Starts the program with the random generator seeded from `seed` and waits for the title.
  explicit Player(uint32_t seed);
  void SetTickListener(TickListener l) { listener_ = std::move(l); }

  void Tick();
  void Press(uint32_t key);

  // What the screen shows.
  bool Standing() const;        // play waits for an arrow (the king stands)
  bool Walking() const;         // the king is in the middle of a step
  bool MessageWaiting() const;  // a typed-out message waits for the confirm key
  bool OnTitle() const;
  bool InPlay() const;  // standing, walking or refilling
  int32_t Room() const;
  Tile King() const;
  int32_t Hearts() const;
  std::string MessageText() const;  // the text of the open message box, Shift-JIS
  // The people drawn on the screen (only those shown: revealed or walked into).
  std::vector<Tile> VisiblePeople() const;
  // The room's picture.
  bool Floor(Tile t) const;   // the king may step there
  bool Flower(Tile t) const;  // a flower he may sniff from the next tile
  // The doorway tiles of the room, with the room each one leads to.
  struct Doorway {
    Tile tile;
    int32_t to = -1;
  };
  std::vector<Doorway> Doorways() const;

  // Keys. Each returns once the game waits again (or has left play).
  void StartNewGameFromTitle();  // Enter on GAME
  void Step(int32_t direction);  // one step (or a turn against a wall)
  void WaitTicks(int32_t n);     // stands still
  void ConfirmMessages();        // Enter on every message until none waits
  void Reveal();                 // E
  int32_t Survey();              // Enter while standing: how many people he says

  uint64_t ticks() const { return ticks_; }

 private:
  TickListener listener_;
  uint64_t ticks_ = 0;
};

// The shortest way from room `from` to the secret room through the castle's doorways, as a
// player who knows the castle walks it: the rooms in order, `from` first.
std::vector<int32_t> RoomRoute(int32_t from);

// The cheapest way over the room's floor from `from` to any tile for which goal() holds,
// never through a tile for which blocked() holds, each step costing cost() of the tile it
// enters (1 without it); the steps' directions, empty when `from` is a goal, and false when
// there is no way.
bool FindWay(const Player& p, Tile from, const std::function<bool(Tile)>& goal,
             const std::function<bool(Tile)>& blocked, std::vector<int32_t>& directions,
             const std::function<int32_t(Tile)>& cost = nullptr);

Tile Neighbour(Tile t, int32_t direction);

// How a bot learns where people stand, and when it dares a step.
class Strategy {
 public:
  virtual ~Strategy() = default;
  // The king stands in a room he has just entered (or at the start of the game).
  virtual void Arrive(Player& p) = 0;
  // Tiles the bot will not step onto now.
  virtual bool Avoid(const Player& p, Tile t) = 0;
  // Hearts the bot expects to spend crossing a room, with a margin: it plans its detours
  // for flowers by it.
  virtual int32_t HeartsPerRoom() { return 18; }
  // What entering a tile is worth avoiding, in steps (at least 1).
  virtual int32_t Cost(const Player&, Tile) { return 1; }
  // Before a step onto `to` (the king stands); the bot may stand and listen first. False
  // when it now judges the step unsafe: the way is then planned again.
  virtual bool BeforeStep(Player&, Tile) { return true; }
  // No way to the doorway avoids the tiles it avoids: true when it will now dare more.
  virtual bool Loosen() { return false; }
};

// Plays one game from the title: towards the secret room by the shortest route of rooms,
// sniffing the flowers on the way when hearts run low, until it wins or loses.
GameResult PlayGame(Player& p, Strategy& s);

// Summary lines for a report.
std::string Describe(const std::vector<GameResult>& results);

}  // namespace quillorn::bots
