// The real window at 2x and 3x (Ctrl+2, Ctrl+3) and in fullscreen (Alt+Enter): what it shows
// is the 1x picture with every pixel repeated, pixel for pixel, the menu bar and the help
// dialog included; clicks land on the entry under them; the game's own keys still work.
#include <gtest/gtest.h>

#include <string>

#include "platform/chrome/ui_look.h"
#include "real_window.h"

namespace quillorn::test {
namespace {

// A picture enlarged k times by repeating pixels and placed at (left, top) on a black
// picture of width x height.
Shot Enlarge(const Shot& one, int k, int width, int height, int left = 0, int top = 0) {
  Shot big;
  big.width = width;
  big.height = height;
  big.rgb.assign(size_t(width) * size_t(height) * 3, 0);
  for (int y = 0; y < one.height * k; ++y)
    for (int x = 0; x < one.width * k; ++x) {
      size_t from = (size_t(y / k) * size_t(one.width) + size_t(x / k)) * 3;
      size_t to = (size_t(y + top) * size_t(width) + size_t(x + left)) * 3;
      for (int c = 0; c < 3; ++c) big.rgb[to + c] = one.rgb[from + c];
    }
  return big;
}
Shot Enlarge(const Shot& one, int k) {
  return Enlarge(one, k, one.width * k, one.height * k);
}

// Pixels that differ; a picture of another size differs everywhere.
long Differences(const Shot& a, const Shot& b) {
  if (a.width != b.width || a.height != b.height) return long(a.width) * a.height + 1;
  long n = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) n += a.At(x, y) != b.At(x, y);
  return n;
}

class ScaledWindow : public RealWindow {
 protected:
  // The picture once it has stopped changing (the title screen comes on the second tick).
  Shot Settled() {
    Shot last = Now(), shot;
    WaitUntil(
        kPatienceMs,
        [&] {
          shot = Now();
          bool same = Differences(shot, last) == 0;
          last = shot;
          return same;
        },
        300);
    return shot;
  }
  // Waits until the window shows want; the count of wrong pixels when it never does.
  long WaitForPicture(const Shot& want) {
    long wrong = 0;
    WaitUntil(kPatienceMs, [&] { return (wrong = Differences(Now(), want)) == 0; });
    return wrong;
  }
  void ScaleTo(int k) {
    Keys("ctrl+" + std::to_string(k));
    ASSERT_TRUE(WaitForScale(k)) << "no " << k << "x window";
  }
};

TEST_F(ScaledWindow, At2xAnd3xShowsThe1xPictureWithEveryPixelRepeated) {
  // The title screen, and the same with its cursor moved down by the game's arrow key.
  const Shot one = Settled();
  ASSERT_EQ(one.width, kClientWidth);
  Keys("Down");
  const Shot down = Settled();
  ASSERT_GT(Differences(one, down), 0) << "the cursor did not move";
  Keys("Up");
  ASSERT_EQ(WaitForPicture(one), 0);
  for (int k : {2, 3}) {
    ScaleTo(k);
    EXPECT_EQ(WaitForPicture(Enlarge(one, k)), 0) << "at " << k << "x";
    // Still a window of fixed size, now k times as large.
    std::string hints = RunX(x_, "xprop -id " + window_ + " WM_NORMAL_HINTS");
    std::string size =
        std::to_string(kClientWidth * k) + " by " + std::to_string((kClientHeight + bar()) * k);
    EXPECT_NE(hints.find("minimum size: " + size), std::string::npos) << hints;
    EXPECT_NE(hints.find("maximum size: " + size), std::string::npos) << hints;
    // The game's keys work at this scale and draw what they drew at 1x.
    Keys("Down");
    EXPECT_EQ(WaitForPicture(Enlarge(down, k)), 0) << "Down at " << k << "x";
    Keys("Up");
    EXPECT_EQ(WaitForPicture(Enlarge(one, k)), 0) << "Up at " << k << "x";
  }
  ScaleTo(1);
  EXPECT_EQ(WaitForPicture(one), 0);
  ExpectRunning();
}

TEST_F(ScaledWindow, MenuAndHelpDialogScaleWithTheWindowPixelForPixel) {
  Settled();
  Keys("F10");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return MenuShown(); }));
  const Shot menu = Settled();
  Keys("Escape F10 Up Up Return");  // 説明
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return DialogShown(); }));
  const Shot help = Settled();
  Keys("Escape");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !DialogShown(); }));

  ScaleTo(2);
  Keys("F10");
  EXPECT_EQ(WaitForPicture(Enlarge(menu, 2)), 0);
  Keys("Escape");
  ScaleTo(3);
  Keys("F10 Up Up Return");
  EXPECT_EQ(WaitForPicture(Enlarge(help, 3)), 0);
  SaveShot("help-dialog-3x.png");
  ExpectRunning();
}

TEST_F(ScaledWindow, ClicksChooseTheEntryUnderThemAndTheGamesKeysStillWork) {
  ScaleTo(2);
  OpenMenuByMouse();
  Click(entryX_, entryY_[6]);  // 説明
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return DialogShown(); }));
  const platform::Rect& ok = dialog_.controls[0];
  Click((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2 + bar());
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !DialogShown(); }));
  ExpectRunning();
  ScaleTo(3);
  OpenMenuByMouse();
  Click(400, 400);  // outside: closes the menu only
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return !MenuShown(); }));
  ExpectRunning();
  Keys("Escape");  // the game's key: closes the window
  ExpectEndsWithZero();
}

TEST_F(ScaledWindow, ClickAt2xOnQuitChoosesQuit) {
  ScaleTo(2);
  OpenMenuByMouse();
  Click(entryX_, entryY_[8]);  // 終了
  ExpectEndsWithZero();
}

class FullscreenWindow : public ScaledWindow {
 protected:
  void SetUp() override { Start(true); }
};

TEST_F(FullscreenWindow, AltEnterCentresTheLargestWholeScaleOnBlackAndComesBack) {
  const Shot one = Settled();
  ASSERT_EQ(one.width, kClientWidth);
  Keys("alt+Return");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] {
    Shot s = Now();
    return s.width == kScreenWidth && s.height == kScreenHeight;
  })) << "the window did not fill the screen";
  // 1600 x 1700 holds the 480 x 532 frame three times over, 80 pixels from the left edge
  // and 52 from the top.
  const int left = (kScreenWidth - 3 * kClientWidth) / 2;
  const int top = (kScreenHeight - 3 * (kClientHeight + bar())) / 2;
  ASSERT_EQ(left, 80);
  ASSERT_EQ(top, 52);
  EXPECT_EQ(WaitForPicture(Enlarge(one, 3, kScreenWidth, kScreenHeight, left, top)), 0);
  SaveShot("fullscreen.png", true);
  // The menu answers a click on its title where it is shown.
  int titleX = left + 3 * (title_.left + title_.right) / 2, titleY = top + 3 * bar() / 2;
  RunX(x_, "xdotool mousemove --window " + window_ + " " + std::to_string(titleX) + " " +
               std::to_string(titleY) + " sleep 0.1 click 1");
  ASSERT_TRUE(WaitUntil(kPatienceMs, [&] {
    return Now().At(left + 3 * dropDown_.left, top + 3 * dropDown_.top) ==
           Rgb(platform::kShadowColor);
  }));
  Keys("Escape alt+Return");
  ASSERT_TRUE(WaitForScale(1));
  EXPECT_EQ(WaitForPicture(one), 0);
  ExpectRunning();
}

// A dense screen: the window starts at the scale that keeps it about the size it has at
// 96 dpi, by the desktop's Xft.dpi when it sets one, else by the screen's own density.
class DenseScreen : public ScaledWindow {
 protected:
  void SetUp() override {}  // each test starts its own
  void StartAt(int screenDpi, const char* xftDpi) {
    x_.dpi = screenDpi;
    xftDpi_ = xftDpi;
    Start(false);
  }
  void BeforeGame() override {
    if (xftDpi_)
      RunX(x_, std::string("xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "
                           "'Xft.dpi:\t") +
                   xftDpi_ + "'");
  }
  const char* xftDpi_ = nullptr;
};

TEST_F(DenseScreen, At192DpiTheWindowStartsAt2xAndCtrl1StillMakesIt1x) {
  StartAt(192, nullptr);
  ASSERT_TRUE(WaitForScale(2));
  ScaleTo(1);
  ExpectRunning();
}

TEST_F(DenseScreen, TheDesktopsXftDpiOf288StartsItAt3x) {
  StartAt(192, "288");
  EXPECT_TRUE(WaitForScale(3));
}

TEST_F(DenseScreen, TheDesktopsXftDpiOf96KeepsItAt1xOnADenseScreen) {
  StartAt(192, "96");
  EXPECT_TRUE(WaitForScale(1));
}

}  // namespace
}  // namespace quillorn::test
