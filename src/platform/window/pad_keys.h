// Game controllers as the keyboard, the same on every backend: the D-pad and the left stick
// are the arrow keys (held while held, so walking works), A and Start are Enter, Y is E, Back
// opens the window menu, and B closes an open menu or dialog.
#pragma once

#include <cstdint>

namespace quillorn::platform {

enum class PadButton { kA, kB, kY, kBack, kStart, kUp, kRight, kDown, kLeft, kOther };

// What a backend keeps of one pad.
struct PadKeys {
  static constexpr int kButtons = 32;
  uint32_t buttonKey[kButtons] = {};  // the key each held button pressed, by the backend's number
  uint32_t stickKey = 0;              // the arrow the stick holds, or 0
};

// The button with the backend's own number went down or up.
void PadButtonChanged(PadKeys& pad, int number, PadButton button, bool down);
// The left stick stands at (x, y), each from -1 to 1, y growing downwards.
void PadStickMoved(PadKeys& pad, double x, double y);
// Lets go of everything the pad holds.
void PadLetGo(PadKeys& pad);
// Forgets what every pad holds, without letting go: the window is gone.
void PadForgetAll();

}  // namespace quillorn::platform
