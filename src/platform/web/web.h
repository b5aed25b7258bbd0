// Internals of the web backend, shared by its files. The page's JavaScript half lives in
// page.js; these files call it through EM_JS.
#pragma once

#include <cstdint>

#include "platform/settings/settings.h"

namespace quillorn::platform::web {

// Recomposes the whole frame (client picture, open drop-down or dialog, menu bar) and puts
// it on the canvas.
void RedrawAll();
// Puts the player's settings into effect on the page: the canvas's scale and height (the beep
// strip), fullscreen, the menu's checks.
Settings ApplySettings(const Settings& wanted, const Settings& before);
// The beep strip changed its look: puts it on the canvas.
void StripChanged();

// Runs the message loop's step now (input just arrived or the timer is due) and sets the
// timer for the next tick.
void Pump();

// The sound muted or not: the audio context rests while muted.
void MuteSound(bool muted);

// Game controllers, polled while one is connected, and the page's touch controls.
void StartGamepads();
void StopGamepads();

}  // namespace quillorn::platform::web
