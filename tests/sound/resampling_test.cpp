// Playback at another rate must stay clean: a pure tone comes out pure, with the images that
// resampling leaves far below it.
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
  // Two seconds of 1500 Hz recorded at 22050 Hz, like the beep but without its edges.
  headless::OverrideResource("WAVE", "sine", SineWave(44100, 1500, 22050, 0.5));
  ASSERT_EQ(LoadWaveSlot(1, "sine"), 1);
  for (uint32_t rate : {2000u, 12000u, 22050u, 30000u, 37999u, 44100u}) {
    SCOPED_TRACE(rate);
    PlaySoundSlot(1, 0, rate);
    Mix mix = Render(48000);
    std::vector<double> x(mix.left.begin(), mix.left.end());
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
    // And nothing else of note anywhere: take the tone away and little is left.
    double c = 0, d = 0;
    for (size_t i = from; i < to; ++i) {
      c += x[i] * std::cos(2 * M_PI * tone * i / kOutputRate);
      d += x[i] * std::sin(2 * M_PI * tone * i / kOutputRate);
    }
    c *= 2.0 / (to - from), d *= 2.0 / (to - from);
    double rest = 0, all = 0;
    for (size_t i = from; i < to; ++i) {
      double fit = c * std::cos(2 * M_PI * tone * i / kOutputRate) +
                   d * std::sin(2 * M_PI * tone * i / kOutputRate);
      rest += (x[i] - fit) * (x[i] - fit);
      all += x[i] * x[i];
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

TEST_F(SoundTest, RatesOutsideTheDevicesRangeAreIgnored) {
  headless::OverrideResource("WAVE", "block", ConstantWave(827, 10000));
  ASSERT_EQ(LoadWaveSlot(1, "block"), 1);
  PlaySoundSlot(1, 0, 36000);
  Render(2000);
  PlaySoundSlot(1, 0, 99);      // too slow: the rate stays 36000
  PlaySoundSlot(1, 0, 200001);  // too fast
  Mix mix = Render(2000);
  EXPECT_NEAR(SoundingEnd(mix.left), 1103, 1);
}

}  // namespace
}  // namespace quillorn::soundtest
