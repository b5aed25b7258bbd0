#include "platform/window/after_tick.h"

#include "platform/audio/audio_rest.h"
#include "platform/cues/cue_strip.h"

namespace quillorn::platform {

void AfterTimerTick() {
  CueStripTick();
  AudioRestCheck();
}

}  // namespace quillorn::platform
