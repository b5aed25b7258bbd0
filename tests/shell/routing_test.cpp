// The window procedure's routing: keys, ticks, activation, commands and the held arrow.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "scenes/title_screen.h"
#include "shell/main_window.h"
#include "shell/scene_handlers.h"

namespace quillorn {
namespace {

using platform::kMsgCommand;

std::vector<std::string> calls;

void OnTick() {
  calls.push_back("tick");
}
void OnConfirm() {
  calls.push_back("confirm");
}
void OnE() {
  calls.push_back("e");
}
void OnDirection(int32_t d) {
  // The held direction is already written when the handler runs.
  calls.push_back("dir" + std::to_string(d) + " held" + std::to_string(heldDirection));
}

class Routing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::StartGame());
    calls.clear();
    sceneHandlers.tickHandler = OnTick;
    sceneHandlers.confirmKeyHandler = OnConfirm;
    sceneHandlers.eKeyHandler = OnE;
    sceneHandlers.directionKeyHandler = OnDirection;
  }
  static void Press(uint32_t key) {
    headless::KeyDown(key);
    headless::Pump();
  }
  static void Release(uint32_t key) {
    headless::KeyUp(key);
    headless::Pump();
  }
};

TEST_F(Routing, EachKeyReachesItsSlotAndRepeatsCallAgain) {
  // Enter, Space and Z confirm; arrows write the held direction before their handler runs;
  // E has its own slot; other keys (letters, F1) are ignored; repeats call again.
  for (uint32_t key :
       {13u, 32u, 90u, 38u, 39u, 40u, 37u, 69u, uint32_t('A'), uint32_t('X'), 112u, 38u, 38u})
    Press(key);
  EXPECT_EQ(calls, (std::vector<std::string>{"confirm", "confirm", "confirm", "dir0 held0",
                                             "dir1 held1", "dir2 held2", "dir3 held3", "e",
                                             "dir0 held0", "dir0 held0"}));
}

TEST_F(Routing, HeldDirectionIsKeptWithoutADirectionHandler) {
  sceneHandlers.directionKeyHandler = nullptr;
  Press(40);
  EXPECT_EQ(heldDirection, 2);
  EXPECT_TRUE(calls.empty());
}

TEST_F(Routing, ReleasingAnotherArrowKeepsTheHeldOne) {
  Press(38);  // up
  Press(37);  // left
  Release(38);
  EXPECT_EQ(heldDirection, 3);
  Release(37);
  EXPECT_EQ(heldDirection, 4);
}

TEST_F(Routing, ReleasingANonArrowChangesNothing) {
  Press(39);
  Release(13);
  Release('E');
  EXPECT_EQ(heldDirection, 1);
}

TEST_F(Routing, ArrowReleasedWhileInactiveStaysHeld) {
  Press(39);
  headless::SetActive(false);
  Release(39);
  headless::SetActive(true);
  headless::Pump();
  EXPECT_EQ(heldDirection, 1);
  Press(39);
  Release(39);
  EXPECT_EQ(heldDirection, 4);
}

TEST_F(Routing, TicksReachTheTickHandlerEvery54Ms) {
  headless::Tick(3);
  EXPECT_EQ(calls, (std::vector<std::string>{"tick", "tick", "tick"}));
  headless::AdvanceClock(53);
  headless::Pump();
  EXPECT_EQ(calls.size(), 3u);
}

TEST_F(Routing, KeysAndTicksAreDroppedWhileInactive) {
  headless::SetActive(false);
  headless::Pump();
  for (uint32_t key : {13u, 38u, 69u, 27u}) Press(key);
  headless::Tick(2);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(heldDirection, 4);            // the arrow was not seen at all
  EXPECT_TRUE(headless::WindowExists());  // nor was Esc
  headless::SetActive(true);
  headless::Tick(1);
  EXPECT_EQ(calls, (std::vector<std::string>{"tick"}));
}

TEST_F(Routing, EmptySlotsDropTheirEvents) {
  ClearSceneHandlers();
  Press(13);
  Press(69);
  Press(38);
  headless::Tick(2);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(heldDirection, 0);
}

TEST_F(Routing, AHandlerInstalledDuringATickActsFromTheNextMessage) {
  sceneHandlers.tickHandler = [] {
    calls.push_back("first");
    sceneHandlers.tickHandler = OnTick;
  };
  headless::Tick(2);
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "tick"}));
}

TEST_F(Routing, AfterAStallOneTickComesNotABurst) {
  headless::AdvanceClock(54 * 10);
  headless::Pump();
  EXPECT_EQ(calls, (std::vector<std::string>{"tick"}));
  headless::Tick(1);
  EXPECT_EQ(calls.size(), 2u);
}

TEST_F(Routing, EscapeClosesTheWindowWithExitCodeZero) {
  Press(27);
  int32_t code = -1;
  EXPECT_TRUE(headless::QuitPosted(&code));
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(headless::WindowExists());
  EXPECT_TRUE(calls.empty());
}

TEST_F(Routing, QuitCommandClosesEvenWhileInactive) {
  headless::SetActive(false);
  headless::Command(40003);
  headless::Pump();
  EXPECT_FALSE(headless::WindowExists());
  EXPECT_TRUE(headless::QuitPosted());
}

TEST_F(Routing, HelpCommandOpensTheHelpDialogEvenWhileInactive) {
  headless::SetActive(false);
  headless::Command(40002);
  headless::Pump();
  ASSERT_TRUE(headless::DialogOpen());
  EXPECT_EQ(headless::DialogName(), "dlg_help");
  // Ticks keep reaching the game while the dialog is open; keys go to the dialog.
  headless::SetActive(true);
  headless::Tick(1);
  Press(38);
  EXPECT_EQ(calls, (std::vector<std::string>{"tick"}));
  Press(13);  // OK
  EXPECT_FALSE(headless::DialogOpen());
  EXPECT_EQ(calls, (std::vector<std::string>{"tick"}));
  Press(13);
  EXPECT_EQ(calls.back(), "confirm");
}

TEST_F(Routing, EscapeInTheDialogClosesOnlyTheDialog) {
  headless::Command(40002);
  headless::Pump();
  Press(27);
  EXPECT_FALSE(headless::DialogOpen());
  EXPECT_TRUE(headless::WindowExists());
}

TEST_F(Routing, TitleCommandActsWhileInactiveAndReplacesTheSlots) {
  headless::SetActive(false);
  headless::Command(40006);
  headless::Pump();
  EXPECT_EQ(sceneHandlers.tickHandler, nullptr);
  EXPECT_EQ(sceneHandlers.confirmKeyHandler, TitleConfirmKey);
  EXPECT_EQ(sceneHandlers.directionKeyHandler, TitleDirectionKey);
  EXPECT_EQ(sceneHandlers.eKeyHandler, nullptr);
}

TEST_F(Routing, UnnamedAndOutOfRangeIdsDoNothing) {
  for (uint32_t id :
       {40007u, 40008u, 40000u, 40010u, 0u, 1u, 2u, 0x10000u + 40003u, 0x10000u + 40006u}) {
    headless::Command(id);
    headless::Pump();
    EXPECT_TRUE(headless::WindowExists()) << id;
    EXPECT_FALSE(headless::DialogOpen()) << id;
    EXPECT_EQ(sceneHandlers.tickHandler, OnTick) << id;
    EXPECT_EQ(sceneHandlers.confirmKeyHandler, OnConfirm) << id;
  }
}

TEST(HelpDialogProc, AnswersOkAndCancelOnly) {
  ASSERT_TRUE(test::StartGame());
  headless::Command(40002);
  headless::Pump();
  EXPECT_EQ(HelpDialogProc(0x0110 /* init */, 0, 0), 0);
  EXPECT_EQ(HelpDialogProc(kMsgCommand, 3, 0), 0);
  EXPECT_TRUE(headless::DialogOpen());
  EXPECT_EQ(HelpDialogProc(kMsgCommand, (5u << 16) | 2u, 0), 1);  // low word 2: cancel
  EXPECT_FALSE(headless::DialogOpen());
  headless::Command(40002);
  headless::Pump();
  EXPECT_EQ(HelpDialogProc(kMsgCommand, 1, 0), 1);
  EXPECT_FALSE(headless::DialogOpen());
}

}  // namespace
}  // namespace quillorn
