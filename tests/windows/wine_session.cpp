#include "wine_session.h"

#include <signal.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace quillorn::test {

namespace {

// A shell command in the background, its output into the file errors (if named); the
// process id is the command's.
pid_t Start(const std::string& command, const std::string& errors = "") {
  return Spawn({"sh", "-c", ("exec " + command).c_str()}, {},
               errors.empty() ? "/dev/null" : errors);
}

// No dialogs (Mono's and Gecko's installers); without sound no sound driver and no XInput
// either. ALSA reads its user configuration from $HOME, where the default device is a file.
std::string Wine(const WineSession& s, bool sound, const std::string& display = "") {
  return "env DISPLAY=" + (display.empty() ? ":" + std::to_string(s.display) : display) +
         " WINEPREFIX='" + s.prefix + "' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=" +
         (sound ? "' HOME='" + s.prefix + "-alsa'"
                : ";winealsa.drv,winepulse.drv,wineoss.drv,xinput1_4,xinput9_1_0=d'") +
         " ";
}

bool Run(const std::string& command, int timeoutMs) {
  int code = -1;
  return WaitExit(Start(command), timeoutMs, code) && code == 0;
}

}  // namespace

bool StartWine(WineSession& s, const std::string& dir) {
  std::string number = dir + "/display";
  std::system(
      ("rm -rf '" + dir + "' && mkdir -p '" + dir + "/prefix' '" + dir + "/prefix-alsa'").c_str());
  // -displayfd: the server takes the first free display number and writes it there. The
  // screen holds the window at 2x.
  s.server = Start("Xvfb -displayfd 3 -screen 0 1280x1200x24 -nolisten tcp 3>'" + number + "'");
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
  return s.display >= 0 && Run(Wine(s, false) + "wineserver --persistent", 10000) &&
         Run(Wine(s, false) + "wine wineboot --init", 180000);
}

bool RestartWineServer(const WineSession& s) {
  return Run(Wine(s, false) + "wineserver --kill", 10000) &&
         Run(Wine(s, false) + "wineserver --persistent", 10000);
}

void StopWine(WineSession& s) {
  if (s.display >= 0) Run(Wine(s, false) + "wineserver --kill", 10000);
  if (s.server > 0) kill(s.server, SIGTERM), waitpid(s.server, nullptr, 0);
}

pid_t StartProgram(const WineSession& s, const std::string& exe, const std::string& args,
                   bool sound, const std::string& errors, const std::string& display) {
  return Start(Wine(s, sound, display) + "wine '" + exe + "' " + args, errors);
}

std::string RunX(const WineSession& s, const std::string& command) {
  return Output("DISPLAY=:" + std::to_string(s.display) + " " + command +
                " </dev/null 2>/dev/null");
}

std::vector<std::string> ShownWindows(const WineSession& s, const std::string& name) {
  std::istringstream in(RunX(s, "xdotool search --onlyvisible --name '^" + name + "$'"));
  std::vector<std::string> ids;
  for (std::string id; in >> id;) ids.push_back(id);
  return ids;
}

Shot ClientPicture(const WineSession& s, const std::string& window, int width, int height) {
  if (window.empty()) return {};  // import would wait for a click on some window
  std::string ppm = RunX(s, "import -window " + window + " -depth 8 ppm:-");
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
