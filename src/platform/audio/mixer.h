// The software mixer every backend's sound output shares. It holds the sound buffers of
// audio.h and renders every playing voice into interleaved stereo 16-bit frames at the output
// rate.
// A backend starts it when its device opens, calls MixAudio from its output callback, and
// gives it a lock that keeps the callback out while the game's thread changes a voice.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/audio/audio.h"

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

// The calls of audio.h that change the mixer, as records: a backend whose sound is mixed
// elsewhere (the page's audio thread) sends them to a second mixer there, which makes the same
// calls in the same order and so hands out the same buffers.
enum class SoundCallKind : uint8_t {
  kCreate,     // buffer: the one made; format, bytes and size: the recording
  kDuplicate,  // buffer: the one made; value: its source
  kSetRate,    // value: frames per second
  kPlay,       // value: 1 to loop
  kStop,
  kRelease,
  kSetGroup,   // value: the SoundGroup
  kSetVolume,  // buffer: the SoundGroup; value: the level
  kSetMuted,   // value: 1 when muted
};
struct SoundCall {
  SoundCallKind kind = SoundCallKind::kStop;
  uint32_t buffer = 0;
  uint32_t value = 0;
  const SoundFormat* format = nullptr;
  const uint8_t* bytes = nullptr;
  size_t size = 0;
};
using SoundCallObserver = void (*)(const SoundCall& call);
// The observer hears every call that changed the mixer, after it did; null for none.
void ObserveSoundCalls(SoundCallObserver observer);
// Makes the call on this mixer; returns the buffer it made (Create, Duplicate) or acted on.
SoundBuffer ReplaySoundCall(const SoundCall& call);

}  // namespace quillorn::platform
