// The software mixer: sound buffers, voices and the band-limited resampler.
//
// Samples are converted once, when a buffer is made, to planar floats on the 16-bit scale,
// with a margin of silent frames on each side so that the resampler's window never needs a
// bounds check on a sound that does not loop. Each output frame of a voice is a 16-tap
// windowed-sinc interpolation of its samples; the voices are summed and saturated to 16 bits.
#include "platform/audio/mixer.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/audio/audio.h"

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
};

struct Mixer {
  bool running = false;
  uint32_t outputRate = 0;
  AudioLockFn lock = nullptr;
  AudioLockFn unlock = nullptr;
  Voice voices[kMaxVoices];
};

Mixer mixer;
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
  Unlock();
  ++samples->users;
  return voice.generation << 8 | static_cast<uint32_t>(index + 1);
}

typedef float Float4 __attribute__((vector_size(16)));

inline Float4 Load4(const float* p) {
  Float4 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

typedef int Int4 __attribute__((vector_size(16)));
static_assert(kTaps == 16, "the products below are written out for 16 taps");

// The 16-tap products summed as a tree, which keeps the additions from waiting on each other.
inline Float4 Products(const float* c, const float* x) {
  return (Load4(c) * Load4(x) + Load4(c + 4) * Load4(x + 4)) +
         (Load4(c + 8) * Load4(x + 8) + Load4(c + 12) * Load4(x + 12));
}

inline float Dot(const float* c, const float* x) {
  Float4 p = Products(c, x);
  return (p[0] + p[1]) + (p[2] + p[3]);
}

// Both channels at once, folding their two sums together.
inline void DotStereo(const float* c, const float* x, const float* y, float& l, float& r) {
  Float4 pl = Products(c, x), pr = Products(c, y);
  Float4 half =
      __builtin_shuffle(pl, pr, Int4{0, 1, 4, 5}) + __builtin_shuffle(pl, pr, Int4{2, 3, 6, 7});
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

void MixVoice(Voice& voice, float* acc, size_t frames) {
  const Samples& s = *voice.samples;
  const float* left = s.left.data() + kHalf;
  const float* right = s.stereo ? s.right.data() + kHalf : left;
  const uint64_t end = static_cast<uint64_t>(s.frames) << 32;
  uint64_t position = voice.position;
  for (size_t i = 0; i < frames; ++i) {
    uint32_t index = static_cast<uint32_t>(position >> 32);
    const float* c = kernel[static_cast<uint32_t>(position) >> (32 - kPhaseBits)];
    int64_t first = static_cast<int64_t>(index) - (kHalf - 1);
    float l, r;
    if (!voice.looping || (first >= 0 && index + kHalf < s.frames)) {
      if (s.stereo) {
        DotStereo(c, left + first, right + first, l, r);
      } else {
        l = r = Dot(c, left + first);
      }
    } else {
      float window[kTaps];
      GatherWrapped(left, s.frames, first, window);
      l = Dot(c, window);
      if (s.stereo) {
        GatherWrapped(right, s.frames, first, window);
        r = Dot(c, window);
      } else {
        r = l;
      }
    }
    acc[2 * i] += l;
    acc[2 * i + 1] += r;
    position += voice.step;
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

int16_t Saturate(float v) {
  if (v >= 32767.0f) return 32767;
  if (v <= -32768.0f) return -32768;
  return static_cast<int16_t>(v + (v >= 0 ? 0.5f : -0.5f));
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
        if (voice.samples && voice.playing) MixVoice(voice, acc, n);
      }
    }
    for (size_t i = 0; i < 2 * n; ++i) out[i] = Saturate(acc[i]);
    out += 2 * n;
    frames -= n;
  }
}

bool AudioOpen() {
  return mixer.running;
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
  return Install(index, samples, format.framesPerSecond);
}

SoundBuffer DuplicateSoundBuffer(SoundBuffer source) {
  Voice* voice = FindVoice(source);
  if (!voice) return 0;
  int index = FreeVoiceIndex();
  if (index < 0) return 0;
  return Install(index, voice->samples, voice->rate);
}

void SetBufferRate(SoundBuffer buffer, uint32_t framesPerSecond) {
  Voice* voice = FindVoice(buffer);
  if (!voice || framesPerSecond < kMinPlaybackRate || framesPerSecond > kMaxPlaybackRate) return;
  Lock();
  voice->rate = framesPerSecond;
  voice->step = StepFor(framesPerSecond);
  Unlock();
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
}

void StopBuffer(SoundBuffer buffer) {
  Voice* voice = FindVoice(buffer);
  if (!voice) return;
  Lock();
  voice->playing = false;
  Unlock();
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
}

}  // namespace quillorn::platform
