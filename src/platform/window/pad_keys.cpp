#include "platform/window/pad_keys.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "platform/platform.h"
#include "platform/window/input.h"

namespace quillorn::platform {

namespace {

// The stick counts as pushed beyond half way and as let go below a quarter, so that it does
// not flutter at the edge.
constexpr double kStickPress = 0.5;
constexpr double kStickRelease = 0.25;

// How many buttons and sticks hold each key: a key goes down with the first and up with the
// last, so the D-pad and the stick pushed the same way make one held arrow.
std::map<uint32_t, int> g_holds;

void Press(uint32_t key) {
  if (key && ++g_holds[key] == 1) InputKeyDown(key);
}

void Release(uint32_t key) {
  auto it = g_holds.find(key);
  if (!key || it == g_holds.end()) return;
  if (--it->second == 0) {
    g_holds.erase(it);
    InputKeyUp(key);
  }
}

uint32_t ButtonKey(PadButton button) {
  switch (button) {
    case PadButton::kUp:
      return kKeyUp;
    case PadButton::kRight:
      return kKeyRight;
    case PadButton::kDown:
      return kKeyDown;
    case PadButton::kLeft:
      return kKeyLeft;
    case PadButton::kA:
    case PadButton::kStart:
      return kKeyReturn;
    case PadButton::kY:
      return kKeyE;
    case PadButton::kBack:
      return kKeyF10;
    case PadButton::kB:
      // Esc, but only to back out of the menu or a dialog: in the game it would quit.
      return InputToMenuOrDialog() ? uint32_t(kKeyEscape) : 0u;
    default:
      return 0;
  }
}

}  // namespace

void PadButtonChanged(PadKeys& pad, int number, PadButton button, bool down) {
  if (number < 0 || number >= PadKeys::kButtons) return;
  uint32_t& held = pad.buttonKey[number];
  if (!down) {
    Release(std::exchange(held, 0));
  } else if (!held) {
    held = ButtonKey(button);
    Press(held);
  }
}

void PadStickMoved(PadKeys& pad, double x, double y) {
  // The axis pushed further wins.
  double ax = std::fabs(x), ay = std::fabs(y);
  double limit = pad.stickKey ? kStickRelease : kStickPress;
  uint32_t key = std::max(ax, ay) < limit ? 0u
                 : ax >= ay               ? (x > 0 ? kKeyRight : kKeyLeft)
                                          : (y > 0 ? kKeyDown : kKeyUp);
  if (key == pad.stickKey) return;
  Release(std::exchange(pad.stickKey, key));
  Press(key);
}

void PadLetGo(PadKeys& pad) {
  for (uint32_t& key : pad.buttonKey) Release(std::exchange(key, 0));
  Release(std::exchange(pad.stickKey, 0));
}

void PadForgetAll() {
  g_holds.clear();
}

}  // namespace quillorn::platform
