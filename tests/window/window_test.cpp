// The real program in a real window on a private X server: its title and size, Esc, the
// single-copy rule, the menu bar by keyboard and mouse, and the help dialog.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/dialog_box.h"
#include "platform/headless/headless.h"
#include "platform/menu_bar.h"
#include "platform/platform.h"
#include "platform/ui_look.h"
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

// Where the menu and the dialog appear, from the same resources and layout code the game
// uses. Frame coordinates: the bar at the top of the window.
struct Geometry {
  Rect title;
  Rect dropDown;
  int32_t entryX = 0;
  int32_t entryY[9] = {};
  platform::DialogLayout dialog;
};

Geometry Measure() {
  Geometry g;
  headless::Reset();  // the layout code runs here on the headless platform
  platform::MenuBarLoad("menu");
  g.title = platform::MenuBarTitleRect(0);
  platform::MenuBarKey(true, platform::kKeyF10);
  platform::MenuBarDropDownRect(g.dropDown);
  g.entryX = (g.dropDown.left + g.dropDown.right) / 2;
  for (int32_t y = g.dropDown.bottom - 1; y >= g.dropDown.top; --y) {
    int entry = platform::MenuBarEntryAt(g.entryX, y);
    if (entry >= 0) g.entryY[entry] = y + platform::kMenuEntryHeight / 2;  // ends at the top row
  }
  platform::MenuBarReset();
  platform::Resource res;
  platform::DialogTemplate t;
  if (platform::FindResource("DIALOG", "dlg_help", res) && platform::ParseDialog(res, t))
    g.dialog = platform::LayOutDialog(t, kClientWidth, kClientHeight);
  return g;
}

class RealWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ = Measure();
    ASSERT_EQ(g_.dialog.controls.size(), 11u);
    ASSERT_TRUE(StartServer(x_)) << "Xvfb did not start (is the xvfb package installed?)";
    x_.game = StartGame(x_);
    window_ = WaitForWindow(x_, 20000);
    ASSERT_FALSE(window_.empty()) << "no window named Quillorn appeared";
    RunX(x_, "xdotool windowfocus --sync " + window_);
    // Ready once the bar is on the screen: the game's message loop runs.
    ASSERT_TRUE(WaitUntil(kPatienceMs, [&] {
      Shot s;
      return Grab(x_, window_, s) && s.At(s.width - 2, 2) == Rgb(platform::kFaceColor);
    }));
  }
  void TearDown() override { StopAll(x_); }

  void Keys(const std::string& keys) { RunX(x_, "xdotool key --delay 40 " + keys); }
  // A left click at a frame position of the window.
  void Click(int32_t x, int32_t y) {
    RunX(x_, "xdotool mousemove --window " + window_ + " " + std::to_string(x) + " " +
                 std::to_string(y) + " sleep 0.1 click 1");
  }
  void ClickCentre(const Rect& client) {
    Click((client.left + client.right) / 2, (client.top + client.bottom) / 2 + bar());
  }
  static int32_t bar() { return platform::kMenuBarHeight; }

  bool MenuShown() {
    Shot s;
    if (!Grab(x_, window_, s)) return false;
    const Rect& d = g_.dropDown;
    return s.At(d.left, d.top) == Rgb(platform::kShadowColor) &&
           s.At(d.right - 1, d.bottom - 1) == Rgb(platform::kShadowColor) &&
           s.At(d.left + 1, d.bottom - 2) == Rgb(platform::kMenuColor);
  }
  bool FirstEntryHighlighted() {
    Shot s;
    return Grab(x_, window_, s) &&
           s.At(g_.dropDown.left + 3, g_.entryY[0]) == Rgb(platform::kSelectColor);
  }
  bool DialogShown() {
    Shot s;
    if (!Grab(x_, window_, s)) return false;
    const Rect& c = g_.dialog.caption;
    for (int32_t x : {c.left + 1, (c.left + c.right) / 2, g_.dialog.closeBox.left - 1})
      if (s.At(x, c.top + 1 + bar()) != Rgb(platform::kCaptionColor)) return false;
    const Rect& ok = g_.dialog.controls[0];
    return s.At(ok.left, ok.top + bar()) == Rgb(platform::kSelectColor);
  }
  bool Ended(int timeoutMs, int& code) { return WaitExit(x_.game, timeoutMs, code); }
  void SaveShot(const char* name) {
    if (const char* dir = std::getenv("QUILLORN_SCREENSHOT_DIR"))
      RunX(x_, "import -window " + window_ + " " + std::string(dir) + "/" + name);
  }

  XSession x_;
  std::string window_;
  Geometry g_;
};

TEST_F(RealWindow, IsTitledQuillornWithA480By512ClientAreaUnderTheMenuBar) {
  EXPECT_EQ(GameWindows(x_).size(), 1u);
  int w, h;
  ASSERT_TRUE(WindowSize(x_, window_, w, h));
  EXPECT_EQ(w, kClientWidth);
  EXPECT_EQ(h, kClientHeight + platform::kMenuBarHeight);
  Shot s;
  ASSERT_TRUE(Grab(x_, window_, s));
  EXPECT_EQ(s.At(w - 2, 2), Rgb(platform::kFaceColor));  // the bar
  EXPECT_EQ(s.At(w - 2, bar() - 1), Rgb(platform::kEdgeColor));
}

TEST_F(RealWindow, CannotBeResized) {
  std::string hints = RunX(x_, "xprop -id " + window_ + " WM_NORMAL_HINTS");
  std::string size = std::to_string(kClientWidth) + " by " +
                     std::to_string(kClientHeight + platform::kMenuBarHeight);
  EXPECT_NE(hints.find("minimum size: " + size), std::string::npos) << hints;
  EXPECT_NE(hints.find("maximum size: " + size), std::string::npos) << hints;
}

TEST_F(RealWindow, CarriesTheEmbeddedIcon) {
  platform::Resource res;
  ASSERT_TRUE(platform::FindResource("ICON", "ICO", res));
  std::string icon = RunX(x_, "xprop -id " + window_ + " _NET_WM_ICON");
  EXPECT_NE(icon.find("Icon (32 x 32)"), std::string::npos) << icon.substr(0, 200);
}

TEST_F(RealWindow, EscClosesTheWindowAndTheProgramEndsWithZero) {
  Keys("Escape");
  int code = -1;
  ASSERT_TRUE(Ended(kPatienceMs, code));
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(GameWindows(x_).empty());
}

TEST_F(RealWindow, ASecondCopyEndsAtOnceWithoutAWindow) {
  pid_t second = StartGame(x_);
  int code = -1;
  ASSERT_TRUE(WaitExit(second, 5000, code));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(GameWindows(x_).size(), 1u);
  EXPECT_FALSE(Ended(0, code));  // the first copy runs on
}

TEST_F(RealWindow, ASecondCopyNamingTheScreenToo) {
  pid_t second = StartGame(x_, ".0");  // ":N.0" is the same display as ":N"
  int code = -1;
  ASSERT_TRUE(WaitExit(second, 5000, code));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(GameWindows(x_).size(), 1u);
}

TEST_F(RealWindow, F10OpensTheMenuAndEscClosesOnlyTheMenu) {
  ASSERT_FALSE(MenuShown());
  Keys("F10");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return MenuShown(); }));
  EXPECT_TRUE(FirstEntryHighlighted());
  SaveShot("menu.png");
  Keys("Escape");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !MenuShown(); }));
  int code = -1;
  EXPECT_FALSE(Ended(300, code));
  Keys("Escape");  // now the game's
  ASSERT_TRUE(Ended(kPatienceMs, code));
  EXPECT_EQ(code, 0);
}

TEST_F(RealWindow, ATapOfAltOpensTheMenu) {
  Keys("Alt_L");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return MenuShown(); }));
  Keys("Alt_L");
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] { return !MenuShown(); }));
}

TEST_F(RealWindow, HelpEntryOpensTheDialogAndEnterClosesIt) {
  Keys("F10 Down Down Down Return");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return DialogShown(); }));
  EXPECT_FALSE(MenuShown());
  SaveShot("help-dialog.png");
  Keys("Return");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !DialogShown(); }));
  int code = -1;
  EXPECT_FALSE(Ended(300, code));
}

TEST_F(RealWindow, EscInTheDialogClosesOnlyTheDialog) {
  Keys("F10 Up Up Return");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return DialogShown(); }));
  Keys("Escape");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !DialogShown(); }));
  int code = -1;
  EXPECT_FALSE(Ended(300, code));
  EXPECT_EQ(GameWindows(x_).size(), 1u);
}

TEST_F(RealWindow, QuitEntryClosesTheWindow) {
  Keys("F10 Up Return");
  int code = -1;
  ASSERT_TRUE(Ended(kPatienceMs, code));
  EXPECT_EQ(code, 0);
}

TEST_F(RealWindow, MouseOpensTheMenuChoosesHelpAndClosesTheDialog) {
  Click((g_.title.left + g_.title.right) / 2, bar() / 2);
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return MenuShown(); }));
  Click(g_.entryX, g_.entryY[6]);  // 説明
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return DialogShown(); }));
  ClickCentre(g_.dialog.controls[0]);  // OK
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !DialogShown(); }));

  Click((g_.title.left + g_.title.right) / 2, bar() / 2);
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return MenuShown(); }));
  Click(g_.entryX, g_.entryY[6]);
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return DialogShown(); }));
  ClickCentre(g_.dialog.closeBox);
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !DialogShown(); }));

  Click((g_.title.left + g_.title.right) / 2, bar() / 2);
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return MenuShown(); }));
  Click(g_.entryX, g_.entryY[8]);  // 終了
  int code = -1;
  ASSERT_TRUE(Ended(kPatienceMs, code));
  EXPECT_EQ(code, 0);
}

TEST_F(RealWindow, AClickOutsideTheOpenMenuClosesIt) {
  Keys("F10");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return MenuShown(); }));
  Click(400, 400);
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !MenuShown(); }));
  int code = -1;
  EXPECT_FALSE(Ended(300, code));
}

}  // namespace
}  // namespace quillorn::test
