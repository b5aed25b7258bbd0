// Failures said out loud, in the same words on every backend. Where the game can go on
// without something, one line on standard error says what is missing; where it cannot, the
// message says why it stops (the Windows backend shows it in a box as well) and the program
// ends with a code that is not 0. Every line starts "quillorn: "; each is said once.
#pragma once

#include <string>

namespace quillorn::platform {

// The game stops. reason is the system's own account of the fault.
void SayNoWindow(const std::string& reason);
void SayNoPicture(const std::string& reason);  // a window, but nothing can be drawn in it
void SayNoTimer(const std::string& reason);

// The game goes on.
void SayNoSound(const std::string& reason);    // no sound device: silent play
void SaySoundLost(const std::string& reason);  // the device failed while playing: silent from now
void SayNoSingleCopyLock(const std::string& reason);  // more than one copy may then run
void SayNoResource(const char* type, const char* name);

// Where the lines go instead of standard error: the headless backend keeps them for its
// tests. stop tells a line that ends the program from one the game goes on after.
using ReportHook = void (*)(bool stop, const std::string& line);
void SetReportHook(ReportHook hook);
// Forgets which lines have been said, so that each may be said again.
void ForgetReports();

// A backend for tests may make the shared code's calls to the system fail, as a real system
// might: the hook is asked before the timer starts ("timer") and before the single-copy lock
// is taken ("single-copy lock"), and answers 0 to go on or an errno value to fail with.
using FaultHook = int (*)(const char* what);
void SetFaultHook(FaultHook hook);
int Fault(const char* what);

}  // namespace quillorn::platform
