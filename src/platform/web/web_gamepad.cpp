// Game controllers through the page's Gamepad API (the standard layout), mapped as the SDL
// and Win32 backends map them: the D-pad and the left stick are the arrow keys (held while
// held), A and Start are Enter, Y is E, Back opens the window menu, and B closes an open menu
// or dialog.
// The page has no events for buttons, so pads are read every 16 ms while one is connected.
// The page's touch controls (page_touch.js) are one more pad of the same mapping.
#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "platform/platform.h"
#include "platform/web/web.h"
#include "platform/window/pad_keys.h"

namespace quillorn::platform {

namespace {

constexpr int kPads = 4;
constexpr int kButtons = 17;

// Standard-layout buttons: 0 A, 1 B, 3 Y, 8 Back, 9 Start, 12 to 15 the D-pad.
PadButton Button(int number) {
  switch (number) {
    case 0:
      return PadButton::kA;
    case 1:
      return PadButton::kB;
    case 3:
      return PadButton::kY;
    case 8:
      return PadButton::kBack;
    case 9:
      return PadButton::kStart;
    case 12:
      return PadButton::kUp;
    case 13:
      return PadButton::kDown;
    case 14:
      return PadButton::kLeft;
    case 15:
      return PadButton::kRight;
    default:
      return PadButton::kOther;
  }
}

PadKeys g_pads[kPads];
PadKeys g_touch;

// The touch controls by the page's numbers: the pad's four directions, 決定, 全員を見る, メニュー.
constexpr PadButton kTouchControls[] = {PadButton::kUp,   PadButton::kRight, PadButton::kDown,
                                        PadButton::kLeft, PadButton::kA,     PadButton::kY,
                                        PadButton::kBack};
bool g_polling = false;
bool g_listening = false;

// Reads every pad once; false (stop polling) when none is connected.
EM_BOOL Poll(double, void*) {
  if (!g_listening || emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) {
    g_polling = false;
    return EM_FALSE;
  }
  bool any = false;
  int count = std::min(emscripten_get_num_gamepads(), kPads);
  for (int i = 0; i < kPads; ++i) {
    PadKeys& p = g_pads[i];
    EmscriptenGamepadEvent s;
    if (i >= count || emscripten_get_gamepad_status(i, &s) != EMSCRIPTEN_RESULT_SUCCESS ||
        !s.connected) {
      PadLetGo(p);
      continue;
    }
    any = true;
    for (int b = 0; b < std::min(s.numButtons, kButtons); ++b)
      PadButtonChanged(p, b, Button(b), s.digitalButton[b]);
    if (s.numAxes >= 2) PadStickMoved(p, s.axis[0], s.axis[1]);
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
  for (PadKeys& p : g_pads) PadLetGo(p);
  PadLetGo(g_touch);
  PadForgetAll();
}

}  // namespace web

}  // namespace quillorn::platform

// A touch control went down or up.
extern "C" EMSCRIPTEN_KEEPALIVE void quillorn_web_control(int control, int down) {
  using namespace quillorn::platform;
  if (!g_listening || control < 0 || control >= int(std::size(kTouchControls))) return;
  PadButtonChanged(g_touch, control, kTouchControls[control], down != 0);
  web::Pump();
}
