// The real program started as a new user may start it, where something is missing: without
// any display, or with a video driver or display that is not there, it ends at once with one
// line that says why and a code that is not 0 (never a window nobody sees, waiting for ever);
// without a sound device it plays, says so in one line, and Esc still ends it with 0; an X
// error its window may meet on the way out does not end it with 1.
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "game_lines.h"
#include "platform/platform.h"
#include "platform/sdl/x_errors.h"
#include "real_window.h"

// After the tests' headers, whose names Xlib's macros would change.
#include <X11/Xlib.h>

namespace quillorn::test {
namespace {

TEST(RealProgram, WithoutADisplayItEndsAtOnceWithALineThatSaysWhyAndCodeOne) {
  const std::string noServer = UnusedDisplay(), noServerEnv = "DISPLAY=" + noServer;
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

// SDL's wake-up sent to the window just before it went reaches the server after it: that
// BadWindow passes, as the game closes; any other error still reaches the handler before.
TEST_F(RealWindow, AWakeUpSentToAGoneWindowPassesAndOtherErrorsDoNot) {
  Start(false);
  static int reached = 0;
  XSetErrorHandler([](Display*, XErrorEvent*) { return ++reached, 0; });
  platform::sdl::LetGoneWindowWakeUpsPass();
  Display* x = XOpenDisplay((":" + std::to_string(display_)).c_str());
  ASSERT_NE(x, nullptr);
  const Window gone = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 8, 8, 0, 0, 0);
  XDestroyWindow(x, gone);
  XEvent wake{};
  wake.xclient = {ClientMessage, 0, True, x, gone, XInternAtom(x, "_SDL_WAKEUP", False), 8, {}};
  XSendEvent(x, gone, False, NoEventMask, &wake);
  XSync(x, False);
  EXPECT_EQ(reached, 0);
  XMapWindow(x, gone);
  XSync(x, False);
  EXPECT_EQ(reached, 1);
  XCloseDisplay(x);
}

}  // namespace
}  // namespace quillorn::test
