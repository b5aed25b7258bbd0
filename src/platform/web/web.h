// Internals of the web backend, shared by its files. The page's JavaScript half lives in
// page.js; these files call it through EM_JS.
#pragma once

#include <cstdint>

namespace quillorn::platform::web {

// Recomposes the whole frame (client picture, open drop-down or dialog, menu bar) and puts
// it on the canvas.
void RedrawAll();

// Runs the message loop's step now (input just arrived or the timer is due) and sets the
// timer for the next tick.
void Pump();

// Game controllers, polled while one is connected, and the page's touch controls.
void StartGamepads();
void StopGamepads();

}  // namespace quillorn::platform::web
