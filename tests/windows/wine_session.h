// One private X server and one fresh Wine prefix for the whole test run, Windows programs
// started in it, and the X tools that drive them and read them back.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "frames.h"
#include "process.h"

namespace quillorn::test {

struct WineSession {
  pid_t server = -1;
  int display = -1;
  std::string prefix;     // WINEPREFIX, made anew
  std::string soundFile;  // what ALSA's default device, a file, has been given to play
};

// Starts Xvfb on a free display and makes a prefix in dir (wineboot). False on failure.
bool StartWine(WineSession& s, const std::string& dir);
// Ends every Wine process of the prefix, then the server.
void StopWine(WineSession& s);
// Ends every Wine process of the prefix and starts its server afresh: a program started
// without a display leaves Wine's desktop without one too, and no later window could open.
bool RestartWineServer(const WineSession& s);
// Starts `wine exe args`: without sound Wine has no sound driver at all, and no XInput
// either; with it, Wine's ALSA driver plays into soundFile. The program's output goes into
// the file errors when one is named. display names another X display than the session's.
pid_t StartProgram(const WineSession& s, const std::string& exe, const std::string& args = "",
                   bool sound = false, const std::string& errors = "",
                   const std::string& display = "");
// Runs a shell command on the session's display; returns its output.
std::string RunX(const WineSession& s, const std::string& command);
// Shown windows whose name is exactly `name`.
std::vector<std::string> ShownWindows(const WineSession& s, const std::string& name);
// The bottom width x height pixels of an X window (a client area under its menu bar); empty
// when the window is not width pixels wide, or not named.
Shot ClientPicture(const WineSession& s, const std::string& window, int width, int height);

}  // namespace quillorn::test
