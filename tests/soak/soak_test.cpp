// Soak: seeded random input across every scene for many ticks of the whole game on the
// headless backend: arrows held and released (with key repeat), confirm keys, E, Esc, the
// menu bar, menu commands, the help dialog and focus changes; when the program ends it is
// started again. After every tick the game's state must be in range and every handler slot
// must hold a handler the game knows. The environment sets the ticks and the seed:
//   QUILLORN_SOAK_TICKS (default 20000), QUILLORN_SOAK_SEED (default 1).
// The sanitizer build runs the full million:
//   QUILLORN_SOAK_TICKS=1000000 build-asan/tests/test_soak
#include <gtest/gtest.h>

#include <random>

#include "game_driver.h"
#include "gameplay/castle_map.h"
#include "gameplay/encounter.h"
#include "gameplay/play.h"
#include "gameplay/survey.h"
#include "scenes/ending.h"
#include "scenes/staff_roll.h"
#include "scenes/story.h"
#include "scenes/title_screen.h"
#include "script/message_box.h"
#include "script/script.h"
#include "script/staging.h"
#include "shell/load_assets.h"
#include "shell/main_window.h"

namespace quillorn::test {
namespace {

template <typename F>
bool OneOf(F f, std::initializer_list<F> known) {
  return std::find(known.begin(), known.end(), f) != known.end();
}
constexpr auto In = [](int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; };

// What is wrong with the game's state now, or "" when nothing is.
std::string Violation() {
  if (!In(hearts, 0, kMaxHearts) || !In(scriptIndex, 0, kScriptLength - 1) ||
      !In(currentRoom, 0, kRoomCount - 1) || !In(heldDirection, 0, 4))
    return "hearts, scriptIndex, currentRoom or heldDirection";
  for (const Actor& a : actors) {
    // Scripted walks move only the picture; the staff roll's walkers start up to 824 and
    // turn below -224.
    if (!In(a.present, 0, 1) || !In(a.visible, 0, 1) || !In(a.type, 0, 8) || !In(a.tileX, 0, 15) ||
        !In(a.tileY, 0, 15) || !In(a.pixelX, -228, 824) || !In(a.pixelY, -160, 672) ||
        !In(a.direction, 0, 3) || !In(a.stepProgress, 0, 32) || !In(a.animFrame, 0, 1))
      return "actor " + std::to_string(&a - actors);
  }
  // In play the king stands on floor, drawn within one step of his tile.
  const SceneHandlers& h = sceneHandlers;
  const Actor& k = actors[kKing];
  if (OneOf<Handler>(h.tickHandler, {PlayTick, StepTick, RefillTick}) &&
      (TileId(currentRoom, k.tileX, k.tileY) >= kFirstBlockingTile ||
       std::abs(k.pixelX - 32 * k.tileX) + std::abs(k.pixelY - 32 * k.tileY) > 32))
    return "king off the floor or drawn away from his tile";
  if (!OneOf<Handler>(h.tickHandler,
                      {nullptr, LoadAssets, ShowTitleScreen, BuildStoryScript, BuildEndingScript,
                       PlayTick, StepTick, RefillTick, AnimateTick, BlinkTick, WalkTick, WaitTick,
                       FaceKingTick, TurnTick, SayTick, NarrateTick, StaffRollTick}) ||
      !OneOf<DirectionKeyHandler>(h.directionKeyHandler, {nullptr, TitleDirectionKey}) ||
      !OneOf<Handler>(h.confirmKeyHandler,
                      {nullptr, TitleConfirmKey, SurveyRoom, ConfirmMessage, ShowTitleScreen}) ||
      !OneOf<Handler>(h.eKeyHandler, {nullptr, RevealAll}) ||
      !OneOf<Handler>(scriptDoneHandler, {nullptr, FlowerMessageDone, ResumePlay, GameOver, Forgive,
                                          ShowTitleScreen, quillorn::StartGame, StartStaffRoll}))
    return "a handler slot holds a handler the game does not name";
  return "";
}

uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

// A player who presses keys at random: holds arrows for a while (their key-down repeats as
// a held key does), confirms, reveals, opens the menu bar and the help dialog, picks menu
// commands (the ones no menu names and one outside the range among them), leaves the window
// and comes back, and now and then closes the program.
TEST(Soak, RandomInputAcrossEverySceneKeepsTheStateInRange) {
  static constexpr uint32_t kConfirms[] = {platform::kKeyReturn, platform::kKeySpace,
                                           platform::kKeyZ};
  const uint64_t ticks = EnvNumber("QUILLORN_SOAK_TICKS", 20000);
  const uint64_t seed = EnvNumber("QUILLORN_SOAK_SEED", 1);
  std::mt19937_64 rng(seed);
  const auto roll = [&](uint32_t n) { return uint32_t(rng() % n); };
  uint32_t held = 0;
  int holdTicks = 0, inactiveTicks = 0, starts = 1;
  ASSERT_TRUE(StartGame(uint32_t(rng())));
  for (uint64_t t = 0; t < ticks; ++t) {
    if (inactiveTicks > 0 && --inactiveTicks == 0) headless::SetActive(true);
    if (held && holdTicks-- <= 0) headless::KeyUp(std::exchange(held, 0));
    const uint32_t r = roll(10000);
    if (r < 900) {  // an arrow held for up to 3 s
      holdTicks = int(roll(roll(4) == 0 ? 60 : 12));
      headless::KeyDown(held = platform::kKeyLeft + roll(4));  // Left, Up, Right, Down
    } else if (r < 1400) {
      Press(kConfirms[roll(3)]);
    } else if (r < 1550) {
      Press(platform::kKeyE);
    } else if (r < 1580) {
      Press(roll(2) ? platform::kKeyF10 : platform::kKeyAlt);  // the menu bar
    } else if (r < 1640) {
      const uint32_t n = roll(11), id = n < 10 ? 40001 + n : 0;
      headless::Command(id == kCmdQuit && roll(4) != 0 ? kCmdTitle : id);  // quitting less often
    } else if (r < 1655 && inactiveTicks == 0) {
      headless::SetActive(false);  // another window, for up to 2 s
      inactiveTicks = 1 + int(roll(40));
    } else if (r < 1659) {
      Press(platform::kKeyEscape);  // closes a menu, the dialog, or the program
    } else if (r < 1662 && held) {
      headless::KeyDown(held);  // key repeat
    }
    headless::Tick();
    int32_t code = -1;
    if (headless::QuitPosted(&code)) {
      EXPECT_EQ(code, 0);
      ASSERT_TRUE(StartGame(uint32_t(rng())));
      held = inactiveTicks = 0, ++starts;
    }
    ASSERT_EQ(Violation(), "") << "after tick " << t << " of seed " << seed;
  }
  std::printf("%s ticks, seed %s, %d program starts\n", std::to_string(ticks).c_str(),
              std::to_string(seed).c_str(), starts);
}

}  // namespace
}  // namespace quillorn::test
