// The real program in a real window on a private X server: its title and size, Esc, the
// single-copy rule, the menu bar by keyboard and mouse, and the help dialog.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/chrome/ui_look.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "x_session.h"

namespace quillorn::test {
namespace {

using platform::Rect;

constexpr int kClientWidth = 480;
constexpr int kClientHeight = 512;
// How long the game may take to answer; generous for a loaded machine.
constexpr int kPatienceMs = 10000;

uint32_t Rgb(platform::Pixel p) {
  return p & 0xFFFFFFu;
}

class RealWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    Measure();
    ASSERT_EQ(dialog_.controls.size(), 11u);
    ASSERT_TRUE(StartServer(x_)) << "Xvfb did not start (is the xvfb package installed?)";
    x_.game = StartGame(x_);
    window_ = WaitForWindow(x_, 20000);
    ASSERT_FALSE(window_.empty()) << "no window named Quillorn appeared";
    RunX(x_, "xdotool windowfocus --sync " + window_);
    // Ready once the bar is on the screen: the game's message loop runs.
    ASSERT_TRUE(WaitUntil(kPatienceMs, [&] {
      Shot s = Now();
      return s.At(s.width - 2, 2) == Rgb(platform::kFaceColor);
    }));
  }
  void TearDown() override { StopAll(x_); }

  // Where the menu and the dialog appear, from the same resources and layout code the game
  // uses, run here on the headless platform. Frame coordinates: the bar at the top.
  void Measure() {
    headless::Reset();
    platform::MenuBarLoad("menu");
    title_ = platform::MenuBarTitleRect(0);
    platform::MenuBarKey(true, platform::kKeyF10);
    platform::MenuBarDropDownRect(dropDown_);
    entryX_ = (dropDown_.left + dropDown_.right) / 2;
    for (int32_t y = dropDown_.bottom - 1; y >= dropDown_.top; --y) {
      int entry = platform::MenuBarEntryAt(entryX_, y);
      if (entry >= 0) entryY_[entry] = y + platform::kMenuEntryHeight / 2;  // from the top row
    }
    platform::MenuBarReset();
    platform::Resource res;
    platform::DialogTemplate t;
    if (platform::FindResource("DIALOG", "dlg_help", res) && platform::ParseDialog(res, t))
      dialog_ = platform::LayOutDialog(t, kClientWidth, kClientHeight);
  }

  void Keys(const std::string& keys) { RunX(x_, "xdotool key --delay 40 " + keys); }
  // A left click at a frame position of the window.
  void Click(int32_t x, int32_t y) {
    RunX(x_, "xdotool mousemove --window " + window_ + " " + std::to_string(x) + " " +
                 std::to_string(y) + " sleep 0.1 click 1");
  }
  void OpenMenuByMouse() {
    Click((title_.left + title_.right) / 2, bar() / 2);
    ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return MenuShown(); }));
  }
  static int32_t bar() { return platform::kMenuBarHeight; }

  Shot Now() {
    Shot s;
    Grab(x_, window_, s);
    return s;
  }
  bool MenuShown() {
    const Shot s = Now();
    const Rect& d = dropDown_;
    return s.At(d.left, d.top) == Rgb(platform::kShadowColor) &&
           s.At(d.right - 1, d.bottom - 1) == Rgb(platform::kShadowColor) &&
           s.At(d.left + 1, d.bottom - 2) == Rgb(platform::kMenuColor);
  }
  bool FirstEntryHighlighted() {
    return Now().At(dropDown_.left + 3, entryY_[0]) == Rgb(platform::kSelectColor);
  }
  bool DialogShown() {
    Shot s = Now();
    const Rect& c = dialog_.caption;
    for (int32_t x : {c.left + 1, (c.left + c.right) / 2, dialog_.closeBox.left - 1})
      if (s.At(x, c.top + 1 + bar()) != Rgb(platform::kCaptionColor)) return false;
    const Rect& ok = dialog_.controls[0];
    return s.At(ok.left, ok.top + bar()) == Rgb(platform::kSelectColor);
  }
  void ExpectRunning() {
    int code;
    EXPECT_FALSE(WaitExit(x_.game, 300, code)) << "the game ended with " << code;
  }
  void ExpectEndsWithZero() {
    int code = -1;
    ASSERT_TRUE(WaitExit(x_.game, kPatienceMs, code));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(GameWindows(x_).empty());
  }
  void SaveShot(const char* name) {
    if (const char* dir = std::getenv("QUILLORN_SCREENSHOT_DIR"))
      RunX(x_, "import -window " + window_ + " " + std::string(dir) + "/" + name);
  }

  XSession x_;
  std::string window_;
  Rect title_, dropDown_;
  int32_t entryX_ = 0, entryY_[9] = {};
  platform::DialogLayout dialog_;
};

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
