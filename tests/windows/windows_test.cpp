// The Windows build under Wine, on a private X server: the same program as the headless
// backend's, given the same keys. At each still moment the window's client area, read back
// from the X server, must equal the headless picture pixel for pixel. One X server and one
// Wine prefix serve the whole run, and a copy of the game each test: one without any sound
// driver, one whose sound goes through Wine's ALSA driver into a file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
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
constexpr int kWidth = 480;

// Samples from byte `from` on of what ALSA's file device was given that are not near silence.
int LoudSamples(const std::string& file, std::streamoff from) {
  std::ifstream in(file, std::ios::binary);
  in.seekg(from);
  int loud = 0;
  for (char b[2]; in.read(b, 2);)
    loud += std::abs(int16_t(uint8_t(b[0]) | uint8_t(b[1]) << 8)) > 64;
  return loud;
}

TEST(WindowsBuild, IsOneFileThatNeedsOnlyWindowsOwnLibraries) {
  std::ifstream exe(QUILLORN_WINDOWS_EXE, std::ios::binary | std::ios::ate);
  ASSERT_TRUE(exe) << QUILLORN_WINDOWS_EXE << " is missing: build it with the windows preset";
  EXPECT_LT(exe.tellg(), 3 << 20) << "bytes";
  const std::set<std::string> windowsOwn = {"KERNEL32.dll", "USER32.dll", "GDI32.dll", "WINMM.dll",
                                            "msvcrt.dll"};
  std::istringstream lines(Output("x86_64-w64-mingw32-objdump -p " QUILLORN_WINDOWS_EXE));
  int dlls = 0;
  for (std::string line; std::getline(lines, line);)
    if (size_t at = line.find("DLL Name: "); at != std::string::npos) {
      ++dlls;
      EXPECT_TRUE(windowsOwn.count(line.substr(at + 10))) << line;
    }
  EXPECT_GT(dlls, 0);
}

class UnderWine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ready_ = StartWine(wine_, QUILLORN_WINE_DIR); }
  static void TearDownTestSuite() { StopWine(wine_); }
  void TearDown() override {
    int code;
    if (game_ > 0 && !window_.empty() && !WaitExit(game_, 0, code))
      RunX(wine_, "xdotool key --window " + window_ + " Escape");
    WaitExit(game_, kPatienceMs, code);
  }

  // The game under Wine, and the same program on the headless backend, made active as the
  // window is when it opens.
  void StartGame(bool sound) {
    ASSERT_TRUE(ready_) << "Xvfb or the Wine prefix did not start";
    game_ = StartProgram(wine_, QUILLORN_WINDOWS_EXE, "", sound, errors_);
    ASSERT_TRUE(WaitUntil(kPatienceMs, [&] {
      std::vector<std::string> ids = ShownWindows(wine_, "Quillorn");
      window_ = ids.size() == 1 ? ids[0] : "";
      return !window_.empty();
    })) << "no window named Quillorn appeared";
    RunX(wine_, "xdotool windowfocus --sync " + window_);
    StartAtTitle();
  }

  // A key pressed and let go on both; the headless one then runs `ticks` ticks. Held for a
  // few ticks (a step takes eight): on a busy machine a shorter press may fall between two.
  void Key(const char* xname, uint32_t key, int ticks = 0) {
    RunX(wine_, std::string("xdotool keydown ") + xname + " sleep 0.25 keyup " + xname);
    headless::KeyDown(key);
    headless::Tick();
    headless::KeyUp(key);
    headless::Tick(ticks);
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
    EXPECT_TRUE(
        WaitUntil(kPatienceMs,
                  [&] {
                    return (diff = Differences(
                                ClientPicture(wine_, window_, want.width, want.height), want)) == 0;
                  }))
        << moment << ": " << diff << " pixels differ";
  }

  bool DialogShown() {
    // As X names it: UTF-8, whatever the execution character set of this file.
    return !ShownWindows(wine_, reinterpret_cast<const char*>(u8"ﾀﾞｲｱﾛｸﾞ")).empty();
  }

  static WineSession wine_;
  static bool ready_;
  pid_t game_ = -1;
  std::string window_;
  const std::string errors_ = std::string(QUILLORN_WINE_DIR) + "/errors.txt";
};

WineSession UnderWine::wine_;
bool UnderWine::ready_ = false;

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
  Key("Down", platform::kKeyDown);
  ExpectSamePicture("the cursor on STORY at 1x after Ctrl+Alt+2");
  Key("Up", platform::kKeyUp);
  ExpectSamePicture("the cursor back on GAME");

  // A second copy ends at once, with 0, and leaves the first alone.
  int code = -1;
  ASSERT_TRUE(WaitExit(StartProgram(wine_, QUILLORN_WINDOWS_EXE), kPatienceMs, code));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ShownWindows(wine_, "Quillorn").size(), 1u);

  // A new game, a step down, then three up: through the doorway into room 1. The last step
  // is two: onto the doorway, then out of the new room's doorway.
  Key("Return", platform::kKeyReturn, 2);
  for (auto [xname, key, ticks] : {std::tuple{"Down", platform::kKeyDown, 10},
                                   {"Up", platform::kKeyUp, 10},
                                   {"Up", platform::kKeyUp, 10},
                                   {"Up", platform::kKeyUp, 20}}) {
    Key(xname, key, ticks);
    ExpectSamePicture(std::string("after a step ") + xname);
  }
  ASSERT_EQ(currentRoom, 1);
  // The survey: a line in Japanese typed into the message box.
  Key("Return", platform::kKeyReturn, 40);
  ASSERT_EQ(sceneHandlers.confirmKeyHandler, ConfirmMessage);
  ExpectSamePicture("the survey's line");
  Key("Return", platform::kKeyReturn, 1);

  // The native menu: F10, its drop-down, ゲーム開始 (the second entry).
  RunX(wine_, "xdotool key --delay 150 F10 Return Down Return");
  headless::Command(kCmdStartGame);
  headless::Tick(2);
  ExpectSamePicture("a new game from the menu");
  // Alt this time, and 説明: the help dialog, closed by Esc; then keys reach the game again.
  RunX(wine_, "xdotool key --delay 150 alt Return Down Down Down Return");
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] { return DialogShown(); })) << "the help dialog";
  RunX(wine_, "xdotool key Escape");
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] { return !DialogShown(); })) << "the dialog closed";
  Key("Down", platform::kKeyDown, 10);
  ExpectSamePicture("a step after the dialog");

  // The staff roll, by the command no menu of the window names; it never stands still, so
  // the window must show one of its frames.
  ASSERT_TRUE(WaitExit(StartProgram(wine_, QUILLORN_POST_COMMAND_EXE, "40009"), kPatienceMs, code));
  ASSERT_EQ(code, 0);
  headless::Command(kCmdStaffRoll);
  headless::Pump();
  std::set<std::vector<uint32_t>> frames;
  for (int i = 0; i < 1000; ++i, headless::Tick()) frames.insert(Client().rgb);
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] {
    return frames.count(ClientPicture(wine_, window_, kWidth, 512).rgb) > 0;
  })) << "the staff roll";

  // Esc ends the program with 0.
  RunX(wine_, "xdotool key Escape");
  ASSERT_TRUE(WaitExit(game_, kPatienceMs, code));
  EXPECT_EQ(code, 0);
  std::vector<std::string> lines = GameLines(errors_);
  ASSERT_EQ(lines.size(), 1u) << testing::PrintToString(lines);
  EXPECT_EQ(lines[0].rfind("quillorn: no sound device (waveOut error ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find("); the game plays without sound"), std::string::npos) << lines[0];
}

// Without a display Windows has no window for the game: it ends at once, with code 1 and a
// line that says so (its message box cannot show either).
TEST_F(UnderWine, WithoutADisplayItEndsAtOnceWithALineAndCodeOne) {
  ASSERT_TRUE(ready_) << "Xvfb or the Wine prefix did not start";
  pid_t game = StartProgram(wine_, QUILLORN_WINDOWS_EXE, "", false, errors_, UnusedDisplay());
  int code = -1;
  bool ended = WaitExit(game, kPatienceMs, code);
  EXPECT_TRUE(RestartWineServer(wine_));
  ASSERT_TRUE(ended) << "still running: it waits for ever";
  EXPECT_EQ(code, 1);
  std::vector<std::string> lines = GameLines(errors_);
  ASSERT_EQ(lines.size(), 1u) << testing::PrintToString(lines);
  EXPECT_EQ(lines[0].rfind("quillorn: cannot open the game's window: Windows error ", 0), 0u)
      << lines[0];
}

// The text of %APPDATA%\Quillorn\settings.ini in the prefix, "" while there is none.
std::string AppDataSettings(const std::string& prefix) {
  std::error_code e;
  for (const auto& f : std::filesystem::recursive_directory_iterator(prefix + "/drive_c/users", e))
    if (f.path().filename() == "settings.ini" && f.path().parent_path().filename() == "Quillorn") {
      std::ifstream in(f.path());
      return std::string(std::istreambuf_iterator<char>(in), {});
    }
  return "";
}

// 「ピッを表示」 from the native 設定 menu by its keys: the client area grows by the beep strip
// below the picture, and the choice is kept in %APPDATA% for the next start.
TEST_F(UnderWine, TheBeepShownFromTheNativeSettingsMenuIsKeptInAppData) {
  StartGame(false);
  ExpectSamePicture("the title");
  RunX(wine_, "xdotool key --delay 150 F10 Right Return Down Down Down Return");
  headless::Command(platform::kCmdVisualBeep);
  headless::Tick(2);
  ExpectSamePicture("the title with the strip below it");
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] {
    return AppDataSettings(wine_.prefix).find("\nvisual_beep = true\n") != std::string::npos;
  })) << AppDataSettings(wine_.prefix);
  RunX(wine_, "xdotool key Escape");
  int code = -1;
  ASSERT_TRUE(WaitExit(game_, kPatienceMs, code));
  StartGame(false);  // the headless game afresh: without the strip until told
  headless::Command(platform::kCmdVisualBeep);
  headless::Tick(2);
  ExpectSamePicture("the strip after a restart");
  // Off again, so that the other tests find the prefix as they left it.
  RunX(wine_, "xdotool key --delay 150 F10 Right Return Down Down Down Return");
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] {
    return AppDataSettings(wine_.prefix).find("\nvisual_beep = false\n") != std::string::npos;
  }));
}

// With Wine's ALSA driver the cursor's beep reaches the sound device.
TEST_F(UnderWine, TheCursorsBeepReachesWinesSoundDriver) {
  ASSERT_NO_FATAL_FAILURE(StartGame(true));
  ExpectSamePicture("the title with sound");
  EXPECT_EQ(LoudSamples(wine_.soundFile, 0), 0) << "the title is silent";
  std::streamoff before = std::ifstream(wine_.soundFile, std::ios::ate).tellg();
  Key("Down", platform::kKeyDown);
  ExpectSamePicture("the cursor on STORY");
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] { return LoudSamples(wine_.soundFile, before) > 1000; }))
      << "no beep in " << wine_.soundFile;  // the beep is some 100 ms long
}

}  // namespace
}  // namespace quillorn::test
