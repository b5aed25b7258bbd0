#include "x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace quillorn::test {

void SleepMs(int ms) {
  usleep(useconds_t(ms) * 1000);
}

bool StartServer(XSession& x) {
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
    std::string screen = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
    std::string dpi = std::to_string(x.dpi > 0 ? x.dpi : 100);  // Xvfb's own default is 100
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-dpi",
           dpi.c_str(), "-noreset", "-nolisten", "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  x.server = pid;
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  while (poll(&p, 1, 10000) > 0) {
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) {
    StopAll(x);
    return false;
  }
  x.display = std::atoi(number.c_str());
  return true;
}

bool StartWindowManager(XSession& x) {
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 1);
    dup2(devnull, 2);
    setenv("DISPLAY", (":" + std::to_string(x.display)).c_str(), 1);
    execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
    _exit(127);
  }
  x.windowManager = pid;
  // A window manager announces itself on the root window.
  return WaitUntil(10000, [&] {
    int code;
    if (WaitExit(pid, 0, code)) return false;
    return RunX(x, "xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos;
  });
}

void StopAll(XSession& x) {
  int code;
  for (pid_t* client : {&x.game, &x.windowManager}) {
    if (*client > 0 && !WaitExit(*client, 0, code)) {
      kill(*client, SIGKILL);
      waitpid(*client, nullptr, 0);
    }
    *client = -1;
  }
  if (x.server > 0) {
    kill(x.server, SIGTERM);
    waitpid(x.server, nullptr, 0);
  }
  x.server = -1;
}

pid_t StartGame(const XSession& x, const std::string& suffix, const std::string& diskAudio) {
  pid_t pid = fork();
  if (pid == 0) {
    std::string display = ":" + std::to_string(x.display) + suffix;
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    if (diskAudio.empty()) {
      setenv("SDL_AUDIODRIVER", "dummy", 1);
    } else {
      setenv("SDL_AUDIODRIVER", "disk", 1);
      setenv("SDL_DISKAUDIOFILE", diskAudio.c_str(), 1);
    }
    // In a sanitizer build, leaks of the system libraries behind the window are not ours.
    std::string lsan = "suppressions=" QUILLORN_LSAN_SUPPRESSIONS;
    if (const char* old = std::getenv("LSAN_OPTIONS"); old && *old)
      lsan = std::string(old) + ":" + lsan;
    setenv("LSAN_OPTIONS", lsan.c_str(), 1);
    execl(QUILLORN_EXE, QUILLORN_EXE, static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

bool WaitExit(pid_t pid, int timeoutMs, int& exitCode) {
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

std::string RunX(const XSession& x, const std::string& command) {
  std::string full = "DISPLAY=:" + std::to_string(x.display) + " " + command + " 2>/dev/null";
  FILE* f = popen(full.c_str(), "r");
  if (!f) return "";
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  pclose(f);
  return out;
}

std::vector<std::string> GameWindows(const XSession& x, bool mappedOnly) {
  std::string only = mappedOnly ? "--onlyvisible " : "";
  std::istringstream in(RunX(x, "xdotool search " + only + "--name '^Quillorn$'"));
  std::vector<std::string> ids;
  for (std::string id; in >> id;) ids.push_back(id);
  return ids;
}

std::string WaitForWindow(const XSession& x, int timeoutMs) {
  std::string id;
  WaitUntil(timeoutMs, [&] {
    std::vector<std::string> ids = GameWindows(x, true);
    if (ids.size() == 1) id = ids[0];
    return !id.empty();
  });
  return id;
}

uint32_t Shot::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFFu;
  size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
  return uint32_t(rgb[i]) << 16 | uint32_t(rgb[i + 1]) << 8 | rgb[i + 2];
}

bool Grab(const XSession& x, const std::string& window, Shot& out) {
  std::string ppm = RunX(x, "import -window " + window + " -depth 8 ppm:-");
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
