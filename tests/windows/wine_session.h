// One private X server and one fresh Wine prefix for the whole test run, Windows programs
// started in it, and the X tools that drive them and read them back.
#pragma once

#include <signal.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "frames.h"
#include "process.h"

namespace quillorn::test {

struct WineSession {
  pid_t server = -1;
  int display = -1;
  std::string prefix;     // WINEPREFIX, made anew
  std::string soundFile;  // what ALSA's default device, a file, has been given to play
};

// A shell command in the background, its output into the file errors (if named); the
// process id is the command's.
inline pid_t StartShell(const std::string& command, const std::string& errors = "") {
  return Spawn({"sh", "-c", ("exec " + command).c_str()}, {},
               errors.empty() ? "/dev/null" : errors);
}

// `env ... ` for Wine: no dialogs (Mono's and Gecko's installers); without sound no sound
// driver and no XInput either. ALSA reads its user configuration from $HOME, where the
// default device is a file. display names another X display than the session's.
inline std::string WineEnv(const WineSession& s, bool sound = false,
                           const std::string& display = "") {
  return "env DISPLAY=" + (display.empty() ? ":" + std::to_string(s.display) : display) +
         " WINEPREFIX='" + s.prefix + "' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=" +
         (sound ? "' HOME='" + s.prefix + "-alsa'"
                : ";winealsa.drv,winepulse.drv,wineoss.drv,xinput1_4,xinput9_1_0=d'") +
         " ";
}

// Runs a Wine command (wineserver, wineboot); true when it ends in time with 0.
inline bool RunWine(const WineSession& s, const std::string& command, int timeoutMs = 10000) {
  int code = -1;
  return WaitExit(StartShell(WineEnv(s) + command), timeoutMs, code) && code == 0;
}

// Starts Xvfb on a free display and makes a prefix in dir (wineboot). False on failure.
inline bool StartWine(WineSession& s, const std::string& dir) {
  const std::string number = dir + "/display";
  std::system(
      ("rm -rf '" + dir + "' && mkdir -p '" + dir + "/prefix' '" + dir + "/prefix-alsa'").c_str());
  // -displayfd: the server takes the first free display number and writes it there. The
  // screen holds the window at 2x.
  s.server = StartShell("Xvfb -displayfd 3 -screen 0 1280x1200x24 -nolisten tcp 3>" + number);
  WaitUntil(10000, [&] {
    int n = -1;
    return std::ifstream(number) >> n && (s.display = n) >= 0;
  });
  s.prefix = dir + "/prefix";
  s.soundFile = dir + "/sound.raw";
  std::ofstream(s.prefix + "-alsa/.asoundrc")
      << "pcm.!default { type file slave.pcm \"null\" file \"" << s.soundFile
      << "\" format \"raw\" }\n";
  // The prefix's server stays up for the whole run, so that each start is quick.
  return s.display >= 0 && RunWine(s, "wineserver --persistent") &&
         RunWine(s, "wine wineboot --init", 180000);
}

// Ends every Wine process of the prefix, then the server.
inline void StopWine(WineSession& s) {
  if (s.display >= 0) RunWine(s, "wineserver --kill");
  if (s.server > 0) kill(s.server, SIGTERM), waitpid(s.server, nullptr, 0);
}

// Starts `wine exe args`, its output into the file errors when one is named.
inline pid_t StartProgram(const WineSession& s, const std::string& exe,
                          const std::string& args = "", bool sound = false,
                          const std::string& errors = "", const std::string& display = "") {
  return StartShell(WineEnv(s, sound, display) + "wine '" + exe + "' " + args, errors);
}

// Runs a shell command on the session's display; returns its output.
inline std::string RunX(const WineSession& s, const std::string& command) {
  return Output("DISPLAY=:" + std::to_string(s.display) + " " + command +
                " </dev/null 2>/dev/null");
}

// The ids of the shown windows named exactly `name`, one a line.
inline std::string ShownWindows(const WineSession& s, const std::string& name) {
  return RunX(s, "xdotool search --onlyvisible --name '^" + name + "$'");
}

// The bottom width x height pixels of an X window (a client area under its menu bar); empty
// when the window is not width pixels wide, or not named.
inline Shot ClientPicture(const WineSession& s, const std::string& window, int width, int height) {
  if (window.empty()) return {};  // import would wait for a click on some window
  const std::string ppm = RunX(s, "import -window " + window + " -depth 8 ppm:-");
  int w = 0, h = 0, header = 0;
  if (std::sscanf(ppm.c_str(), "P6 %d %d 255%n", &w, &h, &header) != 2 || w != width ||
      h < height || ppm.size() != size_t(header) + 1 + size_t(w) * size_t(h) * 3)
    return {};
  Shot shot{width, height, std::vector<uint32_t>(size_t(width) * size_t(height))};
  const auto* p = reinterpret_cast<const uint8_t*>(ppm.data() + ppm.size() - 3 * shot.rgb.size());
  for (uint32_t& px : shot.rgb) px = uint32_t(p[0]) << 16 | p[1] << 8 | p[2], p += 3;
  return shot;
}

}  // namespace quillorn::test
