// The shell: start-up and the asset loader, shutdown, the single-copy rule, the routing of keys,
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
// exit code posted. Installed by Slots, the scene slots note c (confirm), e (E), t (tick) and
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

void Slots() {
  sceneHandlers = {[](int32_t d) { out += std::to_string(d * 10 + heldDirection); },
                   [] { out += "c"; }, [] { out += "e"; }, [] { out += "t"; }};
}

std::vector<uint8_t> MapOfSize(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(i * 7 + 3);
  return bytes;
}

TEST(StartUp, OpensShowsAndTimesTheWindowAndLoadsOnceActiveThenShowsTheTitle) {
  std::vector<uint8_t> map = MapOfSize(kCastleMapSize + 100);  // longer: only the castle is read
  headless::Reset(1);
  headless::OverrideResource("map", "Map", map);  // names match whatever their case
  ASSERT_TRUE(StartUp());
  // Seeded from the tick count.
  EXPECT_EQ((std::vector<int32_t>{Random(), Random(), Random()}),
            (std::vector<int32_t>{41, 18467, 6334}));
  SeedRandom(0);
  EXPECT_EQ(Random(), 38);
  const WindowDesc& w = headless::Window();
  EXPECT_EQ(std::string(w.className) + w.title + w.menuName + std::to_string(w.clientWidth) +
                std::to_string(w.clientHeight) + std::to_string(heldDirection) +
                std::to_string(appActive),
            "QuillornQuillornmenu48051240");
  EXPECT_EQ(headless::Events(), (std::vector<std::string>{"create-window", "show-window",
                                                          "open-audio", "set-timer 1 54"}));
  EXPECT_TRUE(sceneHandlers.tickHandler == LoadAssets && !sceneHandlers.confirmKeyHandler &&
              !sceneHandlers.directionKeyHandler && !sceneHandlers.eKeyHandler);
  std::memset(DirectionDelta, 0, sizeof DirectionDelta);
  headless::Tick(3);  // nothing acts until the window is active
  EXPECT_EQ(sceneHandlers.tickHandler, LoadAssets);
  headless::SetActive(true);
  headless::Tick();
  EXPECT_EQ(std::memcmp(castleMap, map.data(), kCastleMapSize), 0);
  std::vector<int32_t> deltas;
  for (const auto& d : DirectionDelta) deltas.insert(deltas.end(), {d.dx, d.dy});
  EXPECT_EQ(deltas, (std::vector<int32_t>{0, -1, 1, 0, 0, 1, -1, 0}));
  for (int32_t slot = 0; slot < 5; ++slot) EXPECT_GT(SoundSlotRate(slot), 0u) << slot;
  EXPECT_EQ(sceneHandlers.tickHandler, ShowTitleScreen);  // on the next tick
  headless::Tick();
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, TitleConfirmKey);
}

TEST(Shutdown, ClosingFreesSoundStopsTheTimerAndQuitsAndWinMainReturnsZero) {
  headless::Reset(0);
  static int calls;
  calls = 0;
  headless::SetIdleHook([] {  // the player makes it active and presses Esc
    if (calls == 0) headless::SetActive(true);
    if (calls == 1) headless::KeyDown(27);
    return calls++ < 2;
  });
  EXPECT_EQ(WinMain(), 0);
  const std::vector<std::string>& ev = headless::Events();
  EXPECT_EQ(std::vector<std::string>(ev.end() - 4, ev.end()),
            (std::vector<std::string>{"destroy-window", "close-audio", "kill-timer 1", "quit 0"}));
  EXPECT_FALSE(headless::TimerRunning(1));
  ASSERT_TRUE(test::StartGame());  // another game runs after it
  EXPECT_EQ(Act("t t m40003 w x"), "-0");
}

// Runs fn in a child process and returns its exit status.
template <typename Fn>
int InChild(Fn fn) {
  pid_t pid = fork();
  if (pid == 0) _exit(fn());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

TEST(SingleCopy, ASecondCopyOnTheDisplayLeavesAtOnceAndTheLockDiesWithItsProcess) {
  std::string display = "single-copy-test-" + std::to_string(getpid());
  auto copy = [&](const std::string& name, int how) {
    return InChild([&] {
      headless::Reset(0);
      headless::SetDisplayName(name);
      if (how == 2 && StartUp()) abort();  // dies holding the lock
      if (how == 1) return StartUp() ? 7 : 1;
      return WinMain() == 0 && headless::Events().empty() ? 7 : 1;  // no window ever made
    });
  };
  EXPECT_EQ(copy(display, 2), 100);
  headless::Reset(0);
  headless::SetDisplayName(display);
  ASSERT_TRUE(StartUp());
  EXPECT_EQ(copy(display, 0), 7);
  EXPECT_TRUE(headless::WindowExists());
  EXPECT_EQ(copy(display + "-other", 1), 7);  // another display has a copy of its own
}

class Routing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::StartGame());
    Slots();
  }
};

TEST_F(Routing, KeysReachTheirSlotsWithTheHeldArrowWrittenFirstAndKeptApart) {
  // Enter, Space and Z confirm; arrows write the held direction; E has its slot; A, X and F1
  // do nothing; a repeat calls again. Releasing another arrow, or a non-arrow, keeps the held
  // one; an arrow released while inactive stays held.
  EXPECT_EQ(Act("d13 d32 d90 d38 d39 d40 d37 d69 d65 d88 d112 d38 d38 h"), "ccc0112233e000");
  EXPECT_EQ(Act("d37 u38 u13 h u37 h d40 a0 u40 a1 h"), "3334222");
  sceneHandlers.directionKeyHandler = nullptr;  // kept without a handler too
  EXPECT_EQ(Act("d38 h"), "0");
  ClearSceneHandlers();  // empty slots drop their events
  EXPECT_EQ(Act("d13 d69 d39 t t h"), "1");
}

TEST_F(Routing, TicksComeEvery54MsOneAfterAStallAndAHandlerInstalledActsFromTheNext) {
  EXPECT_EQ(Act("t t s S"), "ttt");
  sceneHandlers.tickHandler = [] {
    out += "1";
    sceneHandlers.tickHandler = [] { out += "2"; };
  };
  EXPECT_EQ(Act("t t"), "12");
}

TEST_F(Routing, WhileInactiveKeysAndTicksAreDroppedAndMenuCommandsStillAct) {
  // Not even Esc; ids that no menu names do nothing; keys go to the dialog, ticks to the game.
  EXPECT_EQ(Act("a0 d13 d38 d69 d27 t t h w m40007 m40008 m40000 m40010 m0 m2 m105539 w g"),
            "4WW-");
  EXPECT_EQ(Act("m40002 g"), "G");
  EXPECT_EQ(headless::DialogName(), "dlg_help");
  EXPECT_EQ(Act("a1 t d38 d13 g d13"), "t-c");
  EXPECT_EQ(Act("a0 m40006"), "");
  EXPECT_TRUE(sceneHandlers.confirmKeyHandler == TitleConfirmKey && !sceneHandlers.tickHandler);
  EXPECT_EQ(Act("m40003 w x"), "-0");
}

TEST_F(Routing, EscapeClosesTheDialogOrElseTheWindowAndTheDialogAnswersOkAndCancelOnly) {
  EXPECT_EQ(Act("m40002 d27 g w m40002 c3 g c196610 g m40002 c1 g d27 w x"), "-W0G1-1--0");
}

}  // namespace
}  // namespace quillorn
