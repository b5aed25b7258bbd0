// The fixture of the real-window tests: a private X server (optionally with a window
// manager), the game on it, and where its menu and dialog appear, measured with the game's
// own layout code on the headless platform. Positions are in frame coordinates (the menu bar
// at the top) at 1x; at a scale k the window shows frame pixel (x, y) at (k x, k y).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/chrome/dialog_box.h"
#include "platform/platform.h"
#include "platform/surface.h"
#include "x_session.h"

namespace quillorn::test {

constexpr int kClientWidth = 480;
constexpr int kClientHeight = 512;
// How long the game may take to answer; generous for a loaded machine.
constexpr int kPatienceMs = 10000;

uint32_t Rgb(platform::Pixel p);

class RealWindow : public ::testing::Test {
 protected:
  void SetUp() override { Start(false); }
  void TearDown() override { StopAll(x_); }
  // Starts the server (with a window manager if asked), then the game, and waits until its
  // menu bar is on the screen.
  void Start(bool windowManager);
  // Called when the server (and window manager) runs, before the game starts.
  virtual void BeforeGame() {}

  void Keys(const std::string& keys);
  // A left click at a frame position, at the window's current scale.
  void Click(int32_t x, int32_t y);
  void OpenMenuByMouse();
  static int32_t bar();

  Shot Now();
  // The window at scale k: its size is k times the frame's and its pixels are those of
  // the frame, each repeated k x k times.
  bool WaitForScale(int k);
  bool MenuShown();
  bool FirstEntryHighlighted();
  bool DialogShown();
  void ExpectRunning();
  void ExpectEndsWithZero();
  // Writes the window (or the whole screen) to QUILLORN_SCREENSHOT_DIR when that is set.
  void SaveShot(const char* name, bool wholeScreen = false);

  XSession x_;
  std::string window_;
  int k_ = 1;  // the scale the window is at
  platform::Rect title_, dropDown_;
  int32_t entryX_ = 0, entryY_[9] = {};
  platform::DialogLayout dialog_;

 private:
  void Measure();
};

}  // namespace quillorn::test
