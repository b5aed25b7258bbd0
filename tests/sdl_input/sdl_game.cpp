#include "sdl_game.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/sdl/sdl_window.h"
#include "platform/window/window_state.h"
#include "shell/main_window.h"
#include "shell/win_main.h"

namespace quillorn::test {

namespace {

std::vector<platform::Message> g_messages;

int32_t RecordingProc(uint32_t type, uint32_t wParam, int32_t lParam) {
  g_messages.push_back({type, wParam, lParam});
  return MainWindowProc(type, wParam, lParam);
}

// One step of the message loop; false once the game has quit.
bool Step() {
  platform::Message m;
  if (!platform::GetMessage(m)) return false;
  platform::DispatchMessage(m);
  return true;
}

}  // namespace

bool StartSdlGame() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  // The dummy driver gives no window the keyboard focus; controllers must be heard anyway.
  setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
  // A display of its own, so that test processes running side by side are not second copies.
  setenv("DISPLAY", (":sdl-input-" + std::to_string(getpid())).c_str(), 1);
  unsetenv("WAYLAND_DISPLAY");
  g_messages.clear();
  if (!StartUp() || !GameWindow()) return false;
  platform::Window().desc.proc = RecordingProc;
  return true;
}

void StopSdlGame() {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_CLOSE;
  e.window.windowID = SDL_GetWindowID(GameWindow());
  SDL_PushEvent(&e);
  for (int i = 0; i < 1000 && Step(); ++i) {
  }
}

void RunGame(int ms) {
  RunGameUntil(ms, [] { return false; });
}

bool RunGameUntil(int ms, const std::function<bool()>& cond) {
  uint64_t end = SDL_GetTicks64() + uint64_t(ms);
  while (SDL_GetTicks64() < end) {
    if (cond()) return true;
    if (!Step()) break;
  }
  return cond();
}

const std::vector<platform::Message>& GameMessages() {
  return g_messages;
}

void ForgetGameMessages() {
  g_messages.clear();
}

std::vector<platform::Message> GameKeys() {
  std::vector<platform::Message> keys;
  for (const platform::Message& m : g_messages)
    if (m.type == platform::kMsgKeyDown || m.type == platform::kMsgKeyUp) keys.push_back(m);
  return keys;
}

SDL_Window* GameWindow() {
  return platform::sdl::MainWindow();
}

void PushKey(bool down, SDL_Scancode scancode, Uint16 mods, bool repeat) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.windowID = SDL_GetWindowID(GameWindow());
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.scancode = scancode;
  e.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
  e.key.keysym.mod = mods;
  SDL_PushEvent(&e);
}

void PushFocus(bool gained) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
  e.window.windowID = SDL_GetWindowID(GameWindow());
  SDL_PushEvent(&e);
}

bool PlugInPad(VirtualPad& pad) {
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  // Every button and axis present, in SDL's order: button i is the controller's button i.
  desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1u;
  desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1u;
  desc.name = "Quillorn test pad";
  int index = SDL_JoystickAttachVirtualEx(&desc);
  if (index < 0) return false;
  pad.joystick = SDL_JoystickOpen(index);
  return pad.joystick != nullptr;
}

void UnplugPad(VirtualPad& pad) {
  if (!pad.joystick) return;
  SDL_JoystickID id = SDL_JoystickInstanceID(pad.joystick);
  SDL_JoystickClose(pad.joystick);
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  pad.joystick = nullptr;
}

void SetPadButton(VirtualPad& pad, SDL_GameControllerButton button, bool down) {
  SDL_JoystickSetVirtualButton(pad.joystick, button, down ? SDL_PRESSED : SDL_RELEASED);
}

void SetPadAxis(VirtualPad& pad, SDL_GameControllerAxis axis, int16_t value) {
  SDL_JoystickSetVirtualAxis(pad.joystick, axis, value);
}

}  // namespace quillorn::test

// In sanitizer builds: SDL keeps its session-bus connection's buffers to the end of the
// process by design; that is not a leak of the game's.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}
