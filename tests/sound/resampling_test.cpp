// Playback at another rate must stay clean: a pure tone comes out pure, with the images that
// resampling leaves far below it, and a constant comes out exact.
#include <gtest/gtest.h>

#include <cmath>

#include "sound_support.h"

namespace quillorn::soundtest {
namespace {

// Where an output frequency lands after folding at the output's Nyquist rate.
double Folded(double hz) {
  hz = std::fmod(hz, kOutputRate);
  return hz > kOutputRate / 2 ? kOutputRate - hz : hz;
}

TEST_F(SoundTest, APureToneStaysPureAtEveryPlaybackRate) {
  // Two seconds of 1500 Hz at half scale recorded at 22050 Hz, like the beep without edges.
  std::vector<uint8_t> samples;
  for (size_t i = 0; i < 44100; ++i) {
    Put16(samples,
          uint16_t(int16_t(std::lround(0.5 * 32767 * std::sin(2 * M_PI * 1500 * i / 22050)))));
  }
  headless::OverrideResource("WAVE", "sine", Riff({Format(1, 22050, 16), Data(samples)}));
  ASSERT_EQ(LoadWaveSlot(1, "sine"), 1);
  for (uint32_t rate : {2000u, 12000u, 22050u, 30000u, 37999u, 44100u}) {
    SCOPED_TRACE(rate);
    PlaySoundSlot(1, 0, rate);
    std::vector<int16_t> x = Render(48000).left;
    const size_t from = 4000, to = 44000;
    const double tone = 1500.0 * rate / 22050;
    double level = LevelAt(x, kOutputRate, tone, from, to);
    EXPECT_NEAR(level, 0.5 * 32767, 0.5 * 32767 * 0.03);  // no loss in the pass band
    // The first images of the tone around the playback rate and its multiple.
    for (double image : {rate - tone, rate + tone, 2.0 * rate - tone, 2.0 * rate + tone}) {
      double at = Folded(image);
      if (std::fabs(at - tone) < 200) continue;  // too close to tell apart
      EXPECT_LT(LevelAt(x, kOutputRate, at, from, to), level * std::pow(10.0, -55.0 / 20))
          << "image at " << at << " Hz";
    }
    // And nothing else of note anywhere: take the best-fitting tone away and little is left.
    double c = 0, d = 0;
    for (size_t i = from; i < to; ++i) {
      c += x[i] * std::cos(2 * M_PI * tone * i / kOutputRate) * 2 / (to - from);
      d += x[i] * std::sin(2 * M_PI * tone * i / kOutputRate) * 2 / (to - from);
    }
    double rest = 0, all = 0;
    for (size_t i = from; i < to; ++i) {
      double fit = c * std::cos(2 * M_PI * tone * i / kOutputRate) +
                   d * std::sin(2 * M_PI * tone * i / kOutputRate);
      rest += (x[i] - fit) * (x[i] - fit);
      all += double(x[i]) * x[i];
    }
    EXPECT_LT(10 * std::log10(rest / all), -50);
  }
}

TEST_F(SoundTest, ConstantSoundsComeOutExactlyAtAnyRate) {
  headless::OverrideResource("WAVE", "flat", ConstantWave(20000, -7777));
  ASSERT_EQ(LoadWaveSlot(4, "flat"), 1);
  for (uint32_t rate : {100u, 2000u, 11025u, 37999u, 48000u, 96000u, 200000u}) {
    // The output frame that lies 20 recorded frames in, clear of the silence before the start.
    size_t frame = static_cast<size_t>(20 * kOutputRate / rate);
    PlaySoundSlot(4, 0, rate);
    Mix mix = Render(frame + 1);
    EXPECT_EQ(mix.left[frame], -7777) << rate;
    EXPECT_EQ(mix.right[frame], -7777) << rate;
  }
}

// Voices are summed and then clamped to 16 bits, every output sample alike: those mixed in
// groups of eight and the odd ones at the end of a render.
TEST_F(SoundTest, LoudSumsClampAtBothEndsOfTheSixteenBitRange) {
  headless::OverrideResource("WAVE", "high", ConstantWave(20000, 20000));
  headless::OverrideResource("WAVE", "low", ConstantWave(20000, -20000));
  for (auto [name, clamped] :
       {std::pair{"high", int16_t(32767)}, std::pair{"low", int16_t(-32768)}}) {
    ASSERT_EQ(LoadWaveSlot(3, name), 1);
    ASSERT_EQ(LoadWaveSlot(4, name), 1);
    PlaySoundSlot(3, 0, 22050);
    PlaySoundSlot(4, 0, 22050);
    Mix mix = Render(1003);  // 125 groups of eight samples and six more
    for (size_t frame : {size_t(100), size_t(997), size_t(1002)}) {
      EXPECT_EQ(mix.left[frame], clamped) << name << " " << frame;
      EXPECT_EQ(mix.right[frame], clamped) << name << " " << frame;
    }
  }
}

}  // namespace
}  // namespace quillorn::soundtest
