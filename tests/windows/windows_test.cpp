// The Windows build under Wine, on a private X server: the same program as the headless
// backend's, given the same keys. At each still moment the window's client area, read back
// from the X server, must equal the headless picture pixel for pixel. One X server and one
// Wine prefix serve the whole run, and a copy of the game each test: one without any sound
// driver, one whose sound goes through Wine's ALSA driver into a file.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "game_driver.h"
#include "game_lines.h"
#include "platform/settings/settings.h"
#include "script/message_box.h"
#include "shell/main_window.h"
#include "wine_session.h"

namespace quillorn::test {
namespace {

constexpr int kPatienceMs = 20000;

// Samples of what ALSA's file device was given that are not near silence.
int LoudSamples(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  int loud = 0;
  for (int16_t v; in.read(reinterpret_cast<char*>(&v), 2);) loud += std::abs(v) > 64;
  return loud;
}

// The exit code of a program that ends within the patience, else -1.
int ExitCode(pid_t program) {
  int code = -1;
  return WaitExit(program, kPatienceMs, code) ? code : -1;
}

TEST(WindowsBuild, IsOneFileThatNeedsOnlyWindowsOwnLibraries) {
  std::ifstream exe(QUILLORN_WINDOWS_EXE, std::ios::binary | std::ios::ate);
  ASSERT_TRUE(exe) << QUILLORN_WINDOWS_EXE << " is missing: build it with the windows preset";
  EXPECT_LT(exe.tellg(), 3 << 20) << "bytes";
  // XInput is loaded while the game runs, so that the game starts without it.
  EXPECT_EQ(Output("x86_64-w64-mingw32-objdump -p " QUILLORN_WINDOWS_EXE
                   " | sed -n 's/.*DLL Name: //p' | LC_ALL=C sort"),
            "GDI32.dll\nKERNEL32.dll\nUSER32.dll\nWINMM.dll\nmsvcrt.dll\n");
}

class UnderWine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ready_ = StartWine(wine_, QUILLORN_WINE_DIR); }
  static void TearDownTestSuite() { StopWine(wine_); }
  void TearDown() override {
    if (!window_.empty()) Quit("--window " + window_);
  }

  // The game under Wine, and the same program on the headless backend, made active as the
  // window is when it opens.
  void StartGame(bool sound) {
    ASSERT_TRUE(ready_) << "Xvfb or the Wine prefix did not start";
    game_ = StartProgram(wine_, QUILLORN_WINDOWS_EXE, "", sound, errors_);
    ASSERT_TRUE(WaitUntil(kPatienceMs, [&] {
      const std::string ids = ShownWindows(wine_, "Quillorn");
      window_ = std::count(ids.begin(), ids.end(), '\n') == 1 ? ids.substr(0, ids.size() - 1) : "";
      return !window_.empty();
    })) << "no window named Quillorn appeared";
    RunX(wine_, "xdotool windowfocus --sync " + window_);
    StartAtTitle();
  }
  // Esc (to the window in front, unless told where), then the game's exit code.
  int Quit(const std::string& where = "") {
    int code = -1;
    if (game_ > 0 && !WaitExit(game_, 0, code))
      RunX(wine_, "xdotool key " + where + " Escape"), code = ExitCode(game_);
    game_ = -1;
    return code;
  }

  // A key pressed and let go on both; the headless one then runs `ticks` ticks. Held for a
  // few ticks (a step takes eight): on a busy machine a shorter press may fall between two.
  // With a moment named, the window must then show the headless picture.
  void Key(const char* xname, uint32_t key, int ticks = 0, const std::string& moment = "") {
    RunX(wine_, std::string("xdotool keydown ") + xname + " sleep 0.25 keyup " + xname);
    Hold(key, 1);
    headless::Tick(ticks);
    if (!moment.empty()) ExpectSamePicture(moment);
  }
  // A command chosen by keys from the native menu (none: chosen before), and given to the
  // headless game; the window must then show the headless picture.
  void Choose(const char* keys, uint32_t command, const std::string& moment) {
    if (*keys) RunX(wine_, std::string("xdotool key --delay 150 ") + keys);
    headless::Command(command);
    headless::Tick(2);
    ExpectSamePicture(moment);
  }

  // The headless frame below its menu bar (the native one is not the client area's), each
  // pixel repeated k times: what the window's client area must show.
  static Shot Client(int k = 1) {
    platform::Surface f = ComposedFrame();
    f.pixels.erase(f.pixels.begin(), f.pixels.begin() + platform::kMenuBarHeight * f.width);
    f.height -= platform::kMenuBarHeight;
    return Placed(f, k, f.width * k, f.height * k);
  }
  // Waits until the window shows it.
  void ExpectSamePicture(const std::string& moment, int k = 1) {
    const Shot want = Client(k);
    long diff = -1;
    const auto same = [&] {
      diff = Differences(ClientPicture(wine_, window_, want.width, want.height), want);
      return diff == 0;
    };
    EXPECT_TRUE(WaitUntil(kPatienceMs, same)) << moment << ": " << diff << " pixels differ";
  }

  // Waits until the help dialog is shown, or gone. Its name as X gives it: UTF-8, whatever
  // the execution character set of this file.
  bool Dialog(bool shown) {
    return WaitUntil(kPatienceMs, [&] {
      return ShownWindows(wine_, reinterpret_cast<const char*>(u8"ﾀﾞｲｱﾛｸﾞ")).empty() != shown;
    });
  }
  // %APPDATA%\Quillorn\settings.ini in the prefix.
  std::string AppDataSettings() {
    return Output("cat '" + wine_.prefix +
                  "'/drive_c/users/*/AppData/Roaming/Quillorn/settings.ini");
  }
  // The game said one line on its standard error, and it begins as the pattern says.
  void ExpectOneLine(const char* pattern) {
    const std::vector<std::string> lines = GameLines(errors_);
    ASSERT_EQ(lines.size(), 1u) << testing::PrintToString(lines);
    EXPECT_TRUE(std::regex_search(lines[0], std::regex(pattern))) << lines[0];
  }

  inline static WineSession wine_;
  inline static bool ready_ = false;
  pid_t game_ = -1;
  std::string window_;
  const std::string errors_ = std::string(QUILLORN_WINE_DIR) + "/errors.txt";
};

// Wine has no sound driver and no XInput in this run: nothing may wait for them, and one line
// says that the game plays without sound.
TEST_F(UnderWine, APlayerWalksSurveysUsesTheMenuAndTheDialogAndQuitsWithoutSound) {
  ASSERT_NO_FATAL_FAILURE(StartGame(false));
  ExpectSamePicture("the title");

  // Ctrl+2: the client area at 2x, nearest neighbour; Ctrl+1 back.
  RunX(wine_, "xdotool key ctrl+2");
  ExpectSamePicture("the title at 2x", 2);
  RunX(wine_, "xdotool key ctrl+1");
  ExpectSamePicture("the title at 1x again");
  // Ctrl+Alt+2 (AltGr+2 on European keyboards) is no scale key: the Down after it is shown at
  // 1x, which a window at 2x could never show.
  RunX(wine_, "xdotool key ctrl+alt+2");
  Key("Down", platform::kKeyDown, 0, "the cursor on STORY at 1x after Ctrl+Alt+2");
  Key("Up", platform::kKeyUp, 0, "the cursor back on GAME");

  // A second copy ends at once, with 0, and leaves the first alone.
  ASSERT_EQ(ExitCode(StartProgram(wine_, QUILLORN_WINDOWS_EXE)), 0);
  EXPECT_EQ(ShownWindows(wine_, "Quillorn"), window_ + "\n");

  // A new game, a step down, then three up: through the doorway into room 1. Each has 20
  // ticks, as the last step is two: onto the doorway, then out of the new room's doorway.
  Key("Return", platform::kKeyReturn, 2);
  for (const char* way : {"Down", "Up", "Up", "Up"})
    Key(way, way[0] == 'D' ? platform::kKeyDown : platform::kKeyUp, 20,
        std::string("after a step ") + way);
  ASSERT_EQ(currentRoom, 1);
  // The survey: a line in Japanese typed into the message box.
  Key("Return", platform::kKeyReturn, 40, "the survey's line");
  ASSERT_EQ(sceneHandlers.confirmKeyHandler, ConfirmMessage);
  Key("Return", platform::kKeyReturn, 1);

  // The native menu: F10, its drop-down, ゲーム開始 (the second entry).
  Choose("F10 Return Down Return", kCmdStartGame, "a new game from the menu");
  // Alt this time, and 説明: the help dialog, closed by Esc; then keys reach the game again.
  RunX(wine_, "xdotool key --delay 150 alt Return Down Down Down Return");
  EXPECT_TRUE(Dialog(true)) << "the help dialog";
  RunX(wine_, "xdotool key Escape");
  EXPECT_TRUE(Dialog(false)) << "the dialog closed";
  Key("Down", platform::kKeyDown, 10, "a step after the dialog");

  // The staff roll, by the command no menu of the window names; it never stands still, so
  // the window must show one of its frames.
  ASSERT_EQ(ExitCode(StartProgram(wine_, QUILLORN_POST_COMMAND_EXE, "40009")), 0);
  headless::Command(kCmdStaffRoll);
  headless::Pump();
  std::set<std::vector<uint32_t>> frames;
  for (int i = 0; i < 1000; ++i, headless::Tick()) frames.insert(Client().rgb);
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] {
    return frames.count(ClientPicture(wine_, window_, 480, 512).rgb) > 0;
  })) << "the staff roll";

  EXPECT_EQ(Quit(), 0);
  ExpectOneLine("^quillorn: no sound device \\(waveOut error .*\\); the game plays without sound");
}

// Without a display Windows has no window for the game: it ends at once, with code 1 and a
// line that says so (its message box cannot show either). Wine's desktop is left without a
// display too, and no later window could open: its server starts afresh.
TEST_F(UnderWine, WithoutADisplayItEndsAtOnceWithALineAndCodeOne) {
  ASSERT_TRUE(ready_) << "Xvfb or the Wine prefix did not start";
  const int code =
      ExitCode(StartProgram(wine_, QUILLORN_WINDOWS_EXE, "", false, errors_, UnusedDisplay()));
  EXPECT_TRUE(RunWine(wine_, "wineserver --kill") && RunWine(wine_, "wineserver --persistent"));
  ASSERT_EQ(code, 1) << "-1: still running, it waits for ever";
  ExpectOneLine("^quillorn: cannot open the game's window: Windows error ");
}

// With Wine's ALSA driver the cursor's beep reaches the sound device. 「ピッを表示」 from the
// native 設定 menu by its keys: the client area grows by the beep strip below the picture,
// and the choice is kept in %APPDATA% for the next start.
TEST_F(UnderWine, TheCursorsBeepIsHeardAndTheBeepShownFromTheNativeMenuIsKeptInAppData) {
  ASSERT_NO_FATAL_FAILURE(StartGame(true));
  ExpectSamePicture("the title with sound");
  EXPECT_EQ(LoudSamples(wine_.soundFile), 0) << "the title is silent";
  Key("Down", platform::kKeyDown, 0, "the cursor on STORY");
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] { return LoudSamples(wine_.soundFile) > 1000; }))
      << "no beep in " << wine_.soundFile;  // the beep is some 100 ms long

  const char* showBeep = "F10 Right Return Down Down Down Return";
  Choose(showBeep, platform::kCmdVisualBeep, "the strip below the picture");
  ASSERT_EQ(Quit(), 0);
  EXPECT_NE(AppDataSettings().find("\nvisual_beep = true\n"), std::string::npos);
  ASSERT_NO_FATAL_FAILURE(StartGame(false));  // the headless game afresh: no strip until told
  Choose("", platform::kCmdVisualBeep, "the strip after a restart");
  // Off again, so that the other tests find the prefix as they left it.
  Choose(showBeep, platform::kCmdVisualBeep, "the strip gone");
  ASSERT_EQ(Quit(), 0);
  EXPECT_NE(AppDataSettings().find("\nvisual_beep = false\n"), std::string::npos);
}

}  // namespace
}  // namespace quillorn::test
