#include "real_window.h"

#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "harness.h"
#include "platform/chrome/ui_look.h"
// Last: Xlib's macros would clash with our names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quillorn::test {

namespace {

void Reap(pid_t& pid, int signal) {
  int code;
  if (pid > 0 && !WaitExit(pid, 0, code)) kill(pid, signal), waitpid(pid, nullptr, 0);
  pid = -1;
}

}  // namespace

void RealWindow::SetUp() {
  config_ = (std::filesystem::temp_directory_path() /
             ("quillorn-window-config-" + std::to_string(getpid())))
                .string();
  std::filesystem::remove_all(config_);
}

void RealWindow::TearDown() {
  StopAll();
  std::filesystem::remove_all(config_);
}

std::string RealWindow::SettingsText() const {
  std::ifstream in(config_ + "/quillorn/settings.ini");
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void RealWindow::Start(bool windowManager, int dpi, const std::string& diskAudio) {
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a window gone: no picture
  ASSERT_TRUE(test::StartGame());
  headless::Tick(2);  // the title comes on the second tick
  // A game of another run on this machine, still ending on the display number our new server
  // was just given, holds that display's single-copy lock: ours then ends at once, as a
  // second copy must. Such a start is tried again on a fresh server.
  for (int attempt = 0; attempt < 3 && window_.empty(); ++attempt) {
    StopAll();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    // A screen with room for 3x (1440 x 1596), of a shape unlike the window's; it keeps what
    // clients leave on it (root window properties) when they go.
    server_ =
        Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]).c_str(), "-screen", "0", "1600x1700x24",
               "-dpi", std::to_string(dpi).c_str(), "-noreset", "-nolisten", "tcp"},
              {}, "/dev/null");
    close(fds[1]);
    FILE* from = fdopen(fds[0], "r");  // the display the server took, once it is ready
    const bool started = std::fscanf(from, "%d", &display_) == 1;
    std::fclose(from);
    ASSERT_TRUE(started) << "Xvfb did not start (is the xvfb package installed?)";
    if (windowManager) {
      windowManager_ =
          Spawn({"openbox", "--sm-disable"}, {"DISPLAY=:" + std::to_string(display_)}, "/dev/null");
      ASSERT_TRUE(WaitUntil(kPatienceMs, [&] {
        return RunX("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos;
      })) << "openbox did not start";
    }
    game_ = Launch("", diskAudio, errors_);
    int code;
    WaitUntil(kPatienceMs, [&] { return GameWindows(true) == 1 || WaitExit(game_, 0, code); });
  }
  ASSERT_FALSE(window_.empty()) << "no window named Quillorn appeared";
}

void RealWindow::StopAll() {
  if (x_) XCloseDisplay(static_cast<Display*>(x_));
  x_ = nullptr;
  Reap(game_, SIGKILL);
  Reap(windowManager_, SIGKILL);
  Reap(server_, SIGTERM);
  window_.clear();
}

pid_t RealWindow::Launch(const std::string& suffix, const std::string& diskAudio,
                         const std::string& errors) {
  // In a sanitizer build, leaks of the system libraries behind the window are not ours.
  return Spawn({QUILLORN_EXE},
               {"DISPLAY=:" + std::to_string(display_) + suffix, "SDL_VIDEODRIVER=x11",
                "SDL_AUDIODRIVER=" + std::string(diskAudio.empty() ? "dummy" : "disk"),
                "SDL_DISKAUDIOFILE=" + diskAudio, "XDG_CONFIG_HOME=" + config_,
                "LSAN_OPTIONS=suppressions=" QUILLORN_LSAN_SUPPRESSIONS},
               errors);
}

size_t RealWindow::GameWindows(bool shown) {
  std::istringstream in(
      RunX("xdotool search " + std::string(shown ? "--onlyvisible " : "") + "--name '^Quillorn$'"));
  std::vector<std::string> ids{std::istream_iterator<std::string>(in), {}};
  if (shown && ids.size() == 1) window_ = ids[0], RunX("xdotool windowfocus --sync " + ids[0]);
  return ids.size();
}

std::string RealWindow::RunX(const std::string& command) {
  return Output("DISPLAY=:" + std::to_string(display_) + " " + command + " 2>/dev/null");
}

void RealWindow::Press(const char* xname, uint32_t key, int ticks) {
  RunX(std::string("xdotool keydown ") + xname + " sleep 0.1 keyup " + xname);
  headless::KeyDown(key);
  headless::Tick();
  headless::KeyUp(key);
  headless::Tick(ticks);
}

void RealWindow::Step(const char* xname, uint32_t key) {
  // Held until the window shows the step's first half, then let go: one step however slowly
  // the game runs.
  headless::KeyDown(key);
  std::vector<Shot> firstHalf(4);
  for (Shot& frame : firstHalf) headless::Tick(), frame = Want();
  headless::KeyUp(key);
  headless::Tick(20);
  RunX(std::string("xdotool keydown ") + xname);
  Shot now;
  WaitUntil(
      kPatienceMs,
      [&] {
        return Grab(now) && std::any_of(firstHalf.begin(), firstHalf.end(),
                                        [&](const Shot& f) { return Differences(now, f) == 0; });
      },
      5);
  RunX(std::string("xdotool keyup ") + xname);
  // Let go late on a heavily loaded machine, it walks on: the headless game follows.
  for (int more = 0; more < 3 && !SameFrame("a step"); ++more)
    headless::KeyDown(key), headless::Tick(), headless::KeyUp(key), headless::Tick(20);
}

void RealWindow::Click(int x, int y) {
  // The middle of the frame pixel's block; fullscreen shows it at 3x, 80 and 52 pixels in.
  int k = fullscreen_ ? 3 : k_, left = fullscreen_ ? 80 : 0, top = fullscreen_ ? 52 : 0;
  RunX("xdotool mousemove --window " + window_ + " " + std::to_string(left + x * k + k / 2) + " " +
       std::to_string(top + y * k + k / 2) + " sleep 0.1 click 1");
  // The same on the headless game, as the window routes it: to an open dialog, else the bar.
  for (bool down : {true, false}) {
    if (platform::DialogIsOpen()) {
      platform::DialogMouse(x, y - platform::MenuBarHeight(), down);
    } else {
      if (down) platform::MenuBarMouseMove(x, y);
      platform::MenuBarMouse(x, y, down);
    }
  }
  headless::Pump();
}

void RealWindow::ChooseByMouse(int entry) {
  platform::Rect t = platform::MenuBarTitleRect(0), d;
  Click((t.left + t.right) / 2, platform::MenuBarHeight() / 2);
  platform::MenuBarDropDownRect(d);
  int x = (d.left + d.right) / 2, y = d.top;  // the entry's middle row
  while (y < d.bottom && platform::MenuBarEntryAt(x, y) != entry) ++y;
  Click(x, y + platform::kMenuEntryHeight / 2);
}

bool RealWindow::Grab(Shot& s) {
  // Straight from the server: quick enough to see a step begin.
  if (!x_) x_ = XOpenDisplay((":" + std::to_string(display_)).c_str());
  auto* x = static_cast<Display*>(x_);
  XWindowAttributes a;
  XImage* image = x && !window_.empty() && XGetWindowAttributes(x, std::stoul(window_), &a)
                      ? XGetImage(x, std::stoul(window_), 0, 0, unsigned(a.width),
                                  unsigned(a.height), AllPlanes, ZPixmap)
                      : nullptr;
  if (!image) return false;
  s = {a.width, a.height, std::vector<uint32_t>(size_t(a.width) * size_t(a.height))};
  for (int y = 0; y < a.height; ++y)
    for (int i = 0; i < a.width; ++i)
      s.rgb[size_t(y) * size_t(a.width) + size_t(i)] = XGetPixel(image, i, y) & 0xFFFFFFu;
  XDestroyImage(image);
  return true;
}

Shot RealWindow::Want() {
  // 1600 x 1700 holds the 480 x 532 frame three times over, 80 pixels from the left edge
  // and 52 from the top, on black.
  const platform::Surface frame = ComposedFrame();
  return fullscreen_ ? Placed(frame, 3, 1600, 1700, 80, (1700 - 3 * frame.height) / 2)
                     : Placed(frame, k_, 480 * k_, frame.height * k_);
}

::testing::AssertionResult RealWindow::SameFrame(const std::string& moment, int patienceMs) {
  const Shot want = Want();
  long wrong = -1;
  Shot got;
  if (WaitUntil(patienceMs, [&] { return Grab(got) && (wrong = Differences(got, want)) == 0; }))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << moment << ": " << wrong << " pixels differ";
}

::testing::AssertionResult RealWindow::AtScale(int k) {
  k_ = k;
  const int height = 532 + platform::CueStripHeight();
  std::string size = std::to_string(480 * k) + " by " + std::to_string(height * k), hints;
  // A window of fixed size: the least and the most the window manager may make it.
  if (WaitUntil(kPatienceMs, [&] {
        hints = RunX("xprop -id " + window_ + " WM_NORMAL_HINTS");
        return hints.find("minimum size: " + size) != std::string::npos &&
               hints.find("maximum size: " + size) != std::string::npos;
      }))
    return SameFrame("at " + std::to_string(k) + "x");
  return ::testing::AssertionFailure() << "not " << size << ": " << hints;
}

void RealWindow::ExpectEndsWithZero() {
  int code = -1;
  ASSERT_TRUE(WaitExit(game_, kPatienceMs, code));
  game_ = -1;
  EXPECT_EQ(code, 0);
  EXPECT_EQ(GameWindows(), 0u);
}

}  // namespace quillorn::test
