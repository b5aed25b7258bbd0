// Internals of the SDL backend's window, shared by its files.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace quillorn::platform::sdl {

SDL_Window* MainWindow();
// Recomposes the whole frame (client picture, open drop-down or dialog, menu bar) and shows it.
void RedrawAll();
// One event from SDL, turned into input for the router.
void HandleEvent(const SDL_Event& e);

// The window's scale (1 to 3) and fullscreen: the player's business, never the game's.
int32_t WindowScale();
bool Fullscreen();
// Sets the scale the window has when not fullscreen, lowered to what fits on its screen.
void SetWindowScale(int32_t scale);
void ToggleFullscreen();
// A position in the window (the mouse) as a position in the frame the menu bar, the dialogs
// and the client area are laid out in.
void WindowToFrame(int32_t x, int32_t y, int32_t& frameX, int32_t& frameY);

// Game controllers: those present are opened with the window, later ones when they arrive.
void OpenGamepads();
void CloseGamepads();
// True when the event was a game controller's; its buttons and stick become key events.
bool GamepadEvent(const SDL_Event& e);

}  // namespace quillorn::platform::sdl
