// Helpers for the sound tests: building WAVE files, rendering the headless mix, measuring it.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "sound/sound_bank.h"

namespace quillorn::soundtest {

constexpr double kOutputRate = headless::kAudioOutputRate;
using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint32_t v) {
  out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
}
inline void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF), Put16(out, v >> 16);
}

// One chunk: identifier, body, the size its header claims (-1: the body's), its fill byte.
struct Chunk {
  std::string id;
  Bytes body;
  int64_t claimed = -1;
  bool fillByte = true;
};

inline Chunk Format(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1,
                    size_t size = 16) {
  Bytes b;
  Put16(b, tag), Put16(b, channels), Put32(b, rate), Put32(b, rate * channels * bits / 8);
  Put16(b, uint16_t(channels * bits / 8)), Put16(b, bits);
  b.resize(size, 0);
  return {"fmt ", b};
}

// A RIFF file of the given form holding the chunks; n is the true size unless given.
inline Bytes Riff(const std::vector<Chunk>& chunks, const char* form = "WAVE", int64_t n = -1) {
  Bytes body(form, form + 4), out = {'R', 'I', 'F', 'F'};
  for (const Chunk& c : chunks) {
    body.insert(body.end(), c.id.begin(), c.id.end());
    Put32(body, uint32_t(c.claimed >= 0 ? c.claimed : int64_t(c.body.size())));
    body.insert(body.end(), c.body.begin(), c.body.end());
    if (c.fillByte && c.body.size() % 2) body.push_back(0);
  }
  Put32(out, uint32_t(n >= 0 ? n : int64_t(body.size())));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

inline Bytes Constant16(size_t frames, int16_t value) {
  Bytes out;
  for (size_t i = 0; i < frames; ++i) Put16(out, uint16_t(value));
  return out;
}
// A 16-bit mono sound of frames at 22050 Hz holding value.
inline Bytes ConstantWave(size_t frames, int16_t value) {
  return Riff({Format(1, 22050, 16), {"data", Constant16(frames, value)}});
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
  for (size_t i = 0; i < x.size(); ++i) end = x[i] != 0 ? i + 1 : end;
  return end;
}

// Level of the component at hz (the magnitude of one Fourier coefficient, windowed).
template <typename T>
double LevelAt(const std::vector<T>& x, double rate, double hz, size_t from, size_t to) {
  double re = 0, im = 0, n = double(to - from);
  for (size_t i = 0; i < to - from; ++i) {
    double w = (0.5 - 0.5 * std::cos(2 * M_PI * (double(i) + 0.5) / n)) * double(x[from + i]);
    re += w * std::cos(2 * M_PI * hz * double(i) / rate);
    im += w * std::sin(2 * M_PI * hz * double(i) / rate);
  }
  return std::sqrt(re * re + im * im) / (n / 4.0);
}

// Starts every test with an open headless device and a fresh bank.
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset(), headless::ResetAudio();
    ASSERT_EQ(InitSound(), 1);
  }
  void TearDown() override { FreeSound(), headless::ResetAudio(); }
};

}  // namespace quillorn::soundtest
