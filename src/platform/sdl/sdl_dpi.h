// How dense the screen is, for the window's starting scale.
#pragma once

#include <SDL.h>

namespace quillorn::platform::sdl {

// The dots per inch the X desktop asks programs to draw at: its "Xft.dpi" resource, found in
// the text of the screen's resource database (null or without it: 0).
float ParseXftDpi(const char* resources);

// The density the window's screen is used at: the desktop's Xft.dpi when it sets one (that
// is what its scaling setting changes), else the density SDL measures for the display, else
// the X screen's own; 0 when nothing tells.
float ScreenDpi(SDL_Window* window);

}  // namespace quillorn::platform::sdl
