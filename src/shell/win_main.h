// Start-up, the message loop and the program's exit code.
#pragma once

namespace quillorn {

// Steps of start-up up to installing the asset loader. False when another copy runs.
bool StartUp();

// Start-up, then the message loop; returns the exit code.
int WinMain();

}  // namespace quillorn
