// Internals of the SDL backend's window, shared by its files.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/settings/settings.h"

namespace quillorn::platform::sdl {

SDL_Window* MainWindow();
// Recomposes the whole frame (client picture, open drop-down or dialog, menu bar) and shows it.
void RedrawAll();
// One event from SDL, turned into input for the router.
void HandleEvent(const SDL_Event& e);

// The window's scale (1 to 3) and fullscreen: the player's business, never the game's.
int32_t WindowScale();
bool Fullscreen();
// Puts the player's settings into effect: the scale the window has when not fullscreen
// (lowered to what fits on its screen), fullscreen, the beep strip, the menu's checks.
// Returns what it took: fullscreen stays as it was when SDL refuses it.
Settings ApplySettings(const Settings& wanted, const Settings& before);
// The beep strip changed its look: shows it.
void StripChanged();
// A position in the window (the mouse) as a position in the frame the menu bar, the dialogs
// and the client area are laid out in.
void WindowToFrame(int32_t x, int32_t y, int32_t& frameX, int32_t& frameY);

// Game controllers: those present are opened with the window, later ones when they arrive.
void OpenGamepads();
void CloseGamepads();
// True when the event was a game controller's; its buttons and stick become key events.
bool GamepadEvent(const SDL_Event& e);
// Rumbles the controller last used (or, before any was used, every one) at strength 0 to 1.
void RumbleGamepads(float strength, uint32_t ms);

}  // namespace quillorn::platform::sdl
