// What the common platform code needs of a backend that shares its window code (SDL2, web
// and headless; Win32 implements platform.h on Windows' own). Only the platform folder and
// the tests see this header.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/surface.h"

namespace quillorn::platform::backend {

uint32_t Now();  // the millisecond clock behind GetTickCount

// Names the display the window appears on; one copy of the game may run per display.
std::string DisplayName();

// Collects input that has already arrived, without waiting.
void PollInput();

// Collects input that has arrived (it reaches the queue through the input router), waiting
// at most timeoutMs for some to come; timeoutMs < 0 waits without limit. Returns false when
// nothing can ever arrive (the headless backend with nothing left to do).
bool WaitForInput(int32_t timeoutMs);

bool CreateWindow(const WindowDesc& desc);
void ShowWindow();
void DestroyWindow();

// The window's picture changed inside dirty; show it.
void Present(const Surface& picture, const Rect& dirty);

// The menu bar or a dialog changed its look; redraw the window's chrome.
void ChromeChanged();

}  // namespace quillorn::platform::backend
