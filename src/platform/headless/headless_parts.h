// What the files of the headless backend share besides its test control (headless.h).
#pragma once

namespace quillorn::headless {

// The settings' place back to memory, empty (headless_settings.cpp).
void ResetSettingsPlace();
// The whole window frame anew, after its size changed; the beep strip anew.
void FitFrame();
void StripChanged();

}  // namespace quillorn::headless
