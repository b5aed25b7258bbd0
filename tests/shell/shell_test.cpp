// The shell: start-up and the asset loader, the single-copy rule, the routing of keys,
// ticks, activation and menu commands to the scene handler slots, the random generator, and
// the order of the window's message queue.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "gameplay/castle_map.h"
#include "harness.h"
#include "scenes/title_screen.h"
#include "shell/load_assets.h"
#include "shell/main_window.h"
#include "shell/random.h"
#include "shell/scene_handlers.h"
#include "sound/sound_bank.h"

namespace quillorn {
namespace {

using namespace platform;
std::string out;

// Runs a line of actions: dN and uN key N down and up, t a tick, s 53 ms, S ten ticks' time
// at once, a0 and a1 activation, mN menu command N, cN the help dialog's answer to command N;
// h notes the held direction, w whether the window exists, g whether the dialog is open, x the
// exit code posted. The scene slots of the routing test note c (confirm), e (E), t (tick) and
// D/H (an arrow's direction and the held one).
std::string Act(const std::string& line) {
  out.clear();
  std::istringstream in(line);
  for (std::string op; in >> op;) {
    uint32_t n = op.size() > 1 ? uint32_t(std::stoul(op.substr(1))) : 0;
    int32_t code = -1;
    if (op[0] == 'd') headless::KeyDown(n);
    if (op[0] == 'u') headless::KeyUp(n);
    if (op[0] == 't') headless::Tick();
    if (op[0] == 's' || op[0] == 'S') headless::AdvanceClock(op[0] == 's' ? 53 : 540);
    if (op[0] == 'a') headless::SetActive(n);
    if (op[0] == 'm') headless::Command(n);
    if (op[0] == 'c') out += std::to_string(HelpDialogProc(kMsgCommand, n, 0));
    if (op[0] == 'h') out += std::to_string(heldDirection);
    if (op[0] == 'w') out += headless::WindowExists() ? "W" : "-";
    if (op[0] == 'g') out += headless::DialogOpen() ? "G" : "-";
    if (op[0] == 'x') out += headless::QuitPosted(&code) ? std::to_string(code) : "-";
    headless::Pump();
  }
  return out;
}

TEST(StartUp, OpensShowsAndTimesTheWindowAndLoadsOnceActiveThenShowsTheTitle) {
  headless::Reset(1);
  ASSERT_TRUE(StartUp());
  // Seeded from the tick count.
  EXPECT_EQ((std::vector<int32_t>{Random(), Random(), Random()}),
            (std::vector<int32_t>{41, 18467, 6334}));
  const WindowDesc& w = headless::Window();
  EXPECT_EQ(std::string(w.className) + w.title + w.menuName +
                std::to_string(w.clientWidth * 1000 + w.clientHeight),
            "QuillornQuillornmenu480512");
  EXPECT_EQ(heldDirection * 10 + appActive, 40);
  EXPECT_EQ(headless::Events(), (std::vector<std::string>{"create-window", "show-window",
                                                          "open-audio", "set-timer 1 54"}));
  EXPECT_TRUE(sceneHandlers.tickHandler == LoadAssets && !sceneHandlers.confirmKeyHandler &&
              !sceneHandlers.directionKeyHandler && !sceneHandlers.eKeyHandler);
  std::memset(DirectionDelta, 0, sizeof DirectionDelta);
  headless::Tick(3);  // nothing acts until the window is active
  EXPECT_EQ(sceneHandlers.tickHandler, LoadAssets);
  headless::SetActive(true);
  headless::Tick();
  Resource map;
  ASSERT_TRUE(FindResource("map", "Map", map));  // names match whatever their case
  EXPECT_EQ(std::memcmp(castleMap, map.data, kCastleMapSize), 0);
  std::vector<int32_t> deltas;
  for (const auto& d : DirectionDelta) deltas.insert(deltas.end(), {d.dx, d.dy});
  EXPECT_EQ(deltas, (std::vector<int32_t>{0, -1, 1, 0, 0, 1, -1, 0}));
  for (int32_t slot = 0; slot < 5; ++slot) EXPECT_GT(SoundSlotRate(slot), 0u) << slot;
  EXPECT_EQ(sceneHandlers.tickHandler, ShowTitleScreen);  // on the next tick
  headless::Tick();
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, TitleConfirmKey);
}

TEST(SingleCopy, ASecondCopyOnTheDisplayLeavesAtOnceAndTheLockDiesWithItsProcess) {
  std::string display = "single-copy-test-" + std::to_string(getpid());
  auto copy = [&](const std::string& name, int how) {  // in a child process: its exit status
    pid_t pid = fork();
    int status = 0;
    if (pid == 0) headless::Reset(0), headless::SetDisplayName(name);
    if (pid == 0 && how == 2 && StartUp()) abort();  // dies holding the lock
    if (pid == 0)
      _exit(how == 1 ? (StartUp() ? 7 : 1) : WinMain() == 0 && headless::Events().empty() ? 7 : 1);
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
  };
  EXPECT_EQ(copy(display, 2), 100);
  headless::Reset(0);
  headless::SetDisplayName(display);
  ASSERT_TRUE(StartUp());
  EXPECT_EQ(copy(display, 0), 7);
  EXPECT_TRUE(headless::WindowExists());
  EXPECT_EQ(copy(display + "-other", 1), 7);  // another display has a copy of its own
}

// Enter, Space and Z confirm; arrows write the held direction before their handler runs; E has
// its slot; A, X and F1 do nothing; a repeat calls again. Releasing another arrow, or a
// non-arrow, keeps the held one; an arrow released while inactive stays held; empty slots drop
// their events. Ticks come every 54 ms, one after a stall. While inactive keys and ticks are
// dropped, not even Esc acts, and menu commands still do; ids no menu names do nothing; keys go
// to the dialog, ticks to the game. Esc closes the dialog, else the window; the dialog answers
// OK and cancel only.
TEST(Routing, KeysTicksActivationAndMenuCommandsReachTheirSlots) {
  ASSERT_TRUE(test::StartGame());
  sceneHandlers = {[](int32_t d) { out += std::to_string(d * 10 + heldDirection); },
                   [] { out += "c"; }, [] { out += "e"; }, [] { out += "t"; }};
  EXPECT_EQ(Act("d13 d32 d90 d38 d39 d40 d37 d69 d65 d88 d112 d38 d38 h"), "ccc0112233e000");
  EXPECT_EQ(Act("d37 u38 u13 h u37 h d40 a0 u40 a1 h t t s S"), "3334222ttt");
  sceneHandlers.directionKeyHandler = nullptr;  // kept without a handler too
  EXPECT_EQ(Act("d38 h"), "0");
  EXPECT_EQ(Act("a0 d13 d38 d69 d27 t t h w m40007 m40008 m40000 m40010 m0 m2 m105539 w m40002 g"),
            "0WWG");
  EXPECT_EQ(headless::DialogName(), "dlg_help");
  EXPECT_EQ(Act("a1 t d38 d13 g d13 m40002 d27 g w m40002 c3 g c196610 g m40002 c1 g"),
            "t-c-W0G1-1-");
  ClearSceneHandlers();
  EXPECT_EQ(Act("d13 d69 d39 t t h a0 m40006"), "1");
  EXPECT_TRUE(sceneHandlers.confirmKeyHandler == TitleConfirmKey && !sceneHandlers.tickHandler);
  EXPECT_EQ(Act("m40003 w x"), "-0");
}

}  // namespace
}  // namespace quillorn
