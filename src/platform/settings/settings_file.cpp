#include "platform/settings/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/settings/settings.h"

namespace quillorn::platform {

namespace {

std::string Why(const std::string& what, const std::string& path) {
  return "cannot " + what + " " + path + ": " + std::strerror(errno);
}

std::string Folder(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, std::max<size_t>(slash, 1));
}

// mkdir -p: folders the XDG rules create are the user's alone.
bool MakeFolders(const std::string& folder) {
  struct stat st;
  if (stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode) || (errno = ENOTDIR, false);
  const std::string parent = Folder(folder);
  if (parent != folder && !MakeFolders(parent)) return false;
  return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

}  // namespace

std::string XdgSettingsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/quillorn/settings.ini";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.config/quillorn/settings.ini";
  return "";
}

bool ReadSettingsFile(const std::string& path, std::string& text, std::string& problem) {
  text.clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) problem = Why("read", path);
    return false;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    problem = "cannot read " + path + ": not a file";
    close(fd);
    return false;
  }
  char buffer[4096];
  while (text.size() <= kMaxSettingsBytes) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      problem = Why("read", path);
      close(fd);
      return false;
    }
    if (n == 0) break;
    text.append(buffer, size_t(n));
  }
  close(fd);
  if (text.size() > kMaxSettingsBytes + 1) text.resize(kMaxSettingsBytes + 1);
  return true;
}

bool WriteSettingsFile(const std::string& path, const std::string& text, std::string& problem) {
  const std::string folder = Folder(path);
  if (!MakeFolders(folder)) {
    problem = Why("make the folder", folder);
    return false;
  }
  const std::string temporary = path + ".new-" + std::to_string(getpid());
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    problem = Why("write", temporary);
    return false;
  }
  // On the disk before the rename: a crash after it must find the whole new text.
  bool ok = WriteAll(fd, text) && fsync(fd) == 0;
  int error = errno;
  if (close(fd) != 0 && ok) ok = false, error = errno;
  if (ok && rename(temporary.c_str(), path.c_str()) != 0) ok = false, error = errno;
  if (!ok) {
    errno = error;
    problem = Why("write", path);
    unlink(temporary.c_str());
    return false;
  }
  // The rename itself, on the disk too (where the folder can be opened).
  int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) fsync(dir), close(dir);
  return true;
}

}  // namespace quillorn::platform
