#include "real_window.h"

#include <cstdlib>

#include "platform/chrome/menu_bar.h"
#include "platform/chrome/ui_look.h"
#include "platform/headless/headless.h"

namespace quillorn::test {

using platform::Rect;

uint32_t Rgb(platform::Pixel p) {
  return p & 0xFFFFFFu;
}

void RealWindow::Start(bool windowManager) {
  Measure();
  ASSERT_EQ(dialog_.controls.size(), 11u);
  // A game of another test run on this machine, still ending on a display number that our
  // new server has just been given, holds that display's single-copy lock: ours then ends
  // at once, as a second copy must. Such a start is tried again on a fresh server.
  int code = -1;
  for (int attempt = 0; attempt < 3 && window_.empty(); ++attempt) {
    StopAll(x_);
    ASSERT_TRUE(StartServer(x_)) << "Xvfb did not start (is the xvfb package installed?)";
    if (windowManager) {
      ASSERT_TRUE(StartWindowManager(x_)) << "openbox did not start";
    }
    BeforeGame();
    x_.game = StartGame(x_);
    WaitUntil(20000, [&] {
      window_ = WaitForWindow(x_, 0);
      if (!window_.empty()) return true;
      if (!WaitExit(x_.game, 0, code)) return false;
      x_.game = -1;  // ended and reaped
      return true;
    });
  }
  ASSERT_FALSE(window_.empty()) << "no window named Quillorn appeared; the game's exit code "
                                << code;
  RunX(x_, "xdotool windowfocus --sync " + window_);
  // Ready once the bar is on the screen: the game's message loop runs.
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] {
    Shot s = Now();
    return s.At(s.width - 2, 2) == Rgb(platform::kFaceColor);
  }));
}

// Where the menu and the dialog appear, from the same resources and layout code the game
// uses, run here on the headless platform.
void RealWindow::Measure() {
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

void RealWindow::Keys(const std::string& keys) {
  RunX(x_, "xdotool key --delay 40 " + keys);
}

void RealWindow::Click(int32_t x, int32_t y) {
  // The middle of the frame pixel's block.
  RunX(x_, "xdotool mousemove --window " + window_ + " " + std::to_string(x * k_ + k_ / 2) + " " +
               std::to_string(y * k_ + k_ / 2) + " sleep 0.1 click 1");
}

void RealWindow::OpenMenuByMouse() {
  Click((title_.left + title_.right) / 2, bar() / 2);
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return MenuShown(); }));
}

int32_t RealWindow::bar() {
  return platform::kMenuBarHeight;
}

Shot RealWindow::Now() {
  Shot s;
  Grab(x_, window_, s);
  return s;
}

bool RealWindow::WaitForScale(int k) {
  k_ = k;
  return WaitUntil(kPatienceMs, [&] {
    Shot s = Now();
    return s.width == kClientWidth * k && s.height == (kClientHeight + bar()) * k;
  });
}

bool RealWindow::MenuShown() {
  const Shot s = Now();
  const Rect& d = dropDown_;
  auto at = [&](int32_t x, int32_t y) { return s.At(x * k_, y * k_); };
  return at(d.left, d.top) == Rgb(platform::kShadowColor) &&
         at(d.right - 1, d.bottom - 1) == Rgb(platform::kShadowColor) &&
         at(d.left + 1, d.bottom - 2) == Rgb(platform::kMenuColor);
}

bool RealWindow::FirstEntryHighlighted() {
  return Now().At((dropDown_.left + 3) * k_, entryY_[0] * k_) == Rgb(platform::kSelectColor);
}

bool RealWindow::DialogShown() {
  Shot s = Now();
  auto at = [&](int32_t x, int32_t y) { return s.At(x * k_, y * k_); };
  const Rect& c = dialog_.caption;
  for (int32_t x : {c.left + 1, (c.left + c.right) / 2, dialog_.closeBox.left - 1})
    if (at(x, c.top + 1 + bar()) != Rgb(platform::kCaptionColor)) return false;
  const Rect& ok = dialog_.controls[0];
  return at(ok.left, ok.top + bar()) == Rgb(platform::kSelectColor);
}

void RealWindow::ExpectRunning() {
  int code;
  EXPECT_FALSE(WaitExit(x_.game, 300, code)) << "the game ended with " << code;
}

void RealWindow::ExpectEndsWithZero() {
  int code = -1;
  ASSERT_TRUE(WaitExit(x_.game, kPatienceMs, code));
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(GameWindows(x_).empty());
}

void RealWindow::SaveShot(const char* name, bool wholeScreen) {
  if (const char* dir = std::getenv("QUILLORN_SCREENSHOT_DIR"))
    RunX(x_, "import -window " + (wholeScreen ? std::string("root") : window_) + " " +
                 std::string(dir) + "/" + name);
}

}  // namespace quillorn::test
