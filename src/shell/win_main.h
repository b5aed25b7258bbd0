// Start-up, the message loop and the program's exit code.
#pragma once

namespace quillorn {

// Steps of start-up up to installing the asset loader. False when the program must end at
// once: another copy runs (exit code 0, nothing said), or there is no window or no clock
// (exit code 1, the platform has said why).
bool StartUp();

// Start-up, then the message loop that the backend runs; returns the exit code. In the
// browser the loop goes on from the page's events after this has returned 0.
int WinMain();

}  // namespace quillorn
