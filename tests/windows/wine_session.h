// One private X server and one fresh Wine prefix for the whole test run, the Windows build of
// the game running in it, and the X tools that drive it and read it back.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quillorn::test {

struct WineSession {
  pid_t server = -1;
  int display = -1;
  std::string prefix;  // WINEPREFIX, made anew inside the build folder
  // Where ALSA's default device, a file, writes what a program with sound plays.
  std::string soundFile;
};

// Starts Xvfb on a free display and makes the prefix (wineboot). False on failure.
bool StartWine(WineSession& s, const std::string& prefix);
// Ends every Wine process of the prefix, then the server.
void StopWine(WineSession& s);

// Starts a Windows program under Wine on the session's display; its process id. Without
// sound Wine has no sound driver at all; with it, Wine's ALSA driver plays into soundFile.
pid_t StartProgram(const WineSession& s, const std::string& exe,
                   const std::vector<std::string>& args = {}, bool sound = false);
// Waits up to timeoutMs for the process to end; true with its exit code when it did.
bool WaitExit(pid_t pid, int timeoutMs, int& exitCode);

// Runs a shell command with DISPLAY set to the session's server; returns its output.
std::string RunX(const WineSession& s, const std::string& command);
// Shown windows whose name is exactly `name`.
std::vector<std::string> ShownWindows(const WineSession& s, const std::string& name);

struct Shot {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  uint32_t At(int x, int y) const;  // 0xRRGGBB; outside (or no picture) 0xFFFFFFFF
};
// The X window's contents, read with ImageMagick's import.
bool Grab(const WineSession& s, const std::string& window, Shot& out);

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
