#include "wine_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quillorn::test {

namespace {

// No dialogs (the Mono and Gecko installers); without sound no sound driver either.
constexpr const char* kDllOverrides = "mscoree,mshtml=";
constexpr const char* kNoSoundDrivers = ";winealsa.drv,winepulse.drv,wineoss.drv=d";

// ALSA reads its user configuration from $HOME: there, the default device is a file.
std::string SoundHome(const WineSession& s) {
  return s.prefix + "-alsa";
}

void WineEnvironment(const WineSession& s, bool sound) {
  setenv("DISPLAY", (":" + std::to_string(s.display)).c_str(), 1);
  unsetenv("WAYLAND_DISPLAY");
  setenv("WINEPREFIX", s.prefix.c_str(), 1);
  setenv("WINEDEBUG", "-all", 1);
  std::string overrides = std::string(kDllOverrides) + (sound ? "" : kNoSoundDrivers);
  setenv("WINEDLLOVERRIDES", overrides.c_str(), 1);
  if (sound) setenv("HOME", SoundHome(s).c_str(), 1);
}

pid_t Spawn(const WineSession& s, std::vector<std::string> argv, bool sound = false) {
  pid_t pid = fork();
  if (pid == 0) {
    int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 1);
    dup2(devnull, 2);
    WineEnvironment(s, sound);
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  return pid;
}

}  // namespace

void SleepMs(int ms) {
  usleep(useconds_t(ms) * 1000);
}

bool StartWine(WineSession& s, const std::string& prefix) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    close(fds[0]);
    int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 1);
    dup2(devnull, 2);
    std::string fd = std::to_string(fds[1]);
    // -displayfd: the server takes the first free display number and writes it to fd.
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten",
           "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  s.server = pid;
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  while (poll(&p, 1, 10000) > 0) {
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) return false;
  s.display = std::atoi(number.c_str());
  s.prefix = prefix;
  std::system(("rm -rf '" + prefix + "' '" + SoundHome(s) + "'").c_str());
  std::system(("mkdir -p '" + SoundHome(s) + "' '" + prefix + "'").c_str());
  s.soundFile = SoundHome(s) + "/sound.raw";
  std::ofstream(SoundHome(s) + "/.asoundrc")
      << "pcm.!default { type file slave.pcm \"null\" file \"" << s.soundFile
      << "\" format \"raw\" }\n";
  int code = -1;
  // The prefix's server stays up for the whole run, so that each start is quick.
  if (!WaitExit(Spawn(s, {"wineserver", "--persistent"}), 10000, code) || code != 0) return false;
  return WaitExit(Spawn(s, {"wine", "wineboot", "--init"}), 180000, code) && code == 0;
}

void StopWine(WineSession& s) {
  int code;
  if (!s.prefix.empty()) WaitExit(Spawn(s, {"wineserver", "--kill"}), 10000, code);
  if (s.server > 0) {
    kill(s.server, SIGTERM);
    waitpid(s.server, nullptr, 0);
  }
  s.server = -1;
}

pid_t StartProgram(const WineSession& s, const std::string& exe,
                   const std::vector<std::string>& args, bool sound) {
  std::vector<std::string> argv{"wine", exe};
  argv.insert(argv.end(), args.begin(), args.end());
  return Spawn(s, argv, sound);
}

bool WaitExit(pid_t pid, int timeoutMs, int& exitCode) {
  if (pid <= 0) return false;
  for (int waited = 0;; waited += 20) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return true;
    }
    if (waited >= timeoutMs) return false;
    SleepMs(20);
  }
}

std::string RunX(const WineSession& s, const std::string& command) {
  std::string full = "DISPLAY=:" + std::to_string(s.display) + " " + command + " 2>/dev/null";
  FILE* f = popen(full.c_str(), "r");
  if (!f) return "";
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  pclose(f);
  return out;
}

std::vector<std::string> ShownWindows(const WineSession& s, const std::string& name) {
  std::istringstream in(RunX(s, "xdotool search --onlyvisible --name '^" + name + "$'"));
  std::vector<std::string> ids;
  for (std::string id; in >> id;) ids.push_back(id);
  return ids;
}

uint32_t Shot::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFFu;
  size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
  return uint32_t(rgb[i]) << 16 | uint32_t(rgb[i + 1]) << 8 | rgb[i + 2];
}

bool Grab(const WineSession& s, const std::string& window, Shot& out) {
  std::string ppm = RunX(s, "import -window " + window + " -depth 8 ppm:-");
  int w = 0, h = 0, header = 0;
  if (std::sscanf(ppm.c_str(), "P6 %d %d 255%n", &w, &h, &header) != 2 || w <= 0 || h <= 0 ||
      ppm.size() != size_t(header) + 1 + size_t(w) * size_t(h) * 3)
    return false;
  out.width = w;
  out.height = h;
  out.rgb.assign(ppm.begin() + header + 1, ppm.end());
  return true;
}

}  // namespace quillorn::test
