// The Windows build under Wine, on a private X server: the same program as the headless
// backend's, given the same keys. At each still moment the window's client area, read back
// from the X server, must equal the headless picture pixel for pixel. One X server and one Wine
// prefix serves the whole run, and a copy of the game for each test: one without any sound
// driver, one whose sound goes through Wine's ALSA driver into a file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "gameplay/actors.h"
#include "platform/headless/headless.h"
#include "script/script.h"
#include "shell/main_window.h"
#include "shell/scene_handlers.h"
#include "shell/win_main.h"
#include "wine_session.h"

namespace quillorn::test {
namespace {

constexpr int kPatienceMs = 20000;
constexpr int kClientWidth = 480, kClientHeight = 512;
// As X names it: UTF-8, whatever the execution character set of this file.
const std::string kDialogCaption = reinterpret_cast<const char*>(u8"ﾀﾞｲｱﾛｸﾞ");

// The client area of the game's window: the bottom of the X window, under the menu bar.
int Differences(const Shot& s, const platform::Surface& want) {
  if (s.width != kClientWidth || s.height <= kClientHeight) return -1;
  int top = s.height - kClientHeight, n = 0;
  for (int y = 0; y < want.height; ++y)
    for (int x = 0; x < want.width; ++x) n += s.At(x, top + y) != (want.Row(y)[x] & 0xFFFFFFu);
  return n;
}

std::string PictureKey(const Shot& s) {
  return std::string(s.rgb.end() - kClientWidth * kClientHeight * 3, s.rgb.end());
}
std::string PictureKey(const platform::Surface& p) {
  std::string rgb;
  for (platform::Pixel px : p.pixels)
    rgb += {char(platform::PixelRed(px)), char(platform::PixelGreen(px)),
            char(platform::PixelBlue(px))};
  return rgb;
}

TEST(WindowsBuild, IsOneFileThatNeedsOnlyWindowsOwnLibraries) {
  std::ifstream exe(QUILLORN_WINDOWS_EXE, std::ios::binary | std::ios::ate);
  ASSERT_TRUE(exe) << QUILLORN_WINDOWS_EXE << " is missing: build it with the windows preset";
  EXPECT_LT(exe.tellg(), 3 << 20) << "bytes";
  FILE* f = popen(QUILLORN_OBJDUMP " -p " QUILLORN_WINDOWS_EXE, "r");
  ASSERT_TRUE(f);
  std::set<std::string> dlls;
  char line[512];
  while (std::fgets(line, sizeof line, f))
    if (char name[256]; std::sscanf(line, " DLL Name: %255s", name) == 1) dlls.insert(name);
  pclose(f);
  const std::set<std::string> windowsOwn = {"KERNEL32.dll", "USER32.dll", "GDI32.dll", "WINMM.dll",
                                            "msvcrt.dll"};
  EXPECT_FALSE(dlls.empty());
  for (const std::string& dll : dlls) EXPECT_TRUE(windowsOwn.count(dll)) << dll;
}

class UnderWine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    session_ = new WineSession;
    ready_ = StartWine(*session_, QUILLORN_WINE_PREFIX);
  }
  static void TearDownTestSuite() {
    StopWine(*session_);
    delete session_;
  }
  void SetUp() override { ASSERT_TRUE(ready_) << "Xvfb or the Wine prefix did not start"; }

  // The game under Wine, and the same program on the headless backend, made active as the
  // window is when it opens.
  void StartGame(bool sound) {
    game_ = StartProgram(*session_, QUILLORN_WINDOWS_EXE, {}, sound);
    ASSERT_TRUE(WaitUntil(kPatienceMs, [&] {
      std::vector<std::string> ids = ShownWindows(*session_, "Quillorn");
      if (ids.size() == 1) window_ = ids[0];
      return !window_.empty();
    })) << "no window named Quillorn appeared";
    RunX(*session_, "xdotool windowfocus --sync " + window_);
    headless::Reset(1000);
    ASSERT_TRUE(StartUp());
    headless::SetActive(true);
    headless::Tick(2);
  }
  void TearDown() override {
    int code;
    if (!WaitExit(game_, 0, code)) RunX(*session_, "xdotool key --window " + window_ + " Escape");
    WaitExit(game_, kPatienceMs, code);
  }

  // A key pressed and let go on both; the headless one then runs `ticks` ticks. Held for a
  // few ticks (a step takes eight): on a busy machine a shorter press may fall between two.
  void Key(const char* xname, uint32_t key, int ticks = 0) {
    RunX(*session_, std::string("xdotool keydown ") + xname + " sleep 0.25 keyup " + xname);
    headless::KeyDown(key);
    headless::Tick();
    headless::KeyUp(key);
    headless::Tick(ticks);
  }

  // Waits until the window shows what the headless backend shows.
  void ExpectSamePicture(const char* moment) {
    const platform::Surface& want = headless::WindowPicture();
    int diff = -1;
    Shot s;
    bool same = WaitUntil(kPatienceMs, [&] {
      diff = Grab(*session_, window_, s) ? Differences(s, want) : -1;
      return diff == 0;
    });
    EXPECT_TRUE(same) << moment << ": " << diff << " pixels differ; see " << Keep(moment, s, want);
  }

  // Both pictures of a failed comparison, side by side, as a PPM file in the build folder.
  static std::string Keep(std::string moment, const Shot& s, const platform::Surface& want) {
    for (char& c : moment) c = c == ' ' || c == '\'' ? '-' : c;
    std::string file = std::string(QUILLORN_FAILED_DIR) + "/" + moment + ".ppm";
    std::ofstream ppm(file, std::ios::binary);
    ppm << "P6 " << 2 * kClientWidth << " " << kClientHeight << " 255\n";
    int top = s.height - kClientHeight;
    for (int y = 0; y < kClientHeight; ++y) {
      for (int x = 0; x < kClientWidth; ++x) {
        uint32_t p = s.At(x, top + y);
        ppm << char(p >> 16) << char(p >> 8) << char(p);
      }
      for (int x = 0; x < kClientWidth; ++x) {
        platform::Pixel p = want.Row(y)[x];
        ppm << char(platform::PixelRed(p)) << char(platform::PixelGreen(p))
            << char(platform::PixelBlue(p));
      }
    }
    return file;
  }

  bool DialogShown() { return !ShownWindows(*session_, kDialogCaption).empty(); }

  static WineSession* session_;
  static bool ready_;
  pid_t game_ = -1;
  std::string window_;
};

WineSession* UnderWine::session_ = nullptr;
bool UnderWine::ready_ = false;

// Wine has no sound driver in this run: nothing may wait for one.
TEST_F(UnderWine, APlayerWalksSurveysUsesTheMenuAndTheDialogAndQuitsWithoutSound) {
  StartGame(false);
  ExpectSamePicture("the title");

  // A second copy ends at once, with 0, and leaves the first alone.
  int code = -1;
  ASSERT_TRUE(WaitExit(StartProgram(*session_, QUILLORN_WINDOWS_EXE), kPatienceMs, code));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ShownWindows(*session_, "Quillorn").size(), 1u);

  // A new game, a step down, then three up: through the doorway into room 1.
  Key("Return", platform::kKeyReturn, 2);
  ASSERT_EQ(hearts, 120);
  Key("Down", platform::kKeyDown, 10);
  ASSERT_EQ(actors[kKing].tileY, 4);
  ExpectSamePicture("the king standing after a step");
  // The last step is two: onto the doorway, then out of the new room's doorway.
  Key("Up", platform::kKeyUp, 10);
  ExpectSamePicture("back at the start");
  Key("Up", platform::kKeyUp, 10);
  ExpectSamePicture("in the corridor");
  Key("Up", platform::kKeyUp, 20);
  ExpectSamePicture("room 1 after the doorway");
  ASSERT_EQ(currentRoom, 1);
  // The survey: a line in Japanese typed into the message box.
  Key("Return", platform::kKeyReturn, 40);
  ASSERT_EQ(sceneHandlers.confirmKeyHandler, ConfirmMessage);
  ExpectSamePicture("the survey's line");
  Key("Return", platform::kKeyReturn, 1);

  // The native menu: F10, its drop-down, ゲーム開始 (the second entry).
  RunX(*session_, "xdotool key --delay 150 F10 Return Down Return");
  headless::Command(kCmdStartGame);
  headless::Tick(2);
  ExpectSamePicture("a new game from the menu");
  // Alt this time, and 説明: the help dialog, closed by Esc.
  RunX(*session_, "xdotool key --delay 150 alt Return Down Down Down Return");
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] { return DialogShown(); })) << "the help dialog";
  RunX(*session_, "xdotool key Escape");
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] { return !DialogShown(); })) << "the dialog closed";
  // Keys reach the game again.
  Key("Down", platform::kKeyDown, 10);
  ExpectSamePicture("a step after the dialog");

  // The staff roll, by the command no menu of the window names; it never stands still, so
  // the window must show one of its frames.
  ASSERT_TRUE(
      WaitExit(StartProgram(*session_, QUILLORN_POST_COMMAND_EXE, {"40009"}), kPatienceMs, code));
  ASSERT_EQ(code, 0);
  headless::Command(kCmdStaffRoll);
  headless::Pump();
  std::set<std::string> frames;
  for (int i = 0; i < 1000; ++i, headless::Tick())
    frames.insert(PictureKey(headless::WindowPicture()));
  EXPECT_TRUE(WaitUntil(kPatienceMs, [&] {
    Shot s;
    return Grab(*session_, window_, s) && s.width == kClientWidth && s.height > kClientHeight &&
           frames.count(PictureKey(s));
  })) << "the staff roll";

  // Esc ends the program with 0.
  RunX(*session_, "xdotool key Escape");
  ASSERT_TRUE(WaitExit(game_, kPatienceMs, code));
  EXPECT_EQ(code, 0);
}

// The samples ALSA's file device holds from byte `from` on that are louder than a whisper.
int LoudSamples(const std::string& file, std::streamoff from) {
  std::ifstream in(file, std::ios::binary);
  in.seekg(from);
  int loud = 0;
  for (char b[2]; in.read(b, 2);)
    loud += std::abs(int16_t(uint8_t(b[0]) | uint8_t(b[1]) << 8)) > 64;
  return loud;
}

std::streamoff FileSize(const std::string& file) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  return in ? std::streamoff(in.tellg()) : 0;
}

// With Wine's ALSA driver the cursor's beep reaches the sound device.
TEST_F(UnderWine, TheCursorsBeepReachesWinesSoundDriver) {
  StartGame(true);
  ExpectSamePicture("the title with sound");
  std::streamoff before = FileSize(session_->soundFile);
  EXPECT_EQ(LoudSamples(session_->soundFile, 0), 0) << "the title is silent";
  Key("Down", platform::kKeyDown);
  ExpectSamePicture("the cursor on STORY");
  EXPECT_TRUE(WaitUntil(kPatienceMs,
                        [&] {
                          return LoudSamples(session_->soundFile, before) >
                                 1000;  // the beep is some 100 ms long
                        }))
      << "no beep in " << session_->soundFile;
  RunX(*session_, "xdotool key Escape");
  int code = -1;
  ASSERT_TRUE(WaitExit(game_, kPatienceMs, code));
  EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace quillorn::test
