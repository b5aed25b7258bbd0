// A private X server for one test, the game running on it, and the X tools that look at
// and drive it.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quillorn::test {

struct XSession {
  int dpi = 0;  // the screen's dots per inch, when set before StartServer
  pid_t server = -1;
  int display = -1;
  pid_t windowManager = -1;
  pid_t game = -1;
};

// The screen of every session: room for the window at 3x (1440 x 1596), and a shape unlike
// the window's so that fullscreen leaves a border on both axes.
constexpr int kScreenWidth = 1600;
constexpr int kScreenHeight = 1700;

// Starts Xvfb on a display number it picks itself (free at that moment). The server keeps
// what clients left on it (root window properties) when they disconnect. False on failure.
bool StartServer(XSession& x);
// Starts openbox on the server and waits until it manages the screen (fullscreen needs a
// window manager). False on failure.
bool StartWindowManager(XSession& x);
// Ends the game if it still runs, then the window manager and the server.
void StopAll(XSession& x);

// Starts the game on the session's display (DISPLAY=":N" followed by suffix), with the
// dummy sound driver, or with SDL's disk driver writing the mixed sound to diskAudio.
pid_t StartGame(const XSession& x, const std::string& suffix = "",
                const std::string& diskAudio = "");
// Waits up to timeoutMs for the process to end; true with its exit status code when it did.
bool WaitExit(pid_t pid, int timeoutMs, int& exitCode);

// Runs a shell command with DISPLAY set to the session's server; returns its output.
std::string RunX(const XSession& x, const std::string& command);
// Windows whose name is exactly "Quillorn" (only those shown on the screen if mappedOnly).
std::vector<std::string> GameWindows(const XSession& x, bool mappedOnly = false);
// Waits up to timeoutMs for one game window on the screen; its id, or "" when none came.
std::string WaitForWindow(const XSession& x, int timeoutMs);
struct Shot {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  uint32_t At(int x, int y) const;  // 0xRRGGBB; outside (or no picture) 0xFFFFFFFF
};
// The window's contents, read with import; its size is the window's.
bool Grab(const XSession& x, const std::string& window, Shot& out);

void SleepMs(int ms);

// Polls cond every stepMs for up to timeoutMs.
template <typename Cond>
bool WaitUntil(int timeoutMs, Cond cond, int stepMs = 100) {
  for (int waited = 0;; waited += stepMs) {
    if (cond()) return true;
    if (waited >= timeoutMs) return false;
    SleepMs(stepMs);
  }
}

}  // namespace quillorn::test
