// The real program started as a new user may start it, where something is missing: without
// any display, or with a video driver or display that is not there, it ends at once with one
// line that says why and a code that is not 0 (never a window nobody sees, waiting for ever);
// without a sound device it plays, says so in one line, and Esc still ends it with 0.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "game_lines.h"
#include "platform/platform.h"
#include "real_window.h"

namespace quillorn::test {
namespace {

TEST(RealProgram, WithoutADisplayItEndsAtOnceWithALineThatSaysWhyAndCodeOne) {
  // A display number no X server of this machine has.
  int unused = 500 + getpid() % 4000;
  for (struct stat st; stat(("/tmp/.X11-unix/X" + std::to_string(unused)).c_str(), &st) == 0;)
    ++unused;
  const std::string noServer = ":" + std::to_string(unused), noServerEnv = "DISPLAY=" + noServer;
  const struct {
    const char* name;
    std::vector<const char*> env;  // for env(1)
    std::string hint;              // in the line, after what failed
  } cases[] = {
      {"no display at all",
       {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY"},
       "neither DISPLAY nor WAYLAND_DISPLAY is set"},
      {"an unknown video driver",
       {"SDL_VIDEODRIVER=nonesuch"},
       "(SDL_VIDEODRIVER=nonesuch): unset SDL_VIDEODRIVER"},
      {"a display nobody answers",
       {"-u", "WAYLAND_DISPLAY", noServerEnv.c_str()},
       "the display " + noServer + " does not answer"},
  };
  const std::string errors = "start-errors-" + std::to_string(getpid()) + ".txt";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<const char*> argv = {"env"};
    argv.insert(argv.end(), c.env.begin(), c.env.end());
    argv.insert(argv.end(), {"SDL_AUDIODRIVER=dummy", QUILLORN_EXE});
    pid_t game = Spawn(argv, {"LSAN_OPTIONS=suppressions=" QUILLORN_LSAN_SUPPRESSIONS}, errors);
    int code = -1;
    ASSERT_TRUE(WaitExit(game, kPatienceMs, code)) << "still running: it waits for ever";
    EXPECT_EQ(code, 1);
    std::vector<std::string> lines = GameLines(errors);
    ASSERT_EQ(lines.size(), 1u) << testing::PrintToString(lines);
    EXPECT_EQ(lines[0].rfind("quillorn: cannot open the game's window: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(c.hint), std::string::npos) << lines[0];
  }
  std::remove(errors.c_str());
}

TEST_F(RealWindow, WithoutASoundDeviceItPlaysSaysSoInOneLineAndEscEndsItWithZero) {
  // SDL's disk output into a folder that is not there: a device that cannot be opened.
  errors_ = "no-sound-errors-" + std::to_string(getpid()) + ".txt";
  Start(false, 100, "/nonexistent-folder/sound.raw");
  ASSERT_TRUE(SameFrame("the title without sound"));
  Press("Down", platform::kKeyDown);
  ASSERT_TRUE(SameFrame("the cursor moved without its beep"));
  RunX("xdotool key Escape");
  ExpectEndsWithZero();
  EXPECT_EQ(GameLines(errors_),
            std::vector<std::string>{"quillorn: no sound device (SDL: Couldn't open "
                                     "/nonexistent-folder/sound.raw); the game plays without "
                                     "sound"});
  std::remove(errors_.c_str());
}

}  // namespace
}  // namespace quillorn::test
