// Start-up, the asset loader, shutdown and the single-copy rule.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "gameplay/castle_map.h"
#include "harness.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "scenes/title_screen.h"
#include "shell/load_assets.h"
#include "shell/main_window.h"
#include "shell/random.h"
#include "shell/scene_handlers.h"
#include "shell/win_main.h"

namespace quillorn {
namespace {

std::vector<uint8_t> MapOfSize(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(i * 7 + 3);
  return bytes;
}

TEST(StartUp, OpensTheWindowShowsItAndStartsTheTimerInOrder) {
  headless::Reset(5000);
  ASSERT_TRUE(StartUp());
  const platform::WindowDesc& w = headless::Window();
  EXPECT_STREQ(w.className, "Quillorn");
  EXPECT_STREQ(w.title, "Quillorn");
  EXPECT_EQ(w.clientWidth, 480);
  EXPECT_EQ(w.clientHeight, 512);
  EXPECT_STREQ(w.menuName, "menu");
  EXPECT_TRUE(headless::WindowShown());
  EXPECT_EQ(headless::TimerInterval(1), 54u);
  EXPECT_EQ(headless::Events(), (std::vector<std::string>{"create-window", "show-window",
                                                          "open-audio", "set-timer 1 54"}));
  EXPECT_EQ(sceneHandlers.tickHandler, LoadAssets);
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, nullptr);
  EXPECT_EQ(sceneHandlers.directionKeyHandler, nullptr);
  EXPECT_EQ(sceneHandlers.eKeyHandler, nullptr);
  EXPECT_EQ(heldDirection, 4);
  EXPECT_EQ(appActive, 0);
}

TEST(StartUp, SeedsTheGeneratorFromTheTickCount) {
  headless::Reset(1);
  ASSERT_TRUE(StartUp());
  EXPECT_EQ(Random(), 41);
  headless::Reset(0);
  ASSERT_TRUE(StartUp());
  EXPECT_EQ(Random(), 38);
}

TEST(StartUp, NothingActsUntilTheWindowIsActive) {
  headless::Reset(0);
  headless::OverrideResource("MAP", "MAP", MapOfSize(kCastleMapSize));
  ASSERT_TRUE(StartUp());
  headless::Tick(3);
  EXPECT_EQ(sceneHandlers.tickHandler, LoadAssets);
  headless::SetActive(true);
  headless::Tick(1);
  EXPECT_EQ(sceneHandlers.tickHandler, ShowTitleScreen);
}

TEST(LoadAssets, CopiesTheMapFillsTheDirectionsAndShowsTheTitleOnTheNextTick) {
  std::vector<uint8_t> map = MapOfSize(kCastleMapSize + 100);  // longer: only the castle is read
  headless::Reset(0);
  headless::OverrideResource("MAP", "MAP", map);
  ASSERT_TRUE(StartUp());
  headless::SetActive(true);
  std::memset(DirectionDelta, 0, sizeof DirectionDelta);
  headless::Tick(1);
  EXPECT_EQ(std::memcmp(castleMap, map.data(), kCastleMapSize), 0);
  EXPECT_EQ(DirectionDelta[0].dx, 0);
  EXPECT_EQ(DirectionDelta[0].dy, -1);
  EXPECT_EQ(DirectionDelta[1].dx, 1);
  EXPECT_EQ(DirectionDelta[1].dy, 0);
  EXPECT_EQ(DirectionDelta[2].dx, 0);
  EXPECT_EQ(DirectionDelta[2].dy, 1);
  EXPECT_EQ(DirectionDelta[3].dx, -1);
  EXPECT_EQ(DirectionDelta[3].dy, 0);
  EXPECT_EQ(sceneHandlers.tickHandler, ShowTitleScreen);
  headless::Tick(1);
  EXPECT_EQ(sceneHandlers.tickHandler, nullptr);  // the title screen has taken over
}

TEST(LoadAssets, MapNamesMatchWithoutRegardToCase) {
  headless::Reset(0);
  headless::OverrideResource("map", "Map", MapOfSize(kCastleMapSize));
  platform::Resource r;
  ASSERT_TRUE(platform::FindResource("MAP", "mAP", r));
  EXPECT_EQ(r.size, kCastleMapSize);
}

class MissingMap : public ::testing::TestWithParam<int> {};

// -1: no resource at all; otherwise a resource that many bytes long.
TEST_P(MissingMap, LeavesEverySlotEmptyAndOnlyTheMenuActs) {
  headless::Reset(0);
  if (GetParam() < 0)
    headless::HideResource("MAP", "MAP");
  else
    headless::OverrideResource("MAP", "MAP", MapOfSize(size_t(GetParam())));
  std::memset(castleMap, 0xAB, sizeof castleMap);
  std::memset(DirectionDelta, 0, sizeof DirectionDelta);
  ASSERT_TRUE(StartUp());
  headless::SetActive(true);
  headless::Tick(3);
  EXPECT_EQ(sceneHandlers.tickHandler, nullptr);
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, nullptr);
  EXPECT_EQ(DirectionDelta[0].dy, 0);  // stopped before the direction table
  EXPECT_EQ(reinterpret_cast<const uint8_t*>(castleMap)[0], 0xAB);
  headless::Command(kCmdHelp);
  headless::Pump();
  EXPECT_TRUE(headless::DialogOpen());
}

INSTANTIATE_TEST_SUITE_P(ShortOrAbsent, MissingMap, ::testing::Values(-1, 0, 552, 17663));

TEST(Shutdown, ClosingFreesSoundStopsTheTimerFreesGraphicsAndQuitsInOrder) {
  ASSERT_TRUE(test::StartGame());
  headless::Tick(2);
  headless::KeyDown(27);
  headless::Pump();
  const std::vector<std::string>& ev = headless::Events();
  ASSERT_GE(ev.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(ev.end() - 4, ev.end()),
            (std::vector<std::string>{"destroy-window", "close-audio", "kill-timer 1", "quit 0"}));
  EXPECT_FALSE(headless::TimerRunning(1));
  EXPECT_FALSE(headless::WindowExists());
}

TEST(Shutdown, WinMainReturnsTheQuitCode) {
  headless::Reset(0);
  // The idle hook plays the user: activate, wait a little, press Esc.
  headless::OverrideResource("MAP", "MAP", MapOfSize(kCastleMapSize));
  static int step;
  step = 0;
  headless::SetIdleHook([] {
    switch (step++) {
      case 0:
        headless::SetActive(true);
        return true;
      case 1:
      case 2:
        headless::AdvanceClock(54);
        return true;  // the loader's tick, then the title's
      case 3:
        headless::KeyDown(27);
        return true;
      default:
        return false;
    }
  });
  EXPECT_EQ(WinMain(), 0);
  EXPECT_FALSE(headless::WindowExists());
  EXPECT_EQ(sceneHandlers.tickHandler, nullptr);  // the loader and the title have run
}

TEST(Shutdown, SeveralGamesRunOneAfterAnother) {
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(test::StartGame(uint32_t(round) * 1000));
    headless::Tick(3);
    headless::Command(kCmdQuit);
    headless::Pump();
    EXPECT_TRUE(headless::QuitPosted()) << round;
    EXPECT_FALSE(headless::WindowExists()) << round;
  }
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

TEST(SingleCopy, ASecondProcessOnTheSameDisplayLeavesAtOnceWithZero) {
  std::string display = "single-copy-test-" + std::to_string(getpid());
  headless::Reset(0);
  headless::SetDisplayName(display);
  ASSERT_TRUE(StartUp());
  int child = InChild([&] {
    headless::Reset(0);
    headless::SetDisplayName(display);
    int code = WinMain();
    // 0 from WinMain, and no window was ever made.
    return code == 0 && !headless::WindowExists() && headless::Events().empty() ? 7 : 1;
  });
  EXPECT_EQ(child, 7);
  EXPECT_TRUE(headless::WindowExists());  // the first copy is left alone

  // Another display has its own copy.
  EXPECT_EQ(InChild([&] {
              headless::Reset(0);
              headless::SetDisplayName(display + "-other");
              return StartUp() ? 7 : 1;
            }),
            7);
}

TEST(SingleCopy, TheLockDiesWithItsProcess) {
  std::string display = "crash-test-" + std::to_string(getpid());
  // A copy that holds the lock and then dies without any cleanup.
  EXPECT_EQ(InChild([&] {
              headless::Reset(0);
              headless::SetDisplayName(display);
              if (!StartUp()) return 1;
              abort();
            }),
            100);
  headless::Reset(0);
  headless::SetDisplayName(display);
  EXPECT_TRUE(StartUp());
}

}  // namespace
}  // namespace quillorn
