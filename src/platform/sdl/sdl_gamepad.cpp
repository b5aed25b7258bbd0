// Game controllers through SDL's game controller API, as the keyboard: the D-pad and the left
// stick are the arrow keys (held while held, so walking works), A and Start are Enter, Y is
// E, Back opens the window menu, and B closes an open menu or dialog. A controller plugged in
// while the game runs is opened when SDL announces it.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_window.h"
#include "platform/window/input.h"

namespace quillorn::platform {

namespace {

// The stick counts as pushed beyond half way and as let go below a quarter, so that it does
// not flutter at the edge.
constexpr int32_t kStickPress = 16384;
constexpr int32_t kStickRelease = 8192;

struct Pad {
  SDL_JoystickID id = -1;
  SDL_GameController* controller = nullptr;
  uint32_t buttonKey[SDL_CONTROLLER_BUTTON_MAX] = {};  // the key each held button pressed
  uint32_t stickKey = 0;                               // the arrow the stick holds, or 0
  int32_t stickX = 0, stickY = 0;
};

std::vector<Pad> g_pads;
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

uint32_t ButtonKey(uint8_t button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return kKeyUp;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return kKeyRight;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return kKeyDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return kKeyLeft;
    case SDL_CONTROLLER_BUTTON_A:
    case SDL_CONTROLLER_BUTTON_START:
      return kKeyReturn;
    case SDL_CONTROLLER_BUTTON_Y:
      return kKeyE;
    case SDL_CONTROLLER_BUTTON_BACK:
      return kKeyF10;
    case SDL_CONTROLLER_BUTTON_B:
      // Esc, but only to back out of the menu or a dialog: in the game it would quit.
      return MenuBarOpen() || DialogIsOpen() ? uint32_t(kKeyEscape) : 0u;
    default:
      return 0;
  }
}

// The arrow the stick points at: the axis pushed further wins.
uint32_t StickKey(const Pad& p) {
  int32_t ax = std::abs(p.stickX), ay = std::abs(p.stickY);
  int32_t limit = p.stickKey ? kStickRelease : kStickPress;
  if (std::max(ax, ay) < limit) return 0;
  if (ax >= ay) return p.stickX > 0 ? kKeyRight : kKeyLeft;
  return p.stickY > 0 ? kKeyDown : kKeyUp;
}

Pad* Find(SDL_JoystickID id) {
  for (Pad& p : g_pads)
    if (p.id == id) return &p;
  return nullptr;
}

void Open(int deviceIndex) {
  if (Find(SDL_JoystickGetDeviceInstanceID(deviceIndex))) return;
  SDL_GameController* c = SDL_GameControllerOpen(deviceIndex);
  if (!c) return;
  Pad p;
  p.id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c));
  p.controller = c;
  g_pads.push_back(p);
}

// Lets go of everything the pad holds, then closes it.
void Close(Pad& p) {
  for (uint32_t& key : p.buttonKey) Release(std::exchange(key, 0));
  Release(std::exchange(p.stickKey, 0));
  SDL_GameControllerClose(p.controller);
}

}  // namespace

namespace sdl {

void OpenGamepads() {
  // Controllers already plugged in are announced as arriving, like later ones.
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void CloseGamepads() {
  for (Pad& p : g_pads) Close(p);
  g_pads.clear();
  g_holds.clear();
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool GamepadEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Open(e.cdevice.which);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      for (auto it = g_pads.begin(); it != g_pads.end(); ++it)
        if (it->id == e.cdevice.which) {
          Close(*it);
          g_pads.erase(it);
          break;
        }
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      Pad* p = Find(e.cbutton.which);
      if (!p || e.cbutton.button >= SDL_CONTROLLER_BUTTON_MAX) return true;
      uint32_t& held = p->buttonKey[e.cbutton.button];
      if (e.type == SDL_CONTROLLERBUTTONUP) {
        Release(std::exchange(held, 0));
      } else if (!held) {
        held = ButtonKey(e.cbutton.button);
        Press(held);
      }
      return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
      Pad* p = Find(e.caxis.which);
      if (!p) return true;
      if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) p->stickX = e.caxis.value;
      if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) p->stickY = e.caxis.value;
      uint32_t key = StickKey(*p);
      if (key != p->stickKey) {
        Release(std::exchange(p->stickKey, key));
        Press(key);
      }
      return true;
    }
    default:
      return false;
  }
}

}  // namespace sdl

}  // namespace quillorn::platform
