// Game controllers through SDL's game controller API, as the keyboard: the D-pad and the left
// stick are the arrow keys (held while held, so walking works), A and Start are Enter, Y is
// E, Back opens the window menu, and B closes an open menu or dialog. A controller plugged in
// while the game runs is opened when SDL announces it. The one last used rumbles with the
// beep when the player asks for that.
#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_window.h"
#include "platform/window/pad_keys.h"

namespace quillorn::platform {

namespace {

struct Pad {
  SDL_JoystickID id = -1;
  SDL_GameController* controller = nullptr;
  PadKeys keys;
  int32_t stickX = 0, stickY = 0;
};

std::vector<Pad> g_pads;
SDL_JoystickID g_lastUsed = -1;  // the controller a button or the stick last came from

PadButton Button(uint8_t button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
      return PadButton::kA;
    case SDL_CONTROLLER_BUTTON_B:
      return PadButton::kB;
    case SDL_CONTROLLER_BUTTON_Y:
      return PadButton::kY;
    case SDL_CONTROLLER_BUTTON_BACK:
      return PadButton::kBack;
    case SDL_CONTROLLER_BUTTON_START:
      return PadButton::kStart;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return PadButton::kUp;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return PadButton::kRight;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return PadButton::kDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return PadButton::kLeft;
    default:
      return PadButton::kOther;
  }
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
  PadLetGo(p.keys);
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
  PadForgetAll();
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
      g_lastUsed = e.cbutton.which;
      if (Pad* p = Find(e.cbutton.which))
        PadButtonChanged(p->keys, e.cbutton.button, Button(e.cbutton.button),
                         e.type == SDL_CONTROLLERBUTTONDOWN);
      return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
      Pad* p = Find(e.caxis.which);
      if (!p) return true;
      g_lastUsed = e.caxis.which;
      if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) p->stickX = e.caxis.value;
      if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) p->stickY = e.caxis.value;
      PadStickMoved(p->keys, p->stickX / 32767.0, p->stickY / 32767.0);
      return true;
    }
    default:
      return false;
  }
}

void RumbleGamepads(float strength, uint32_t ms) {
  const Uint16 level = Uint16(std::clamp(strength, 0.0f, 1.0f) * 0xFFFF);
  const Pad* used = Find(g_lastUsed);
  // A controller without rumble answers -1: nothing to do, nothing to say.
  for (const Pad& p : g_pads)
    if (!used || &p == used) SDL_GameControllerRumble(p.controller, level, level, ms);
}

}  // namespace sdl

}  // namespace quillorn::platform
