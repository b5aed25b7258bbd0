// The real program in a real window: a private Xvfb (with openbox when fullscreen is
// wanted), the game on it driven by xdotool and read back through Xlib, and beside it the
// same game on the headless backend in this process, given the same input. The window must
// show the headless game's frame (the menu bar, the client picture, an open drop-down or
// dialog, the beep strip below), each pixel repeated k times. Each test's game keeps its
// settings in a folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "frames.h"
#include "process.h"

namespace quillorn::test {

constexpr int kPatienceMs = 20000;  // generous: a sanitizer build on a loaded machine

class RealWindow : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Xvfb at dpi, openbox if asked, the game (its sound to diskAudio when given), and the
  // headless game at its title.
  void Start(bool windowManager, int dpi = 100, const std::string& diskAudio = "");
  void StopAll();
  // Runs the game on the display (":N" + suffix), its standard error into the file errors if
  // one is named; its pid.
  pid_t Launch(const std::string& suffix = "", const std::string& diskAudio = "",
               const std::string& errors = "");
  // The game windows (only those shown if shown); the one shown becomes window_.
  size_t GameWindows(bool shown = false);
  std::string RunX(const std::string& command);

  // A key pressed and let go in both games; the headless one then runs `ticks` ticks.
  void Press(const char* xname, uint32_t key, int ticks = 0);
  void Step(const char* xname, uint32_t key);  // one step of the king's in both games
  void Click(int x, int y);       // in both games; a frame position, at the shown scale and place
  void ChooseByMouse(int entry);  // clicks on the menu's title, then on its entry
  bool Grab(Shot& s);             // the window's picture
  Shot Want();                    // the headless game's frame at the current scale and place
  // Waits until the window shows it.
  ::testing::AssertionResult SameFrame(const std::string& moment, int patienceMs = kPatienceMs);
  // Waits until the window is k times the frame, a fixed size, and shows the frame.
  ::testing::AssertionResult AtScale(int k);
  // The settings file the game writes.
  std::string SettingsText() const;
  void ExpectEndsWithZero();

  pid_t server_ = -1, windowManager_ = -1, game_ = -1;
  int display_ = -1, k_ = 1;  // k_: the window's scale
  void* x_ = nullptr;         // our own connection to the server, for reading pictures
  std::string window_;
  std::string config_;  // the game's XDG_CONFIG_HOME
  bool fullscreen_ = false;
  std::string errors_;  // where the game Start launches writes its standard error, if set
};

}  // namespace quillorn::test
