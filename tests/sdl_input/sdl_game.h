// The whole game started in this process as the executable starts it, over the real SDL
// backend on SDL's dummy video and sound drivers. Every message the game's window procedure
// receives is recorded before the game handles it; input is pushed as SDL events.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/platform.h"

namespace quillorn::test {

// False when start-up failed.
bool StartSdlGame();
// Closes the window as the close box does and runs the game until it has ended.
void StopSdlGame();

// Runs the game's message loop for ms milliseconds, or until cond holds; false on timeout.
void RunGame(int ms);
bool RunGameUntil(int ms, const std::function<bool()>& cond);

// Messages the game's window procedure received, oldest first.
const std::vector<platform::Message>& GameMessages();
void ForgetGameMessages();
// The key-down and key-up messages among them.
std::vector<platform::Message> GameKeys();

SDL_Window* GameWindow();

// A key pressed or released, with the modifiers held, as the keyboard driver reports it.
void PushKey(bool down, SDL_Scancode scancode, Uint16 mods = KMOD_NONE, bool repeat = false);
void PushFocus(bool gained);

// A game controller that SDL sees as plugged in; its buttons and axes are set by the test.
struct VirtualPad {
  SDL_Joystick* joystick = nullptr;
};
bool PlugInPad(VirtualPad& pad);
void UnplugPad(VirtualPad& pad);
void SetPadButton(VirtualPad& pad, SDL_GameControllerButton button, bool down);
void SetPadAxis(VirtualPad& pad, SDL_GameControllerAxis axis, int16_t value);

}  // namespace quillorn::test
