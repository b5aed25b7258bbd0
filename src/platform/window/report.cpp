#include "platform/window/report.h"

#include <atomic>
#include <cstdio>
#include <set>

namespace quillorn::platform {

namespace {

ReportHook g_report = nullptr;
FaultHook g_fault = nullptr;
std::set<std::string> g_said;
// A line may come from a sound output's own thread: one line at a time.
std::atomic_flag g_saying = ATOMIC_FLAG_INIT;

void Say(bool stop, const std::string& line) {
  while (g_saying.test_and_set(std::memory_order_acquire)) {
  }
  bool fresh = g_said.insert(line).second;
  if (fresh && g_report) {
    g_report(stop, line);
  } else if (fresh) {
    std::fprintf(stderr, "quillorn: %s\n", line.c_str());
    std::fflush(stderr);
  }
  g_saying.clear(std::memory_order_release);
}

}  // namespace

void SayNoWindow(const std::string& reason) {
  Say(true, "cannot open the game's window: " + reason);
}

void SayNoPicture(const std::string& reason) {
  Say(true, "cannot draw in the game's window: " + reason);
}

void SayNoTimer(const std::string& reason) {
  Say(true, "cannot start the game's clock: " + reason);
}

void SayNoSound(const std::string& reason) {
  Say(false, "no sound device (" + reason + "); the game plays without sound");
}

void SaySoundLost(const std::string& reason) {
  Say(false, "the sound device failed (" + reason + "); the game plays on without sound");
}

void SayNoSingleCopyLock(const std::string& reason) {
  Say(false, "cannot tell whether another copy runs (" + reason + "); starting anyway");
}

void SayNoResource(const char* type, const char* name) {
  Say(false, std::string("the program lacks its resource ") + type + " \"" + name +
                 "\"; the game goes on without it");
}

void SetReportHook(ReportHook hook) {
  g_report = hook;
}

void ForgetReports() {
  g_said.clear();
}

void SetFaultHook(FaultHook hook) {
  g_fault = hook;
}

int Fault(const char* what) {
  return g_fault ? g_fault(what) : 0;
}

}  // namespace quillorn::platform
