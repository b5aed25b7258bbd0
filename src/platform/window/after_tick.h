// What the platform does itself after the window procedure has had a timer tick, on every
// backend: the beep strip fades its pulse, and a silent sound device rests.
#pragma once

namespace quillorn::platform {

void AfterTimerTick();

}  // namespace quillorn::platform
