// Input from the page: keys as virtual-key codes, the window's focus as activation, and the
// mouse for the menu bar and dialogs; Alt+Enter (fullscreen), Ctrl+M (the mute) and Ctrl+1,
// 2, 3 (the canvas's scale) are the page's own keys. The
// browser owns the thread, so the message loop is a step run after every input and by one
// timeout set for the next tick: nothing waits and nothing spins.
#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "platform/backend.h"
#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/settings/settings.h"
#include "platform/web/web.h"
#include "platform/window/input.h"
#include "platform/window/window_state.h"

namespace quillorn::platform {

namespace {

struct Loop {
  LoopStep step = nullptr;
  bool stepping = false;
  long timeout = 0;  // the page's timeout id for the next tick, 0 when none is set
  // What the page reports: timer ticks run and the milliseconds they took.
  uint32_t ticks = 0;
  double tickMs = 0;
};

Loop g_loop;

// clang-format off
EM_JS(void, PageRunning, (), { quillornPage.running = true; });
EM_JS(void, PageClosed, (), { quillornPage.closed(); });
EM_JS(void, PageToFrame, (double x, double y, int32_t* frame), {
  var at = quillornCanvas.toFrame(x, y);
  HEAP32[frame >> 2] = at[0];
  HEAP32[(frame >> 2) + 1] = at[1];
});
EM_JS(double, PageClock, (), { return quillornPage.clock(); });
EM_JS(int, PageHasFocus, (), { return document.hasFocus() ? 1 : 0; });
// clang-format on

struct NamedKey {
  const char* code;
  uint32_t key;
};

constexpr NamedKey kNamedKeys[] = {
    {"Enter", kKeyReturn},     {"NumpadEnter", kKeyReturn},
    {"Space", kKeySpace},      {"Escape", kKeyEscape},
    {"ArrowLeft", kKeyLeft},   {"ArrowUp", kKeyUp},
    {"ArrowRight", kKeyRight}, {"ArrowDown", kKeyDown},
    {"AltLeft", kKeyAlt},      {"AltRight", kKeyAlt},
    {"Backspace", 8},          {"Tab", 9},
    {"ShiftLeft", 16},         {"ShiftRight", 16},
    {"ControlLeft", 17},       {"ControlRight", 17},
};

// The key's code by its place on the keyboard, as the SDL backend gives it; keys the game
// never looks at all get 0x100, which no game key uses.
uint32_t VirtualKey(const char* code) {
  for (const NamedKey& k : kNamedKeys)
    if (std::strcmp(code, k.code) == 0) return k.key;
  size_t n = std::strlen(code);
  if (n == 4 && std::strncmp(code, "Key", 3) == 0) return uint32_t(code[3]);
  if (n == 6 && std::strncmp(code, "Digit", 5) == 0) return uint32_t(code[5]);
  if (n == 7 && std::strncmp(code, "Numpad", 6) == 0 && code[6] >= '1' && code[6] <= '9')
    return uint32_t(0x61 + (code[6] - '1'));  // as the desktop numbers the keypad
  if ((n == 2 || n == 3) && code[0] == 'F') {
    int f = std::atoi(code + 1);
    if (f >= 1 && f <= 12) return uint32_t(111 + f);
  }
  return 0x100;
}

// The keys the game and its menu use: the browser does nothing of its own with them.
bool GameKey(uint32_t key) {
  switch (key) {
    case kKeyLeft:
    case kKeyUp:
    case kKeyRight:
    case kKeyDown:
    case kKeyReturn:
    case kKeySpace:
    case kKeyZ:
    case kKeyE:
    case kKeyF10:
    case kKeyAlt:
    case kKeyEscape:
      return true;
    default:
      return false;
  }
}

// Keys whose press was one of the page's own: their release is the page's too.
std::set<std::string> g_windowKeysDown;

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void*) {
  uint32_t key = VirtualKey(e->code);
  bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
  if (!down && g_windowKeysDown.erase(e->code)) return EM_TRUE;
  if (down && WindowKey(key, e->ctrlKey, e->altKey, e->shiftKey, e->repeat)) {
    // Alt held for Alt+Enter is no longer a tap that opens the menu.
    MenuBarCancelAltTap();
    g_windowKeysDown.insert(e->code);
    web::Pump();
    return EM_TRUE;
  }
  if (down)
    InputKeyDown(key);  // auto-repeat arrives as further key-downs
  else
    InputKeyUp(key);
  web::Pump();
  return GameKey(key);
}

// The mouse goes to an open dialog (modal: client coordinates), else to the menu bar. A press
// counts on the canvas only; moves and releases count anywhere on the page, as a window
// that holds the mouse while a button is down sees them, so a drag through the menu that
// ends off the canvas still ends.
EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* e, void*) {
  int32_t frame[2];
  PageToFrame(e->clientX, e->clientY, frame);
  int32_t x = frame[0], y = frame[1];
  if (type == EMSCRIPTEN_EVENT_MOUSEMOVE) {
    if (!DialogIsOpen()) MenuBarMouseMove(x, y);
  } else if (e->button == 0) {
    bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
    if (DialogIsOpen())
      DialogMouse(x, y - MenuBarHeight(), down);
    else
      MenuBarMouse(x, y, down);
  }
  web::Pump();
  return EM_FALSE;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void*) {
  bool gained = type == EMSCRIPTEN_EVENT_FOCUS;
  if (!gained) MenuBarClose();
  InputActivate(gained);
  web::Pump();
  return EM_FALSE;
}

void Listen(bool on) {
  const char* canvas = "#canvas";
  const char* win = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(win, nullptr, EM_TRUE, on ? OnKey : nullptr);
  emscripten_set_keyup_callback(win, nullptr, EM_TRUE, on ? OnKey : nullptr);
  emscripten_set_mousedown_callback(canvas, nullptr, EM_TRUE, on ? OnMouse : nullptr);
  emscripten_set_mouseup_callback(win, nullptr, EM_TRUE, on ? OnMouse : nullptr);
  emscripten_set_mousemove_callback(win, nullptr, EM_TRUE, on ? OnMouse : nullptr);
  emscripten_set_focus_callback(win, nullptr, EM_TRUE, on ? OnFocus : nullptr);
  emscripten_set_blur_callback(win, nullptr, EM_TRUE, on ? OnFocus : nullptr);
}

void OnTimeout(void*) {
  g_loop.timeout = 0;
  web::Pump();
}

}  // namespace

namespace web {

void Pump() {
  Loop& l = g_loop;
  if (!l.step || l.stepping) return;  // input that arrives while a step runs waits for it
  uint32_t now = backend::Now();
  bool tick = MillisecondsToNextTimer(now) == 0;
  double start = emscripten_get_now();
  l.stepping = true;
  bool more = l.step();
  l.stepping = false;
  if (tick) {
    ++l.ticks;
    l.tickMs += emscripten_get_now() - start;
  }
  if (l.timeout) emscripten_clear_timeout(l.timeout);
  l.timeout = 0;
  if (!more) {
    l.step = nullptr;
    Listen(false);
    PageClosed();
    return;
  }
  int32_t wait = MillisecondsToNextTimer(backend::Now());
  if (wait >= 0) l.timeout = emscripten_set_timeout(OnTimeout, wait, nullptr);
}

}  // namespace web

// One copy per tab: each tab has its own memory, so there is nothing to share or lock.
bool ClaimSingleCopy(const char*) {
  return true;
}

void RunMessageLoop(LoopStep step) {
  g_loop.step = step;
  Listen(true);
  PageRunning();
  if (PageHasFocus()) InputActivate(true);
  web::Pump();
}

namespace backend {

uint32_t Now() {
  return uint32_t(uint64_t(PageClock()));  // wraps, as the desktop's clock does
}

std::string DisplayName() {
  return "browser-tab";
}

void PollInput() {}  // the page delivers input through its event handlers

bool WaitForInput(int32_t) {
  return true;  // never called: the page's loop does not wait
}

}  // namespace backend

}  // namespace quillorn::platform

// For the page's measurements and tests.
extern "C" {
EMSCRIPTEN_KEEPALIVE uint32_t quillorn_web_ticks() {
  return quillorn::platform::g_loop.ticks;
}
EMSCRIPTEN_KEEPALIVE double quillorn_web_tick_ms() {
  return quillorn::platform::g_loop.tickMs;
}
}
