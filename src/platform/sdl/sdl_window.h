// Internals of the SDL backend's window, shared by its files.
#pragma once

#include <SDL.h>

namespace quillorn::platform::sdl {

SDL_Window* MainWindow();
// Recomposes the whole frame (client picture, open drop-down or dialog, menu bar) and shows it.
void RedrawAll();
// One event from SDL, turned into input for the router.
void HandleEvent(const SDL_Event& e);

}  // namespace quillorn::platform::sdl
