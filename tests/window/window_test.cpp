// The real program in a real window, each still moment compared pixel for pixel with the same
// game on the headless backend: a player's path at 1x with the sound it makes, 2x, 3x and
// fullscreen with the mouse, the settings kept over a restart, and the scale it starts at on
// a dense screen.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "gameplay/actors.h"
#include "harness.h"
#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/headless/headless.h"
#include "platform/settings/settings.h"
#include "real_window.h"
#include "script/script.h"
#include "shell/scene_handlers.h"

namespace quillorn::test {
namespace {

// The sound SDL's disk driver wrote (48000 stereo 16-bit frames a second), once it has ended:
// from its first loud sample to its last, its peak, its pitch from its rising zero crossings.
struct Sound {
  long frames = 0;
  int peak = 0;
  double pitch = 0;
};
bool EndedSound(const std::string& file, Sound& s) {
  std::ifstream in(file, std::ios::binary);
  std::vector<int16_t> x;  // the left channel
  for (int16_t frame[2]; in.read(reinterpret_cast<char*>(frame), 4);) x.push_back(frame[0]);
  const auto loud = [](int16_t v) { return std::abs(v) >= 64; };
  const auto start = std::find_if(x.begin(), x.end(), loud);
  const auto end = std::find_if(x.rbegin(), x.rend(), loud).base();
  if (start == x.end() || x.end() - end < 480) return false;  // none, or still sounding
  double first = -1, last = -1;
  int crossings = 0;
  for (auto i = start + 1; i < end; ++i) {
    s.peak = std::max(s.peak, std::abs(int(*i)));
    if (i[-1] < 0 && *i >= 0) (crossings++ == 0 ? first : last) = double(i - x.begin());
  }
  s.frames = end - start;
  s.pitch = crossings > 2 ? (crossings - 1) * 48000.0 / (last - first) : 0;
  return true;
}

TEST_F(RealWindow, APlayerSeesAndHearsTheTitleARoomTheSurveyTheMenuAndHelpAndEscEndsIt) {
  const std::string audio = "disk-audio-" + std::to_string(getpid()) + ".raw";
  Start(false, 100, audio);
  ASSERT_TRUE(SameFrame("the title after start-up"));
  // Titled Quillorn (found by that name), a fixed size, the embedded icon; a second copy,
  // on the display by either of its names, ends at once and leaves the first alone.
  EXPECT_TRUE(AtScale(1));
  EXPECT_NE(RunX("xprop -id " + window_ + " _NET_WM_ICON").find("Icon (32 x 32)"),
            std::string::npos);
  for (const char* screen : {"", ".0"}) {
    int code = -1;
    EXPECT_TRUE(WaitExit(Launch(screen), kPatienceMs, code) && code == 0) << screen << " " << code;
  }
  EXPECT_EQ(GameWindows(), 1u);

  // The cursor moves with a beep at 30000 frames a second: the beep's 1800 frames of a loud
  // 1500 Hz tone at its own rate of 22050 last 22050 / 30000 as long, 30000 / 22050 as high.
  // The title is silent until then, so the whole file is looked at: the disk driver starts
  // it afresh when the device, resting on the silent title, opens again for the beep.
  Press("Down", platform::kKeyDown);
  ASSERT_TRUE(SameFrame("the cursor on STORY"));
  Sound beep;
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] { return EndedSound(audio, beep); }));
  EXPECT_NEAR(beep.pitch, 1500.0 * 30000 / 22050, 20);
  EXPECT_NEAR(double(beep.frames), 1800.0 * 22050 / 30000, 60);
  EXPECT_GT(beep.peak, 8000);
  Press("Up", platform::kKeyUp);

  Press("Return", platform::kKeyReturn, 2);
  ASSERT_EQ(hearts, 120);
  ASSERT_TRUE(SameFrame("a new game"));
  // A step down (footprints where he stood), then up through the corridor and the doorway.
  for (const char* way : {"Down", "Up", "Up", "Up"}) {
    Step(way, way[0] == 'D' ? platform::kKeyDown : platform::kKeyUp);
    ASSERT_TRUE(SameFrame(std::string("after a step ") + way));
  }
  ASSERT_EQ(currentRoom, 1);
  Press("Return", platform::kKeyReturn, 40);  // the survey: how many are in the room
  ASSERT_EQ(sceneHandlers.confirmKeyHandler, ConfirmMessage);
  ASSERT_TRUE(SameFrame("the survey's line typed out"));
  // The line takes the confirm key from the tick after it shows whole, so a press may come
  // too early: pressed again while the box stays (a press taken shows at once).
  headless::KeyDown(platform::kKeyReturn), headless::Tick(), headless::KeyUp(platform::kKeyReturn);
  headless::Tick();
  bool gone = false;
  for (int i = 0; i < 5 && !gone; ++i) {
    RunX("xdotool key Return");
    gone = SameFrame("the survey's box closed", 2000);
  }
  ASSERT_TRUE(gone);

  // The menu by F10, and 説明 from it; the game stands behind them.
  Press("F10", platform::kKeyF10);
  ASSERT_TRUE(SameFrame("the menu"));
  for (int i = 0; i < 3; ++i) Press("Down", platform::kKeyDown);
  Press("Return", platform::kKeyReturn);
  ASSERT_TRUE(SameFrame("the help dialog"));
  Press("Escape", platform::kKeyEscape);
  ASSERT_TRUE(SameFrame("the help dialog closed"));
  RunX("xdotool key Escape");
  ExpectEndsWithZero();
  std::remove(audio.c_str());
}

TEST_F(RealWindow, At2xAnd3xAndInFullscreenTheFrameIsShownWithEveryPixelRepeated) {
  Start(true);  // a window manager, for fullscreen
  ASSERT_TRUE(SameFrame("the title"));
  RunX("xdotool key ctrl+2");
  ASSERT_TRUE(AtScale(2));
  Press("Down", platform::kKeyDown);
  ASSERT_TRUE(SameFrame("the cursor moved at 2x"));
  RunX("xdotool key ctrl+3");
  ASSERT_TRUE(AtScale(3));
  Press("F10", platform::kKeyF10);
  ASSERT_TRUE(SameFrame("the menu by F10 at 3x"));
  Press("Escape", platform::kKeyEscape);
  // The help dialog by clicks on the menu and its entry, closed by its OK button.
  ChooseByMouse(6);  // 説明
  ASSERT_TRUE(SameFrame("the help dialog at 3x"));
  const platform::Rect ok = platform::DialogCurrentLayout().controls.at(0);
  Click((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2 + platform::MenuBarHeight());
  ASSERT_TRUE(SameFrame("the help dialog closed at 3x"));

  // Fullscreen: the largest whole scale, centred on black; clicks land where it is shown.
  RunX("xdotool key ctrl+1");
  ASSERT_TRUE(AtScale(1));
  RunX("xdotool key alt+Return");
  fullscreen_ = true;
  ASSERT_TRUE(SameFrame("fullscreen"));
  ChooseByMouse(6);
  ASSERT_TRUE(SameFrame("the help dialog in fullscreen"));
  Press("Escape", platform::kKeyEscape);
  RunX("xdotool key alt+Return");
  fullscreen_ = false;
  ASSERT_TRUE(AtScale(1));
  // 終了 chosen by a click at 2x.
  RunX("xdotool key ctrl+2");
  ASSERT_TRUE(AtScale(2));
  ChooseByMouse(8);
  ExpectEndsWithZero();
}

// On a 192 dpi screen the window starts at the scale that keeps it about the size it has at
// 96 dpi: by the desktop's Xft.dpi when it sets one, else by the screen's own density. Once
// the player chooses one (Ctrl+2) it is kept, as 「ピッを表示」 from the 設定 menu is: the next
// start opens at 2x whatever the density says, the beep strip below the picture.
TEST_F(RealWindow, StartsAtTheDesktopsScaleUntilThePlayerChoosesOneAndKeepsTheBeepShown) {
  Start(false, 192);
  const auto restart = [&] {
    RunX("xdotool key Escape");
    ExpectEndsWithZero();
    game_ = Launch();
    ASSERT_TRUE(WaitUntil(kPatienceMs, [&] { return GameWindows(true) == 1; }));
  };
  EXPECT_TRUE(AtScale(2));  // no Xft.dpi: the screen's own
  for (auto [xftDpi, scale] : {std::pair{"96", 1}, {"288", 3}}) {
    RunX(std::string("xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER 'Xft.dpi:\t") +
         xftDpi + "'");
    restart();
    EXPECT_TRUE(AtScale(scale)) << xftDpi;
  }
  RunX("xdotool key ctrl+2");
  ASSERT_TRUE(AtScale(2));
  // F10, to 設定, down past 音楽の音量 and 効果音の音量 to ピッを表示.
  for (auto [xname, key] : {std::pair{"F10", platform::kKeyF10},
                            {"Right", platform::kKeyRight},
                            {"Down", platform::kKeyDown},
                            {"Down", platform::kKeyDown},
                            {"Down", platform::kKeyDown}})
    Press(xname, key);
  ASSERT_TRUE(SameFrame("the 設定 menu on ピッを表示"));
  Press("Return", platform::kKeyReturn);
  ASSERT_TRUE(AtScale(2));  // the window grew by the strip
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] {
    return SettingsText().find("\nscale = 2\n") != std::string::npos &&
           SettingsText().find("\nvisual_beep = true\n") != std::string::npos;
  })) << SettingsText();
  restart();
  ASSERT_TRUE(test::StartGame());  // the headless game, started afresh with the same settings
  headless::Command(platform::kCmdVisualBeep);
  headless::Tick(2);
  EXPECT_TRUE(AtScale(2));
  RunX("xdotool key ctrl+1");  // still free to change
  EXPECT_TRUE(AtScale(1));
}

}  // namespace
}  // namespace quillorn::test
