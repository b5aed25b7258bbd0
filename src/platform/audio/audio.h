// The sound output: one stereo device and sound buffers that play on it. Each buffer is one
// voice of a recorded sound; every playing voice is summed at full level, unpanned, and
// saturated. When no device could be opened, every call does nothing and returns failure.
// All calls come from the game's thread; a backend mixes on its own.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillorn::platform {

// The layout of a recording, field for field as a WAVE file's "fmt " chunk holds it.
struct SoundFormat {
  uint16_t formatTag = 0;  // 1: integer PCM, the only kind accepted
  uint16_t channels = 0;   // 1 or 2
  uint32_t framesPerSecond = 0;
  uint32_t averageBytesPerSecond = 0;  // not looked at
  uint16_t blockAlign = 0;             // bytes per frame: channels * bitsPerSample / 8
  uint16_t bitsPerSample = 0;          // 8 (unsigned) or 16 (signed)
};

// A handle to a sound buffer; 0 is none.
using SoundBuffer = uint32_t;

// Playback rates outside this range are refused and leave the rate as it was.
constexpr uint32_t kMinPlaybackRate = 100;
constexpr uint32_t kMaxPlaybackRate = 200000;

// Opens the default output device. False when there is none: one line has said so, and the
// calls below then do nothing.
bool OpenAudio();
// Stops and releases every buffer, then closes the device.
void CloseAudio();

// A new, silent buffer holding a copy of the samples (whole frames only; a partial frame at
// the end is dropped). Its rate is the recorded rate. Returns 0 when there is no device, the
// format is not 8-bit unsigned or 16-bit signed PCM with one or two channels, the rate is
// out of range, or no whole frame is given.
SoundBuffer CreateSoundBuffer(const SoundFormat& format, const uint8_t* bytes, size_t size);
// A second voice of the same samples with its own rate, position and play state; it starts
// silent at the source's current rate. Returns 0 when the source is not a live buffer.
SoundBuffer DuplicateSoundBuffer(SoundBuffer source);
// Playback rate in frames per second; the pitch rises with it. It stays until set again.
void SetBufferRate(SoundBuffer buffer, uint32_t framesPerSecond);
uint32_t BufferRate(SoundBuffer buffer);  // 0 for no live buffer
// Starts the buffer from its first frame, restarting it if it still sounds. A looping play
// repeats the whole sound until stopped; otherwise it falls silent at the end.
void PlayBuffer(SoundBuffer buffer, bool loop);
// Halts the buffer where it is.
void StopBuffer(SoundBuffer buffer);
bool BufferPlaying(SoundBuffer buffer);
// Stops the buffer and frees it; the samples go when their last voice does.
void ReleaseBuffer(SoundBuffer buffer);

// Each buffer belongs to one of two groups with a loudness of its own, set by the player:
// the music and the effects (every buffer starts as an effect). A level runs from 0 (silent)
// to kMaxVolume (the recording's own level, the default); the gain is (level / 10) squared,
// so that equal steps sound like equal steps. Muting silences both groups without forgetting
// their levels. Levels and the mute outlive the device: they may be set before it opens.
enum class SoundGroup : uint8_t { kEffects = 0, kMusic = 1 };
constexpr int32_t kMaxVolume = 10;
void SetBufferGroup(SoundBuffer buffer, SoundGroup group);
// Levels outside 0..kMaxVolume are clamped.
void SetGroupVolume(SoundGroup group, int32_t level);
int32_t GroupVolume(SoundGroup group);
void SetMuted(bool muted);
bool Muted();

}  // namespace quillorn::platform
