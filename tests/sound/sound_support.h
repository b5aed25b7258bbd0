// Helpers for the sound tests: building WAVE files, rendering the headless mix and
// measuring what it holds.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "sound/sound_bank.h"

namespace quillorn::soundtest {

constexpr double kOutputRate = headless::kAudioOutputRate;

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
inline uint16_t Get16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// One chunk: its identifier, body, and the size its header claims (by default the body's).
struct Chunk {
  std::string id;
  std::vector<uint8_t> body;
  int64_t claimed = -1;
  bool fillByte = true;  // an odd body gets its fill byte
};

inline Chunk Format(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1,
                    size_t size = 16) {
  std::vector<uint8_t> b;
  Put16(b, tag);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * channels * bits / 8);
  Put16(b, static_cast<uint16_t>(channels * bits / 8));
  Put16(b, bits);
  b.resize(size, 0);
  return {"fmt ", b};
}

inline Chunk Data(std::vector<uint8_t> samples) {
  return {"data", std::move(samples)};
}

// A RIFF file of the given form holding the chunks; n is the true size unless given.
inline std::vector<uint8_t> Riff(const std::vector<Chunk>& chunks, const char* form = "WAVE",
                                 int64_t n = -1) {
  std::vector<uint8_t> body(form, form + 4);
  for (const Chunk& c : chunks) {
    body.insert(body.end(), c.id.begin(), c.id.end());
    Put32(body, static_cast<uint32_t>(c.claimed >= 0 ? c.claimed : c.body.size()));
    body.insert(body.end(), c.body.begin(), c.body.end());
    if (c.fillByte && c.body.size() % 2) body.push_back(0);
  }
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
  Put32(out, static_cast<uint32_t>(n >= 0 ? n : body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// frames of 16-bit mono samples holding value.
inline std::vector<uint8_t> Constant16(size_t frames, int16_t value) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < frames; ++i) Put16(out, static_cast<uint16_t>(value));
  return out;
}

// A 16-bit mono sound of frames at 22050 Hz holding value.
inline std::vector<uint8_t> ConstantWave(size_t frames, int16_t value) {
  return Riff({Format(1, 22050, 16), Data(Constant16(frames, value))});
}

// Rendered stereo output split by channel.
struct Mix {
  std::vector<int16_t> left, right;
};

inline Mix Render(size_t frames) {
  std::vector<int16_t> out = headless::RenderAudio(frames);
  Mix mix;
  for (size_t i = 0; i < 2 * frames; ++i) (i % 2 ? mix.right : mix.left).push_back(out[i]);
  return mix;
}

// Index one past the last sample that is not zero (0 when all are).
inline size_t SoundingEnd(const std::vector<int16_t>& x) {
  size_t end = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    if (x[i] != 0) end = i + 1;
  }
  return end;
}

inline bool Silent(const std::vector<int16_t>& x, size_t from = 0) {
  return SoundingEnd(x) <= from;
}

inline double Rms(const std::vector<int16_t>& x, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += static_cast<double>(x[i]) * x[i];
  return std::sqrt(sum / static_cast<double>(to - from));
}

// The pitch of a nearly pure tone from its rising zero crossings between from and to.
template <typename T>
double ZeroCrossingFrequency(const std::vector<T>& x, double rate, size_t from, size_t to) {
  double first = -1, last = -1;
  int periods = -1;
  for (size_t i = from + 1; i < to && i < x.size(); ++i) {
    if (x[i - 1] < 0 && x[i] >= 0) {
      double t = static_cast<double>(i - 1) + double(x[i - 1]) / (double(x[i - 1]) - x[i]);
      if (first < 0) first = t;
      last = t;
      ++periods;
    }
  }
  return periods < 1 ? 0 : periods * rate / (last - first);
}

// Level of the component at hz (the magnitude of one Fourier coefficient, windowed).
template <typename T>
double LevelAt(const std::vector<T>& x, double rate, double hz, size_t from, size_t to) {
  double re = 0, im = 0;
  size_t n = to - from;
  for (size_t i = 0; i < n; ++i) {
    double w = 0.5 - 0.5 * std::cos(2 * M_PI * (i + 0.5) / n);
    re += w * x[from + i] * std::cos(2 * M_PI * hz * i / rate);
    im += w * x[from + i] * std::sin(2 * M_PI * hz * i / rate);
  }
  return std::sqrt(re * re + im * im) / (n / 4.0);
}

// Starts every test with an open headless device and a fresh bank.
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    headless::ResetAudio();
    ASSERT_EQ(InitSound(), 1);
  }
  void TearDown() override {
    FreeSound();
    headless::ResetAudio();
  }
};

}  // namespace quillorn::soundtest
