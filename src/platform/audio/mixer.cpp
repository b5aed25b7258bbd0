// The software mixer: sound buffers, voices and the band-limited resampler.
//
// Samples are converted once, when a buffer is made, to planar floats on the 16-bit scale,
// with a margin of silent frames on each side so that the resampler's window never needs a
// bounds check on a sound that does not loop. Each output frame of a voice is a 16-tap
// windowed-sinc interpolation of its samples; the voices are summed and saturated to 16 bits.
#include "platform/audio/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/audio/audio.h"
#include "platform/audio/audio_rest.h"

namespace quillorn::platform {
namespace {

constexpr int kTaps = 16;
constexpr int kHalf = kTaps / 2;  // the window spans kHalf - 1 frames back, kHalf ahead
constexpr int kPhaseBits = 9;
constexpr int kPhases = 1 << kPhaseBits;
constexpr int kMaxVoices = 32;
constexpr size_t kChunk = 256;

// Cut-off as a fraction of the recording's Nyquist rate, and the Kaiser window's shape.
// A cut-off a little below Nyquist keeps the images of upsampled sound over 60 dB down; the
// price is a gentle roll-off of the recording's top octave, which our recordings leave empty.
constexpr double kCutoff = 0.85;
constexpr double kKaiserBeta = 6.0;

struct Samples {
  std::vector<float> left, right;  // kHalf silent frames, the frames, kHalf silent frames
  uint32_t frames = 0;
  bool stereo = false;
  int users = 0;  // voices sharing these samples; touched only by the game's thread
};

struct Voice {
  Samples* samples = nullptr;  // null: the voice is free
  uint32_t generation = 0;
  uint32_t rate = 0;
  uint64_t step = 0;      // source frames per output frame, 32.32 fixed point
  uint64_t position = 0;  // source frame, 32.32 fixed point
  bool playing = false;
  bool looping = false;
  SoundGroup group = SoundGroup::kEffects;
};

struct Mixer {
  bool running = false;
  uint32_t outputRate = 0;
  AudioLockFn lock = nullptr;
  AudioLockFn unlock = nullptr;
  Voice voices[kMaxVoices];
};

Mixer mixer;

// The player's loudness, kept apart from the mixer's running state: it outlives the device.
struct Loudness {
  int32_t levels[2] = {kMaxVolume, kMaxVolume};
  bool muted = false;
  float gains[2] = {1.0f, 1.0f};  // what the mix multiplies by, from the two above
};
Loudness loudness;
SoundCallObserver observer = nullptr;

void Tell(const SoundCall& call) {
  if (observer) observer(call);
}
alignas(64) float kernel[kPhases][kTaps];
bool kernelBuilt = false;

double BesselI0(double x) {
  double sum = 1, term = 1;
  for (int k = 1; k < 32; ++k) {
    term *= (x / (2 * k)) * (x / (2 * k));
    sum += term;
  }
  return sum;
}

// One row per fractional position; each row sums to 1 so a constant passes unchanged.
void BuildKernel() {
  const double pi = 3.14159265358979323846;
  for (int p = 0; p < kPhases; ++p) {
    double fraction = static_cast<double>(p) / kPhases;
    double row[kTaps];
    double sum = 0;
    for (int k = 0; k < kTaps; ++k) {
      double t = (k - (kHalf - 1)) - fraction;
      double x = kCutoff * t;
      double sinc = std::fabs(x) < 1e-12 ? 1.0 : std::sin(pi * x) / (pi * x);
      double r = t / kHalf;
      double window = r * r >= 1 ? 0.0 : BesselI0(kKaiserBeta * std::sqrt(1 - r * r));
      row[k] = sinc * window;
      sum += row[k];
    }
    for (int k = 0; k < kTaps; ++k) kernel[p][k] = static_cast<float>(row[k] / sum);
  }
  kernelBuilt = true;
}

void Lock() {
  if (mixer.lock) mixer.lock();
}
void Unlock() {
  if (mixer.unlock) mixer.unlock();
}

Voice* FindVoice(SoundBuffer buffer) {
  uint32_t index = (buffer & 0xFF) - 1;
  if (!mixer.running || index >= kMaxVoices) return nullptr;
  Voice& voice = mixer.voices[index];
  if (!voice.samples || voice.generation != buffer >> 8) return nullptr;
  return &voice;
}

int FreeVoiceIndex() {
  for (int i = 0; i < kMaxVoices; ++i) {
    if (!mixer.voices[i].samples) return i;
  }
  return -1;
}

uint64_t StepFor(uint32_t rate) {
  return (static_cast<uint64_t>(rate) << 32) / mixer.outputRate;
}

// Installs samples in a free voice; returns its handle.
SoundBuffer Install(int index, Samples* samples, uint32_t rate) {
  Voice& voice = mixer.voices[index];
  Lock();
  voice.samples = samples;
  voice.generation = (voice.generation + 1) & 0xFFFFFF;
  voice.rate = rate;
  voice.step = StepFor(rate);
  voice.position = 0;
  voice.playing = false;
  voice.looping = false;
  voice.group = SoundGroup::kEffects;
  Unlock();
  ++samples->users;
  return voice.generation << 8 | static_cast<uint32_t>(index + 1);
}

typedef float Float4 __attribute__((vector_size(16)));
typedef float Float8 __attribute__((vector_size(32)));

static_assert(kTaps == 16, "the products below are written out for 16 taps");

// The 16-tap products summed as a tree, which keeps the additions from waiting on each other:
// eight lanes of two products each, then four lanes. Written eight wide so that a processor
// with 256-bit registers does each half in one instruction; without them the compiler splits
// every operation into two of 128 bits, in the same order, so the sums are the same.
inline Float4 Products(const float* c, const float* x) {
  Float8 c0, c1, x0, x1;  // loaded here, not returned from a helper: no vector crosses a call
  std::memcpy(&c0, c, sizeof c0);
  std::memcpy(&c1, c + 8, sizeof c1);
  std::memcpy(&x0, x, sizeof x0);
  std::memcpy(&x1, x + 8, sizeof x1);
  Float8 p = c0 * x0 + c1 * x1;
  return __builtin_shufflevector(p, p, 0, 1, 2, 3) + __builtin_shufflevector(p, p, 4, 5, 6, 7);
}

inline float Dot(const float* c, const float* x) {
  Float4 p = Products(c, x);
  return (p[0] + p[1]) + (p[2] + p[3]);
}

// Both channels at once, folding their two sums together.
inline void DotStereo(const float* c, const float* x, const float* y, float& l, float& r) {
  Float4 pl = Products(c, x), pr = Products(c, y);
  Float4 half =
      __builtin_shufflevector(pl, pr, 0, 1, 4, 5) + __builtin_shufflevector(pl, pr, 2, 3, 6, 7);
  l = half[0] + half[1];
  r = half[2] + half[3];
}

// The window around a looping voice's seam reads across it, from the other end.
void GatherWrapped(const float* frames, uint32_t count, int64_t first, float* out) {
  for (int k = 0; k < kTaps; ++k) {
    int64_t i = (first + k) % static_cast<int64_t>(count);
    out[k] = frames[i < 0 ? i + count : i];
  }
}

// Built twice on x86-64, for processors with AVX2 and for any other, and picked when the
// program loads (where the loader can pick: ELF's ifunc); elsewhere (WebAssembly, Windows)
// once.
#if defined(__x86_64__) && defined(__ELF__)
#define MIX_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define MIX_CLONES
#endif
MIX_CLONES void MixVoice(Voice& voice, float gain, float* acc, size_t frames) {
  const Samples& s = *voice.samples;
  const float* left = s.left.data() + kHalf;
  const float* right = s.stereo ? s.right.data() + kHalf : left;
  const uint64_t end = static_cast<uint64_t>(s.frames) << 32;
  const uint64_t step = voice.step;
  // Positions whose window lies on the samples as they are stored: a sound that does not
  // loop has silent margins on both sides; a looping one must keep clear of its seam.
  uint64_t low = 0, high = end;
  if (voice.looping) {
    low = static_cast<uint64_t>(kHalf - 1) << 32;
    high = s.frames > kHalf ? static_cast<uint64_t>(s.frames - kHalf) << 32 : 0;
  }
  uint64_t position = voice.position;
  size_t i = 0;
  while (i < frames) {
    if (position >= low && position < high) {
      // A run of frames that needs no check on the way: the common case, kept tight.
      const size_t run = static_cast<size_t>(
          std::min<uint64_t>(frames - i, (high - position - 1) / std::max<uint64_t>(step, 1) + 1));
      for (size_t k = 0; k < run; ++k, ++i) {
        const float* c = kernel[static_cast<uint32_t>(position) >> (32 - kPhaseBits)];
        const int64_t first = static_cast<int64_t>(position >> 32) - (kHalf - 1);
        float l, r;
        if (s.stereo) {
          DotStereo(c, left + first, right + first, l, r);
        } else {
          l = r = Dot(c, left + first);
        }
        acc[2 * i] += l * gain;  // a gain of 1 leaves the sample exactly as it was
        acc[2 * i + 1] += r * gain;
        position += step;
      }
    } else {
      // One frame whose window reads across a looping sound's seam.
      const uint32_t index = static_cast<uint32_t>(position >> 32);
      const float* c = kernel[static_cast<uint32_t>(position) >> (32 - kPhaseBits)];
      const int64_t first = static_cast<int64_t>(index) - (kHalf - 1);
      float window[kTaps];
      GatherWrapped(left, s.frames, first, window);
      float l = Dot(c, window), r = l;
      if (s.stereo) {
        GatherWrapped(right, s.frames, first, window);
        r = Dot(c, window);
      }
      acc[2 * i] += l * gain;
      acc[2 * i + 1] += r * gain;
      position += step;
      ++i;
    }
    if (position >= end) {
      if (!voice.looping) {
        voice.playing = false;
        break;
      }
      position %= end;
    }
  }
  voice.position = position;
}

// Clamped, then rounded half away from zero; free of branches so that the loop over a
// chunk becomes vector instructions.
inline int16_t Saturate(float v) {
  v = v < -32768.0f ? -32768.0f : v;
  v = v > 32767.0f ? 32767.0f : v;
  return static_cast<int16_t>(static_cast<int32_t>(v + std::copysign(0.5f, v)));
}

// Saturate over a chunk, four samples at a time where the processor has SSE2 (every x86-64
// does): the same clamp, the same half added with the sample's sign, the same truncation.
void SaturateAll(const float* in, int16_t* out, size_t count) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128 lo = _mm_set1_ps(-32768.0f), hi = _mm_set1_ps(32767.0f);
  const __m128 half = _mm_set1_ps(0.5f), sign = _mm_set1_ps(-0.0f);
  for (; i + 8 <= count; i += 8) {
    __m128i words[2];
    for (int part = 0; part < 2; ++part) {
      __m128 v = _mm_loadu_ps(in + i + 4 * part);
      v = _mm_min_ps(_mm_max_ps(v, lo), hi);
      v = _mm_add_ps(v, _mm_or_ps(_mm_and_ps(v, sign), half));
      words[part] = _mm_cvttps_epi32(v);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packs_epi32(words[0], words[1]));
  }
#endif
  for (; i < count; ++i) out[i] = Saturate(in[i]);
}

}  // namespace

void StartMixer(uint32_t outputRate, AudioLockFn lock, AudioLockFn unlock) {
  if (!kernelBuilt) BuildKernel();
  StopMixer();
  mixer.outputRate = outputRate;
  mixer.lock = lock;
  mixer.unlock = unlock;
  mixer.running = outputRate > 0;
}

void StopMixer() {
  if (!mixer.running) return;
  mixer.lock = nullptr;  // the backend no longer mixes
  mixer.unlock = nullptr;
  for (int i = 0; i < kMaxVoices; ++i) {
    Voice& voice = mixer.voices[i];
    if (voice.samples) ReleaseBuffer(voice.generation << 8 | static_cast<uint32_t>(i + 1));
  }
  mixer.running = false;
}

bool MixerRunning() {
  return mixer.running;
}
uint32_t MixerOutputRate() {
  return mixer.running ? mixer.outputRate : 0;
}

void MixAudio(int16_t* out, size_t frames) {
  float acc[kChunk * 2];
  while (frames > 0) {
    size_t n = frames < kChunk ? frames : kChunk;
    std::memset(acc, 0, sizeof acc);
    if (mixer.running) {
      for (Voice& voice : mixer.voices) {
        if (voice.samples && voice.playing) {
          MixVoice(voice, loudness.gains[static_cast<int>(voice.group)], acc, n);
        }
      }
    }
    SaturateAll(acc, out, 2 * n);
    out += 2 * n;
    frames -= n;
  }
}

bool MixerSilent() {
  if (!mixer.running) return true;
  bool silent = true;
  Lock();
  for (const Voice& voice : mixer.voices)
    if (voice.samples && voice.playing && loudness.gains[static_cast<int>(voice.group)] > 0.0f)
      silent = false;
  Unlock();
  return silent;
}

SoundBuffer CreateSoundBuffer(const SoundFormat& format, const uint8_t* bytes, size_t size) {
  if (!mixer.running || !bytes) return 0;
  bool pcm = format.formatTag == 1 && (format.channels == 1 || format.channels == 2) &&
             (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
             format.blockAlign == format.channels * format.bitsPerSample / 8;
  if (!pcm) return 0;
  if (format.framesPerSecond < kMinPlaybackRate || format.framesPerSecond > kMaxPlaybackRate) {
    return 0;
  }
  size_t frames = size / format.blockAlign;
  if (frames == 0 || frames > 0x7FFFFFFF - 2 * kHalf) return 0;
  int index = FreeVoiceIndex();
  if (index < 0) return 0;

  auto* samples = new Samples;
  samples->frames = static_cast<uint32_t>(frames);
  samples->stereo = format.channels == 2;
  samples->left.assign(frames + 2 * kHalf, 0.0f);
  if (samples->stereo) samples->right.assign(frames + 2 * kHalf, 0.0f);
  for (size_t f = 0; f < frames; ++f) {
    for (int ch = 0; ch < format.channels; ++ch) {
      float v;
      if (format.bitsPerSample == 8) {
        v = (static_cast<int>(bytes[f * format.channels + ch]) - 128) * 256.0f;
      } else {
        const uint8_t* p = bytes + (f * format.channels + ch) * 2;
        v = static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
      }
      (ch == 0 ? samples->left : samples->right)[kHalf + f] = v;
    }
  }
  SoundBuffer made = Install(index, samples, format.framesPerSecond);
  Tell({SoundCallKind::kCreate, made, 0, &format, bytes, size});
  return made;
}

SoundBuffer DuplicateSoundBuffer(SoundBuffer source) {
  Voice* voice = FindVoice(source);
  if (!voice) return 0;
  int index = FreeVoiceIndex();
  if (index < 0) return 0;
  SoundBuffer made = Install(index, voice->samples, voice->rate);
  Tell({SoundCallKind::kDuplicate, made, source});
  return made;
}

void SetBufferRate(SoundBuffer buffer, uint32_t framesPerSecond) {
  Voice* voice = FindVoice(buffer);
  if (!voice || framesPerSecond < kMinPlaybackRate || framesPerSecond > kMaxPlaybackRate) return;
  Lock();
  voice->rate = framesPerSecond;
  voice->step = StepFor(framesPerSecond);
  Unlock();
  Tell({SoundCallKind::kSetRate, buffer, framesPerSecond});
}

uint32_t BufferRate(SoundBuffer buffer) {
  Voice* voice = FindVoice(buffer);
  return voice ? voice->rate : 0;
}

void PlayBuffer(SoundBuffer buffer, bool loop) {
  Voice* voice = FindVoice(buffer);
  if (!voice) return;
  Lock();
  voice->position = 0;
  voice->looping = loop;
  voice->playing = true;
  Unlock();
  Tell({SoundCallKind::kPlay, buffer, loop ? 1u : 0u});
  AudioWake();
}

void StopBuffer(SoundBuffer buffer) {
  Voice* voice = FindVoice(buffer);
  if (!voice) return;
  Lock();
  voice->playing = false;
  Unlock();
  Tell({SoundCallKind::kStop, buffer});
}

bool BufferPlaying(SoundBuffer buffer) {
  Voice* voice = FindVoice(buffer);
  if (!voice) return false;
  Lock();
  bool playing = voice->playing;
  Unlock();
  return playing;
}

void ReleaseBuffer(SoundBuffer buffer) {
  Voice* voice = FindVoice(buffer);
  if (!voice) return;
  Lock();
  Samples* samples = voice->samples;
  voice->samples = nullptr;
  voice->playing = false;
  Unlock();
  if (--samples->users == 0) delete samples;
  Tell({SoundCallKind::kRelease, buffer});
}

void SetBufferGroup(SoundBuffer buffer, SoundGroup group) {
  Voice* voice = FindVoice(buffer);
  if (!voice) return;
  Lock();
  voice->group = group;
  Unlock();
  Tell({SoundCallKind::kSetGroup, buffer, static_cast<uint32_t>(group)});
}

namespace {
void UpdateGains() {
  Lock();
  for (int g = 0; g < 2; ++g) {
    float level = loudness.muted ? 0.0f : static_cast<float>(loudness.levels[g]) / kMaxVolume;
    loudness.gains[g] = level * level;
  }
  Unlock();
}
}  // namespace

void SetGroupVolume(SoundGroup group, int32_t level) {
  loudness.levels[static_cast<int>(group)] = std::clamp(level, 0, kMaxVolume);
  UpdateGains();
  Tell({SoundCallKind::kSetVolume, static_cast<uint32_t>(group),
        static_cast<uint32_t>(loudness.levels[static_cast<int>(group)])});
  AudioWake();
}

int32_t GroupVolume(SoundGroup group) {
  return loudness.levels[static_cast<int>(group)];
}

void SetMuted(bool muted) {
  loudness.muted = muted;
  UpdateGains();
  Tell({SoundCallKind::kSetMuted, 0, muted ? 1u : 0u});
  AudioWake();
}

void ObserveSoundCalls(SoundCallObserver newObserver) {
  observer = newObserver;
}

bool Muted() {
  return loudness.muted;
}

}  // namespace quillorn::platform
