// The software mixer every backend's sound output shares. It holds the sound buffers of
// audio.h and renders every playing voice into interleaved stereo 16-bit frames at the output
// rate.
// A backend starts it when its device opens, calls MixAudio from its output callback, and
// gives it a lock that keeps the callback out while the game's thread changes a voice.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillorn::platform {

using AudioLockFn = void (*)();

// The rate at which the backends that mix on a thread of their own (SDL, Win32) ask their
// device to play.
constexpr uint32_t kMixerOutputRate = 48000;

// Starts the mixer at outputRate frames per second. lock and unlock may be null when the
// backend mixes on the game's own thread.
void StartMixer(uint32_t outputRate, AudioLockFn lock, AudioLockFn unlock);
// Releases every buffer. The backend must have stopped calling MixAudio.
void StopMixer();
bool MixerRunning();
uint32_t MixerOutputRate();

// True when no voice can be heard: none plays, or every one that plays has no gain (the
// sound muted, its group at 0). Takes the backend's lock.
bool MixerSilent();

// Renders the next frames (two int16 values each, left then right). Allocates nothing and
// takes no lock itself: the caller holds the backend's lock, as an audio callback does.
void MixAudio(int16_t* out, size_t frames);

}  // namespace quillorn::platform
