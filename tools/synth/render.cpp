// The synthesizer: additive tones with envelopes, then echo, a gentle low-pass, level
// setting and dithered quantisation. A looping sound is rendered on a circle: whatever
// rings past the end (a release, an echo, a filter's memory) lands on the start, so the
// last frame leads into the first as any two neighbours do.
#include "render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace synth {
namespace {

constexpr double kPi = 3.14159265358979323846;

using Channel = std::vector<double>;

double RaisedCosine(double x) {
  return 0.5 - 0.5 * std::cos(kPi * x);
}  // 0..1 over 0..1

// The level while the note is held, u seconds after it starts.
double HeldLevel(const Instrument& in, double u) {
  double attack = in.attackMs / 1000;
  if (u < attack) return RaisedCosine(u / attack);
  if (in.decayMs <= 0) return 1;
  return in.sustain + (1 - in.sustain) * std::exp(-(u - attack) / (in.decayMs / 1000));
}

double Envelope(const Instrument& in, double t, double held) {
  if (t < held) return HeldLevel(in, t);
  double release = in.releaseMs / 1000;
  if (t - held >= release) return 0;
  return HeldLevel(in, held) * (1 - RaisedCosine((t - held) / release));
}

void AddNote(const Score& score, const Track& track, const Note& note, double pitch, Channel* out,
             const std::string& path) {
  const Instrument& in = *track.instrument;
  const double rate = score.rate;
  const double total = note.length + in.releaseMs / 1000;
  const int64_t first = std::llround(note.start * rate);
  const int64_t count = static_cast<int64_t>(std::ceil(total * rate));
  if (!score.loop && first + count > score.frames) {
    std::fprintf(stderr, "%s: a note at %.3f s rings past the end\n", path.c_str(), note.start);
    std::exit(1);
  }
  // Constant-power pan, 1 in both channels at the centre.
  const double angle = (track.pan + 1) * kPi / 4;
  const double gain[2] = {std::cos(angle) * std::sqrt(2.0), std::sin(angle) * std::sqrt(2.0)};
  const int channels = static_cast<int>(score.channels);
  for (int ch = 0; ch < channels; ++ch) {
    double detune = channels == 2 ? (ch == 0 ? -0.5 : 0.5) * in.detuneCents : 0;
    double pan = channels == 2 ? gain[ch] : 1;
    for (const Partial& partial : in.partials) {
      // Leave out partials the rate cannot carry, with room for glide and vibrato.
      double highest =
          pitch * partial.ratio *
          std::pow(2.0, (std::max(note.bendCents, 0.0) + in.vibratoCents + detune) / 1200);
      if (highest >= 0.45 * rate) continue;
      double phase = 0;
      for (int64_t i = 0; i < count; ++i) {
        double t = i / rate;
        double cents = detune + note.bendCents * std::min(t / note.length, 1.0);
        double sinceVibrato = t - in.vibratoDelayMs / 1000;
        if (in.vibratoHz > 0 && sinceVibrato > 0) {
          double fadeIn = std::min(sinceVibrato / 0.15, 1.0);
          cents += fadeIn * in.vibratoCents * std::sin(2 * kPi * in.vibratoHz * sinceVibrato);
        }
        double hz = pitch * partial.ratio * std::pow(2.0, cents / 1200);
        double level = Envelope(in, t, note.length) * partial.level * note.level * track.volume *
                       pan * std::exp(-(partial.ratio - 1) * in.damping * t);
        int64_t at = (first + i) % score.frames;
        out[ch][static_cast<size_t>(at)] += level * std::sin(phase);
        phase = std::fmod(phase + 2 * kPi * hz / rate, 2 * kPi);
      }
    }
  }
}

// Runs a filter over the channel; a looping sound runs it twice round so that its memory
// at the start is what it would be coming round from the end.
template <typename Step>
void Filter(Channel& x, bool loop, Step step) {
  Channel in = x;
  for (int pass = loop ? 0 : 1; pass < 2; ++pass) {
    for (size_t i = 0; i < in.size(); ++i) x[i] = step(in[i], i);
  }
}

void Echo(const Score& score, Channel& x) {
  const size_t delay = static_cast<size_t>(std::llround(score.echoMs / 1000 * score.rate));
  const size_t n = x.size();
  Channel taps(n, 0.0);  // the delayed signal with its feedback
  Channel dry = x;
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < n; ++i) {
      size_t from = (i + n - delay % n) % n;
      taps[i] = dry[from] + score.echoFeedback * taps[from];
      x[i] = dry[i] + score.echoMix * taps[i];
    }
  }
}

// A two-pole Butterworth low-pass: 12 dB an octave, gentle.
void LowPass(const Score& score, Channel& x) {
  double w = 2 * kPi * score.lowpassHz / score.rate;
  double alpha = std::sin(w) / (2 * std::sqrt(0.5));
  double a0 = 1 + alpha;
  double b0 = (1 - std::cos(w)) / 2 / a0, b1 = (1 - std::cos(w)) / a0, b2 = b0;
  double a1 = -2 * std::cos(w) / a0, a2 = (1 - alpha) / a0;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  Filter(x, score.loop, [&](double in, size_t) {
    double y = b0 * in + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = in, y2 = y1, y1 = y;
    return y;
  });
}

}  // namespace

std::vector<uint8_t> Render(const Score& score, const std::string& path) {
  const size_t n = score.frames;
  std::vector<Channel> channels(score.channels, Channel(n, 0.0));
  for (const Track& track : score.tracks) {
    for (const Note& note : track.notes) {
      for (double pitch : note.pitches) AddNote(score, track, note, pitch, channels.data(), path);
    }
  }
  for (Channel& x : channels) {
    if (score.echoMs > 0) Echo(score, x);
    if (score.lowpassHz > 0) LowPass(score, x);
    // A loop can lose any offset at no cost; a one-shot starts and ends at zero already.
    if (score.loop) {
      double mean = 0;
      for (double v : x) mean += v;
      mean /= n;
      for (double& v : x) v -= mean;
    }
  }
  double peak = 0;
  for (const Channel& x : channels) {
    for (double v : x) peak = std::max(peak, std::fabs(v));
  }
  if (peak == 0) {
    std::fprintf(stderr, "%s: the sound is silent\n", path.c_str());
    std::exit(1);
  }
  const double fullScale = score.bits == 8 ? 127 : 32767;
  const double gain = std::pow(10.0, score.peakDb / 20) * fullScale / peak;

  // Triangular dither of one step either way, from a fixed seed so builds repeat.
  std::mt19937 random(score.seed);
  std::uniform_real_distribution<double> uniform(-0.5, 0.5);
  std::vector<uint8_t> bytes;
  bytes.reserve(n * score.channels * score.bits / 8);
  for (size_t i = 0; i < n; ++i) {
    for (const Channel& x : channels) {
      double v = std::round(x[i] * gain + uniform(random) + uniform(random));
      v = std::clamp(v, -fullScale, fullScale);
      if (score.bits == 8) {
        bytes.push_back(static_cast<uint8_t>(v + 128));
      } else {
        uint16_t s = static_cast<uint16_t>(static_cast<int16_t>(v));
        bytes.push_back(static_cast<uint8_t>(s & 0xFF));
        bytes.push_back(static_cast<uint8_t>(s >> 8));
      }
    }
  }
  return bytes;
}

}  // namespace synth
