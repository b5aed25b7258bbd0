// The sound device rests while nothing can be heard (every voice silent, or the sound
// muted): its backend stops mixing and the program then costs the timer alone. It plays on
// as soon as a voice starts or the sound comes back. All calls come from the game's thread.
#pragma once

namespace quillorn::platform {

// The backend's way to pause (true) and resume (false) its device, given when the device
// opens, null when it closes. The device starts playing.
using AudioRestFn = void (*)(bool rest);
void SetAudioRest(AudioRestFn fn);

// After each timer tick: a device silent for kQuietTicks ticks in a row rests. Longer than
// the gaps between the farthest person's beeps, so that it never rests between two beeps.
constexpr int kQuietTicks = 24;
void AudioRestCheck();
// A voice started, or the volume or the mute changed: the device plays on when anything
// can now be heard.
void AudioWake();
bool AudioResting();

}  // namespace quillorn::platform
