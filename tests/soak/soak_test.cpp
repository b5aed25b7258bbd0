// Soak: seeded random input across every scene for many ticks of the whole game on the
// headless backend: arrows held and released (with key repeat), confirm keys, E, Esc, the
// menu bar, menu commands, the help dialog and focus changes. After every tick the game's
// state must be in range and every handler slot must hold a handler the game knows.
// The number of ticks and the seed come from the environment:
//   QUILLORN_SOAK_TICKS (default 100000), QUILLORN_SOAK_SEED (default 1).
// Run under the sanitizer build for the full million:
//   QUILLORN_SOAK_TICKS=1000000 build-asan/tests/test_soak
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <random>
#include <string>

#include "gameplay/actors.h"
#include "gameplay/castle_map.h"
#include "gameplay/encounter.h"
#include "gameplay/play.h"
#include "gameplay/survey.h"
#include "harness.h"
#include "platform/chrome/menu_bar.h"
#include "platform/headless/headless.h"
#include "scenes/ending.h"
#include "scenes/staff_roll.h"
#include "scenes/story.h"
#include "scenes/title_screen.h"
#include "script/message_box.h"
#include "script/script.h"
#include "script/staging.h"
#include "shell/load_assets.h"
#include "shell/main_window.h"
#include "shell/scene_handlers.h"

namespace quillorn::test {
namespace {

uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

template <typename F>
bool OneOf(F f, std::initializer_list<F> known) {
  for (F k : known)
    if (f == k) return true;
  return false;
}

bool InRange(int32_t v, int32_t lo, int32_t hi) {
  return v >= lo && v <= hi;
}

// What is wrong with the game's state now, or "" when nothing is.
std::string Violation() {
  if (!InRange(hearts, 0, kMaxHearts)) return "hearts " + std::to_string(hearts);
  if (!InRange(scriptIndex, 0, kScriptLength - 1))
    return "scriptIndex " + std::to_string(scriptIndex);
  if (!InRange(currentRoom, 0, kRoomCount - 1)) return "currentRoom " + std::to_string(currentRoom);
  if (!InRange(heldDirection, 0, 4)) return "heldDirection " + std::to_string(heldDirection);
  for (int32_t i = 0; i < kActorCount; ++i) {
    const Actor& a = actors[i];
    const std::string who = "actor " + std::to_string(i) + " ";
    if (!InRange(a.present, 0, 1)) return who + "present " + std::to_string(a.present);
    if (!InRange(a.visible, 0, 1)) return who + "visible " + std::to_string(a.visible);
    if (!InRange(a.type, 0, 8)) return who + "type " + std::to_string(a.type);
    if (!InRange(a.tileX, 0, 15) || !InRange(a.tileY, 0, 15))
      return who + "tile " + std::to_string(a.tileX) + "," + std::to_string(a.tileY);
    // Scripted walks move only the picture; the staff roll's walkers start up to 824 and
    // turn below -224.
    if (!InRange(a.pixelX, -228, 824) || !InRange(a.pixelY, -160, 672))
      return who + "pixel " + std::to_string(a.pixelX) + "," + std::to_string(a.pixelY);
    if (!InRange(a.direction, 0, 3)) return who + "direction " + std::to_string(a.direction);
    if (!InRange(a.stepProgress, 0, 32))
      return who + "stepProgress " + std::to_string(a.stepProgress);
    if (!InRange(a.animFrame, 0, 1)) return who + "animFrame " + std::to_string(a.animFrame);
  }
  // In play the king stands on floor, drawn within one step of his tile.
  const SceneHandlers& h = sceneHandlers;
  if (OneOf<Handler>(h.tickHandler, {PlayTick, StepTick, RefillTick})) {
    const Actor& k = actors[kKing];
    if (TileId(currentRoom, k.tileX, k.tileY) >= kFirstBlockingTile)
      return "king on a blocking tile";
    if (std::abs(k.pixelX - 32 * k.tileX) + std::abs(k.pixelY - 32 * k.tileY) > 32)
      return "king drawn away from his tile";
  }
  if (!OneOf<Handler>(h.tickHandler,
                      {nullptr, LoadAssets, ShowTitleScreen, BuildStoryScript, BuildEndingScript,
                       PlayTick, StepTick, RefillTick, AnimateTick, BlinkTick, WalkTick, WaitTick,
                       FaceKingTick, TurnTick, SayTick, NarrateTick, StaffRollTick}))
    return "unknown tick handler";
  if (!OneOf<DirectionKeyHandler>(h.directionKeyHandler, {nullptr, TitleDirectionKey}))
    return "unknown direction key handler";
  if (!OneOf<Handler>(h.confirmKeyHandler,
                      {nullptr, TitleConfirmKey, SurveyRoom, ConfirmMessage, ShowTitleScreen}))
    return "unknown confirm key handler";
  if (!OneOf<Handler>(h.eKeyHandler, {nullptr, RevealAll})) return "unknown E key handler";
  if (!OneOf<Handler>(scriptDoneHandler, {nullptr, FlowerMessageDone, ResumePlay, GameOver, Forgive,
                                          ShowTitleScreen, quillorn::StartGame, StartStaffRoll}))
    return "unknown script continuation";
  return "";
}

// Which scene the handlers say is running, for the tally.
const char* Scene() {
  const SceneHandlers& h = sceneHandlers;
  if (headless::DialogOpen()) return "help dialog";
  if (platform::MenuBarOpen()) return "menu";
  if (h.confirmKeyHandler == TitleConfirmKey) return "title";
  if (h.confirmKeyHandler == ShowTitleScreen && !h.tickHandler) return "instructions";
  if (h.tickHandler == PlayTick) return "standing";
  if (h.tickHandler == StepTick) return "walking";
  if (h.tickHandler == RefillTick) return "refilling";
  if (h.tickHandler == StaffRollTick) return "staff roll";
  if (scriptDoneHandler == quillorn::StartGame) return "story";
  if (scriptDoneHandler == StartStaffRoll) return "ending";
  if (scriptDoneHandler == ShowTitleScreen) return "game over";
  if (OneOf<Handler>(scriptDoneHandler, {GameOver, Forgive})) return "encounter";
  if (scriptDoneHandler == FlowerMessageDone) return "flower";
  if (h.confirmKeyHandler || h.tickHandler) return "survey or forgiven";
  return "no handler";
}

// A player who presses keys at random: holds arrows for a while (their key-down repeats as
// a held key does), confirms, reveals, opens the menu bar and the help dialog, picks menu
// commands, leaves the window and comes back, and now and then closes the program, which
// is started again.
class RandomPlayer {
 public:
  explicit RandomPlayer(uint64_t seed) : rng_(seed) {}

  void Start() {
    ASSERT_TRUE(test::StartGame(uint32_t(rng_())));
    held_ = 0;
    inactiveTicks_ = 0;
    ++starts_;
  }

  // Input for one tick, then the tick.
  void Step() {
    if (inactiveTicks_ > 0 && --inactiveTicks_ == 0) headless::SetActive(true);
    if (held_ && holdTicks_-- <= 0) {
      headless::KeyUp(held_);
      held_ = 0;
    }
    const uint32_t r = Roll(10000);
    if (r < 900) {  // an arrow pressed, held for up to 3 s
      static constexpr uint32_t kArrows[] = {platform::kKeyUp, platform::kKeyRight,
                                             platform::kKeyDown, platform::kKeyLeft};
      held_ = kArrows[Roll(4)];
      holdTicks_ = int(Roll(Roll(4) == 0 ? 60 : 12));
      headless::KeyDown(held_);
    } else if (r < 1400) {
      static constexpr uint32_t kConfirms[] = {platform::kKeyReturn, platform::kKeySpace,
                                               platform::kKeyZ};
      Press(kConfirms[Roll(3)]);
    } else if (r < 1550) {
      Press(platform::kKeyE);
    } else if (r < 1580) {
      Press(Roll(2) ? platform::kKeyF10 : platform::kKeyAlt);  // the menu bar
    } else if (r < 1640) {
      // Menu commands, the ones no menu names and one outside the range among them.
      static constexpr uint32_t kIds[] = {40001, 40002, 40003, 40004, 40005, 40006,
                                          40007, 40008, 40009, 40010, 0};
      uint32_t id = kIds[Roll(11)];
      if (id == kCmdQuit && Roll(4) != 0) id = kCmdTitle;  // quitting less often
      headless::Command(id);
    } else if (r < 1655 && inactiveTicks_ == 0) {
      headless::SetActive(false);  // another window, for up to 2 s
      inactiveTicks_ = 1 + int(Roll(40));
    } else if (r < 1659) {
      Press(platform::kKeyEscape);  // closes a menu, the dialog, or the program
    } else if (r < 1662 && held_) {
      headless::KeyDown(held_);  // key repeat
    }
    headless::Tick();
    int32_t code = -1;
    if (headless::QuitPosted(&code)) {
      EXPECT_EQ(code, 0);
      Start();
    }
  }

  int starts() const { return starts_; }

 private:
  uint32_t Roll(uint32_t n) { return uint32_t(rng_() % n); }
  void Press(uint32_t key) {
    headless::KeyDown(key);
    headless::KeyUp(key);
  }

  std::mt19937_64 rng_;
  uint32_t held_ = 0;
  int holdTicks_ = 0;
  int inactiveTicks_ = 0;
  int starts_ = 0;
};

TEST(Soak, RandomInputAcrossEverySceneKeepsTheStateInRange) {
  const uint64_t ticks = EnvNumber("QUILLORN_SOAK_TICKS", 100000);
  const uint64_t seed = EnvNumber("QUILLORN_SOAK_SEED", 1);
  RandomPlayer player(seed);
  player.Start();
  std::map<std::string, uint64_t> tally;
  for (uint64_t t = 0; t < ticks; ++t) {
    player.Step();
    const std::string wrong = Violation();
    ASSERT_EQ(wrong, "") << "after tick " << t << " of seed " << seed << " in " << Scene();
    ++tally[Scene()];
  }
  std::string summary;
  for (const auto& [scene, n] : tally) summary += "  " + scene + ": " + std::to_string(n) + "\n";
  std::printf("%llu ticks, seed %llu, %d program starts; ticks per scene:\n%s",
              static_cast<unsigned long long>(ticks), static_cast<unsigned long long>(seed),
              player.starts(), summary.c_str());
  // Random keys reach every part of the game that keys and menu commands lead to.
  if (ticks >= 100000) {
    for (const char* scene :
         {"title", "instructions", "standing", "walking", "survey or forgiven", "encounter",
          "game over", "help dialog", "menu", "story", "ending", "staff roll"})
      EXPECT_GT(tally[scene], 0u) << scene;
  }
}

}  // namespace
}  // namespace quillorn::test
