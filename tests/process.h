// Other programs the tests run: started with their output in a file, waited for with a
// deadline, or run through the shell for what they print.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace quillorn::test {

template <typename Cond>
bool WaitUntil(int timeoutMs, Cond cond, int stepMs = 50) {
  for (int waited = 0; !cond(); waited += stepMs) {
    if (waited >= timeoutMs) return false;
    usleep(useconds_t(stepMs) * 1000);
  }
  return true;
}

// Waits up to timeoutMs for the process to end; true with its exit code when it did.
inline bool WaitExit(pid_t pid, int timeoutMs, int& exitCode) {
  int status = 0;
  if (pid <= 0 || !WaitUntil(
                      timeoutMs, [&] { return waitpid(pid, &status, WNOHANG) == pid; }, 20))
    return false;
  exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return true;
}

// Runs argv with env ("NAME=value") added, its output (standard error too) into the file
// output, or where this process's goes when output is empty.
inline pid_t Spawn(std::vector<const char*> argv, const std::vector<std::string>& env = {},
                   const std::string& output = "") {
  pid_t pid = fork();
  if (pid != 0) return pid;
  if (!output.empty())
    dup2(open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1), dup2(1, 2);
  for (const std::string& e : env) putenv(strdup(e.c_str()));
  argv.push_back(nullptr);
  execvp(argv[0], const_cast<char* const*>(argv.data()));
  _exit(127);
}

// What a shell command prints on its standard output, and its exit code.
inline std::string Output(const std::string& command, int* code = nullptr) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[65536];
  for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = pipe ? pclose(pipe) : -1;
  if (code) *code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

// A display number that no X server of this machine has.
inline std::string UnusedDisplay() {
  int n = 500 + getpid() % 4000;
  for (struct stat st; stat(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), &st) == 0;) ++n;
  return ":" + std::to_string(n);
}

}  // namespace quillorn::test
