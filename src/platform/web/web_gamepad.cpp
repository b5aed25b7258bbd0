// Game controllers through the page's Gamepad API (the standard layout), mapped as the desktop
// backend maps them: the D-pad and the left stick are the arrow keys (held while held), A and
// Start are Enter, Y is E, Back opens the window menu, and B closes an open menu or dialog.
// The page has no events for buttons, so pads are read every 16 ms while one is connected.
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/platform.h"
#include "platform/web/web.h"
#include "platform/window/input.h"

namespace quillorn::platform {

namespace {

constexpr int kPads = 4;
constexpr int kButtons = 17;
// The stick counts as pushed beyond half way and as let go below a quarter.
constexpr double kStickPress = 0.5;
constexpr double kStickRelease = 0.25;

// Standard-layout buttons: 0 A, 1 B, 3 Y, 8 Back, 9 Start, 12 to 15 the D-pad.
enum { kA = 0, kB = 1, kY = 3, kBack = 8, kStart = 9, kPadUp = 12, kPadDown, kPadLeft, kPadRight };

struct Pad {
  uint32_t buttonKey[kButtons] = {};  // the key each held button pressed
  uint32_t stickKey = 0;
};

Pad g_pads[kPads];
std::map<uint32_t, int> g_holds;  // a key goes down with its first holder and up with its last
bool g_polling = false;
bool g_listening = false;

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

uint32_t ButtonKey(int button) {
  switch (button) {
    case kPadUp:
      return kKeyUp;
    case kPadRight:
      return kKeyRight;
    case kPadDown:
      return kKeyDown;
    case kPadLeft:
      return kKeyLeft;
    case kA:
    case kStart:
      return kKeyReturn;
    case kY:
      return kKeyE;
    case kBack:
      return kKeyF10;
    case kB:
      // Esc, but only to back out of the menu or a dialog: in the game it would quit.
      return MenuBarOpen() || DialogIsOpen() ? uint32_t(kKeyEscape) : 0u;
    default:
      return 0;
  }
}

uint32_t StickKey(const Pad& p, double x, double y) {
  double ax = std::fabs(x), ay = std::fabs(y);
  double limit = p.stickKey ? kStickRelease : kStickPress;
  if (std::max(ax, ay) < limit) return 0;
  if (ax >= ay) return x > 0 ? kKeyRight : kKeyLeft;
  return y > 0 ? kKeyDown : kKeyUp;
}

void LetGo(Pad& p) {
  for (uint32_t& key : p.buttonKey) Release(std::exchange(key, 0));
  Release(std::exchange(p.stickKey, 0));
}

// Reads every pad once; false (stop polling) when none is connected.
EM_BOOL Poll(double, void*) {
  if (!g_listening || emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) {
    g_polling = false;
    return EM_FALSE;
  }
  bool any = false;
  int count = std::min(emscripten_get_num_gamepads(), kPads);
  for (int i = 0; i < kPads; ++i) {
    Pad& p = g_pads[i];
    EmscriptenGamepadEvent s;
    if (i >= count || emscripten_get_gamepad_status(i, &s) != EMSCRIPTEN_RESULT_SUCCESS ||
        !s.connected) {
      LetGo(p);
      continue;
    }
    any = true;
    for (int b = 0; b < std::min(s.numButtons, kButtons); ++b) {
      uint32_t& held = p.buttonKey[b];
      if (!s.digitalButton[b]) {
        Release(std::exchange(held, 0));
      } else if (!held) {
        held = ButtonKey(b);
        Press(held);
      }
    }
    if (s.numAxes >= 2) {
      uint32_t key = StickKey(p, s.axis[0], s.axis[1]);
      if (key != p.stickKey) {
        Release(std::exchange(p.stickKey, key));
        Press(key);
      }
    }
  }
  web::Pump();
  if (!any) g_polling = false;
  return any ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnConnected(int, const EmscriptenGamepadEvent*, void*) {
  if (!g_polling) {
    g_polling = true;
    emscripten_set_timeout_loop(Poll, 16, nullptr);
  }
  return EM_FALSE;
}

}  // namespace

namespace web {

void StartGamepads() {
  g_listening = true;
  emscripten_set_gamepadconnected_callback(nullptr, EM_TRUE, OnConnected);
  OnConnected(0, nullptr, nullptr);  // pads the page already knows; it stops if there is none
}

void StopGamepads() {
  g_listening = false;
  emscripten_set_gamepadconnected_callback(nullptr, EM_TRUE, nullptr);
  for (Pad& p : g_pads) LetGo(p);
  g_holds.clear();
}

}  // namespace web

}  // namespace quillorn::platform
