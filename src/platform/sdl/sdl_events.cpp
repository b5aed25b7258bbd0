// Input from SDL: keys as virtual-key codes, focus as activation, the close box, and the
// mouse for the menu bar and dialogs. The window's own keys (Ctrl+1, 2, 3 for the scale,
// Alt+Enter for fullscreen, Ctrl+M for the mute) stop here, like the window system's.
// Waiting blocks in SDL until an event or the timeout.
#include <cstdlib>
#include <set>
#include <string>

#include "platform/backend.h"
#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/sdl/sdl_window.h"
#include "platform/settings/settings.h"
#include "platform/window/input.h"
#include "platform/window/window_state.h"

namespace quillorn::platform {

namespace {

// Codes the classic desktop gives keys the game never looks at; the rest of the keyboard
// gets codes above 255 (0x100 + the key's position), so that no stray key can pass for
// one the game uses.
uint32_t VirtualKey(const SDL_Keysym& k) {
  SDL_Keycode sym = k.sym;
  if (sym >= SDLK_a && sym <= SDLK_z) return uint32_t(sym - SDLK_a + 'A');
  if (sym >= SDLK_0 && sym <= SDLK_9) return uint32_t(sym);
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return uint32_t(112 + (sym - SDLK_F1));
  switch (sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return kKeyReturn;
    case SDLK_SPACE:
      return kKeySpace;
    case SDLK_ESCAPE:
      return kKeyEscape;
    case SDLK_LEFT:
      return kKeyLeft;
    case SDLK_UP:
      return kKeyUp;
    case SDLK_RIGHT:
      return kKeyRight;
    case SDLK_DOWN:
      return kKeyDown;
    case SDLK_LALT:
    case SDLK_RALT:
      return kKeyAlt;
    case SDLK_BACKSPACE:
      return 8;
    case SDLK_TAB:
      return 9;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return 17;
    default:
      return 0x100 + uint32_t(k.scancode);
  }
}

// Physical keys whose press was one of the window's own: their release is the window's too.
std::set<SDL_Scancode> g_windowKeysDown;

// The window's own keys, carried out by the settings: the digits of Ctrl+1, 2, 3 by their
// position on the number row or on the keypad, Enter of Alt+Enter, M of Ctrl+M. True when
// the key was one of them.
bool WindowKey(const SDL_KeyboardEvent& k) {
  const SDL_Keysym& s = k.keysym;
  uint32_t key = VirtualKey(s);
  if (s.scancode >= SDL_SCANCODE_1 && s.scancode <= SDL_SCANCODE_3)
    key = uint32_t('1' + (s.scancode - SDL_SCANCODE_1));
  else if (s.scancode >= SDL_SCANCODE_KP_1 && s.scancode <= SDL_SCANCODE_KP_3)
    key = uint32_t('1' + (s.scancode - SDL_SCANCODE_KP_1));
  else if (key >= '1' && key <= '3')
    key = 0x100;  // a digit by its symbol elsewhere on the keyboard is not the scale's
  if (!platform::WindowKey(key, s.mod & KMOD_CTRL, s.mod & KMOD_ALT, s.mod & KMOD_SHIFT, k.repeat))
    return false;
  // Alt held for Alt+Enter is no longer a tap that opens the menu.
  MenuBarCancelAltTap();
  return true;
}

void KeyDown(const SDL_KeyboardEvent& k) {
  if (WindowKey(k)) {
    g_windowKeysDown.insert(k.keysym.scancode);
    return;
  }
  InputKeyDown(VirtualKey(k.keysym));  // auto-repeat arrives as further key-downs
}

void KeyUp(const SDL_KeyboardEvent& k) {
  if (g_windowKeysDown.erase(k.keysym.scancode)) return;
  InputKeyUp(VirtualKey(k.keysym));
}

// The mouse, in window coordinates, goes to an open dialog (modal: client coordinates), else
// to the menu bar.
void Mouse(int32_t windowX, int32_t windowY, bool down) {
  int32_t x, y;
  sdl::WindowToFrame(windowX, windowY, x, y);
  if (DialogIsOpen()) {
    DialogMouse(x, y - MenuBarHeight(), down);
    return;
  }
  MenuBarMouse(x, y, down);
}

// ":0", ":0.0" and "unix:0" are one display: the screen number and a local host name drop.
std::string SameDisplay(std::string d) {
  if (d.rfind("unix:", 0) == 0) d.erase(0, 4);
  size_t colon = d.rfind(':');
  size_t dot = d.find('.', colon == std::string::npos ? 0 : colon);
  if (colon != std::string::npos && dot != std::string::npos) d.erase(dot);
  return d;
}

}  // namespace

namespace sdl {

void HandleEvent(const SDL_Event& e) {
  if (GamepadEvent(e)) return;
  switch (e.type) {
    case SDL_KEYDOWN:
      KeyDown(e.key);
      break;
    case SDL_KEYUP:
      KeyUp(e.key);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT)
        Mouse(e.button.x, e.button.y, e.type == SDL_MOUSEBUTTONDOWN);
      break;
    case SDL_MOUSEMOTION:
      if (!DialogIsOpen()) {
        int32_t x, y;
        sdl::WindowToFrame(e.motion.x, e.motion.y, x, y);
        MenuBarMouseMove(x, y);
      }
      break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          InputActivate(true);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          MenuBarClose();
          InputActivate(false);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          RedrawAll();
          break;
        case SDL_WINDOWEVENT_CLOSE:
          InputClose();
          break;
        default:
          break;
      }
      break;
    default:
      break;  // SDL_QUIT follows the close box's event, which already asked to close
  }
}

}  // namespace sdl

void RunMessageLoop(LoopStep step) {
  WaitingMessageLoop(step);
}

namespace backend {

uint32_t Now() {
  return uint32_t(SDL_GetTicks64());
}

std::string DisplayName() {
  if (const char* d = std::getenv("DISPLAY"); d && *d) return SameDisplay(d);
  if (const char* d = std::getenv("WAYLAND_DISPLAY"); d && *d) return std::string("wayland-") + d;
  return "console";
}

void PollInput() {
  // Once a millisecond is enough: a turn of the loop asks several times over, and each time
  // SDL reads the display and the joystick devices afresh.
  static uint64_t lastPump = ~uint64_t(0);
  const uint64_t now = SDL_GetTicks64();
  if (now == lastPump) return;
  lastPump = now;
  SDL_Event e;
  while (SDL_PollEvent(&e)) sdl::HandleEvent(e);
}

bool WaitForInput(int32_t timeoutMs) {
  SDL_Event e;
  int got = timeoutMs < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, timeoutMs);
  if (got) {
    sdl::HandleEvent(e);
    PollInput();
  }
  return true;
}

}  // namespace backend

}  // namespace quillorn::platform
