// One running copy per user and display: the running copy holds an abstract local socket
// named after the user, the display and the window class. The kernel frees the name when
// the process ends, so a crash never leaves a stale lock behind. The name lives in no folder,
// so no folder's rights matter. Only a name in use means another copy; any other failure is
// said, and this copy runs.
#include "platform/window/single_copy.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/window/report.h"

namespace quillorn::platform {

namespace {
int g_lockFd = -1;
std::string g_lockName;
}  // namespace

std::string SingleCopyName(const char* className, const std::string& display) {
  return "quillorn-lock/" + std::to_string(getuid()) + "/" + display + "/" + className;
}

bool ClaimSingleCopyOn(const char* className, const std::string& display) {
  std::string name = SingleCopyName(className, display);
  if (g_lockFd >= 0 && name == g_lockName) return true;
  int error = Fault("single-copy lock");
  int fd = error ? -1 : socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (!error && fd < 0) error = errno;
  if (!error) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    // Abstract name: a leading zero byte, then the name (cut to fit).
    size_t len = std::min(name.size(), sizeof(addr.sun_path) - 1);
    std::memcpy(addr.sun_path + 1, name.data(), len);
    socklen_t size = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + len);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), size) != 0) error = errno;
  }
  if (error) {
    if (fd >= 0) close(fd);
    if (error == EADDRINUSE) return false;  // another copy holds the name
    SayNoSingleCopyLock(std::strerror(error));
    return true;
  }
  ReleaseSingleCopy();
  g_lockFd = fd;
  g_lockName = name;
  return true;
}

void ReleaseSingleCopy() {
  if (g_lockFd >= 0) close(g_lockFd);
  g_lockFd = -1;
  g_lockName.clear();
}

bool ClaimSingleCopy(const char* className) {
  return ClaimSingleCopyOn(className, backend::DisplayName());
}

}  // namespace quillorn::platform
