// The real program in a real window on a private X server: its title and size, Esc, the
// single-copy rule, the menu bar by keyboard and mouse, and the help dialog.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/chrome/ui_look.h"
#include "platform/platform.h"
#include "real_window.h"

namespace quillorn::test {
namespace {

using platform::Rect;

TEST_F(RealWindow, IsTitledQuillornWithAFixed480By512ClientAreaUnderTheMenuBarAndTheIcon) {
  EXPECT_EQ(GameWindows(x_).size(), 1u);
  Shot s = Now();
  EXPECT_EQ(s.width, kClientWidth);
  EXPECT_EQ(s.height, kClientHeight + bar());
  EXPECT_EQ(s.At(s.width - 2, 2), Rgb(platform::kFaceColor));  // the bar
  EXPECT_EQ(s.At(s.width - 2, bar() - 1), Rgb(platform::kEdgeColor));
  // It cannot be resized, and carries the embedded icon.
  std::string hints = RunX(x_, "xprop -id " + window_ + " WM_NORMAL_HINTS");
  std::string size = std::to_string(kClientWidth) + " by " + std::to_string(s.height);
  EXPECT_NE(hints.find("minimum size: " + size), std::string::npos) << hints;
  EXPECT_NE(hints.find("maximum size: " + size), std::string::npos) << hints;
  std::string icon = RunX(x_, "xprop -id " + window_ + " _NET_WM_ICON");
  EXPECT_NE(icon.find("Icon (32 x 32)"), std::string::npos) << icon.substr(0, 200);
}

TEST_F(RealWindow, ASecondCopyEndsAtOnceWithoutAWindow) {
  for (const char* screen : {"", ".0"}) {  // ":N.0" is the same display as ":N"
    int code = -1;
    ASSERT_TRUE(WaitExit(StartGame(x_, screen), 5000, code)) << screen;
    EXPECT_EQ(code, 0);
    EXPECT_EQ(GameWindows(x_).size(), 1u);
  }
  ExpectRunning();  // the first copy runs on
}

TEST_F(RealWindow, KeysOpenTheMenuChooseHelpCloseItAndQuit) {
  Keys("Alt_L");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return MenuShown(); }));
  Keys("Alt_L");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !MenuShown(); }));
  Keys("F10");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return MenuShown(); }));
  EXPECT_TRUE(FirstEntryHighlighted());
  SaveShot("menu.png");
  Keys("Escape");  // closes only the menu
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !MenuShown(); }));
  ExpectRunning();
  // 説明 from above and from below; Enter or Esc closes only the dialog.
  for (auto [choose, close] : {std::pair{"F10 Down Down Down Return", "Return"},
                               std::pair{"F10 Up Up Return", "Escape"}}) {
    Keys(choose);
    ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return DialogShown(); })) << choose;
    EXPECT_FALSE(MenuShown());
    SaveShot("help-dialog.png");
    Keys(close);
    ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !DialogShown(); })) << close;
    ExpectRunning();
  }
  Keys("F10 Up Return");  // 終了
  ExpectEndsWithZero();
}

TEST_F(RealWindow, MouseOpensTheMenuChoosesHelpClosesItAndEscEndsTheProgram) {
  OpenMenuByMouse();
  Click(400, 400);  // outside: closes the menu only
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !MenuShown(); }));
  ExpectRunning();
  for (const Rect& closer : {dialog_.controls[0], dialog_.closeBox}) {  // OK, close box
    OpenMenuByMouse();
    Click(entryX_, entryY_[6]);  // 説明
    ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return DialogShown(); }));
    Click((closer.left + closer.right) / 2, (closer.top + closer.bottom) / 2 + bar());
    ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !DialogShown(); }));
  }
  Keys("Escape");
  ExpectEndsWithZero();
}

}  // namespace
}  // namespace quillorn::test
