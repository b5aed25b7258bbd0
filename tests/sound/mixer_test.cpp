// The bank's slots played through the mixer: resampling at any rate, loops across their seam,
// saturation, overlapping voices, rates kept, restarts, and the device going away.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/audio/audio.h"
#include "sound_support.h"

namespace quillorn::soundtest {
namespace {

TEST_F(SoundTest, APureToneStaysPureAtEveryPlaybackRate) {
  Bytes samples;  // two seconds of 1500 Hz at half scale, recorded at 22050 Hz
  for (size_t i = 0; i < 44100; ++i)
    Put16(samples, uint16_t(std::lround(16383 * std::sin(2 * M_PI * 1500 * double(i) / 22050))));
  headless::OverrideResource("WAVE", "sine", Riff({Format(1, 22050, 16), {"data", samples}}));
  ASSERT_EQ(LoadWaveSlot(1, "sine"), 1);
  for (uint32_t rate : {2000u, 12000u, 22050u, 30000u, 37999u, 44100u}) {
    PlaySoundSlot(1, 0, rate);
    std::vector<int16_t> x = Render(48000).left;
    const double w = 2 * M_PI * 1500.0 * rate / 22050 / kOutputRate, n = 40000;
    // The tone at its new pitch, at full level; taking it away leaves nothing 50 dB up.
    double c = 0, d = 0, rest = 0, all = 0;
    for (size_t i = 4000; i < 44000; ++i)
      c += x[i] * std::cos(w * double(i)) * 2 / n, d += x[i] * std::sin(w * double(i)) * 2 / n;
    for (size_t i = 4000; i < 44000; ++i) {
      double e = x[i] - c * std::cos(w * double(i)) - d * std::sin(w * double(i));
      rest += e * e, all += double(x[i]) * x[i];
    }
    EXPECT_NEAR(std::hypot(c, d), 16383, 16383 * 0.02) << rate;
    EXPECT_LT(10 * std::log10(rest / all), -50) << rate;
  }
}

TEST_F(SoundTest, ConstantsComeOutExactAtAnyRateLoopedOrNotAndLoudSumsSaturate) {
  headless::OverrideResource("WAVE", "flat", ConstantWave(20000, -7777));
  ASSERT_EQ(LoadWaveSlot(4, "flat"), 1);
  for (uint32_t rate : {100u, 2000u, 11025u, 37999u, 48000u, 96000u, 200000u}) {
    size_t frame = size_t(20 * kOutputRate / rate);  // 20 recorded frames in
    PlaySoundSlot(4, 0, rate);
    Mix mix = Render(frame + 1);
    EXPECT_EQ(mix.left[frame], -7777) << rate;
    EXPECT_EQ(mix.right[frame], -7777) << rate;
  }
  StopAllSounds();
  // A short stereo loop: every output frame, across many seams and chunks, is the constant.
  Bytes pairs;
  for (int i = 0; i < 50; ++i) Put16(pairs, uint16_t(-7777)), Put16(pairs, 5555);
  headless::OverrideResource("WAVE", "pairs", Riff({Format(2, 22050, 16), {"data", pairs}}));
  ASSERT_EQ(LoadWaveSlot(0, "pairs"), 1);
  for (uint32_t rate : {11025u, 22050u, 24000u, 37999u, 48000u}) {
    PlaySoundSlot(0, 1, rate);
    Mix mix = Render(3000);
    EXPECT_EQ(mix.left, std::vector<int16_t>(3000, -7777)) << rate;
    EXPECT_EQ(mix.right, std::vector<int16_t>(3000, 5555)) << rate;
  }
  StopAllSounds();
  EXPECT_EQ(SoundingEnd(Render(1000).left), 0u);
  // Two loud voices clamp, in the groups of eight and in the odd samples at a render's end.
  for (int16_t value : {20000, -20000}) {
    headless::OverrideResource("WAVE", "loud", ConstantWave(20000, value));
    ASSERT_EQ(LoadWaveSlot(3, "loud") + LoadWaveSlot(4, "loud"), 2);
    PlaySoundSlot(3, 0, 22050), PlaySoundSlot(4, 0, 22050);
    Mix mix = Render(1003);
    for (size_t i : {100, 997, 1002}) {
      EXPECT_EQ(mix.left[i], value > 0 ? 32767 : -32768) << i;
      EXPECT_EQ(mix.right[i], value > 0 ? 32767 : -32768) << i;
    }
  }
}

TEST_F(SoundTest, SlotsOverlapRestartAndKeepTheirRates) {
  ASSERT_EQ(LoadWaveSlot(1, "beep"), 1);
  ASSERT_EQ(DuplicateSoundSlot(1, 2), 1);
  PlaySoundSlot(1, 0, 22050);
  Mix one = Render(2000);
  PlaySoundSlot(2, 0, 30000);
  Mix two = Render(2000);
  PlaySoundSlot(1, 0, 0);
  Render(300);
  PlaySoundSlot(2, 0, 0);  // while slot 1 sounds: neither cuts the other
  Mix both = Render(1700);
  for (size_t i = 0; i < 1700; ++i)
    ASSERT_NEAR(both.left[i], std::clamp(one.left[300 + i] + two.left[i], -32768, 32767), 1) << i;
  PlaySoundSlot(1, 0, 0);
  Render(700);
  PlaySoundSlot(1, 0, 0);  // a replay starts from the first frame
  EXPECT_EQ(Render(2000).left, one.left);
  // A rate of 0 or one out of range keeps the rate; a duplicate starts at its source's.
  headless::OverrideResource("WAVE", "block", ConstantWave(827, 10000));
  ASSERT_EQ(LoadWaveSlot(3, "block"), 1);
  PlaySoundSlot(3, 0, 36000);
  Mix first = Render(2000);
  EXPECT_NEAR(double(SoundingEnd(first.left)), 827 * kOutputRate / 36000, 1.0);
  ASSERT_EQ(DuplicateSoundSlot(3, 4), 1);
  for (auto [slot, rate] : {std::pair(3, 0u), {3, 99u}, {3, 200001u}, {4, 0u}}) {
    PlaySoundSlot(slot, 0, rate);
    EXPECT_EQ(Render(2000).left, first.left) << rate;
  }
}

TEST_F(SoundTest, BadSlotsEmptySlotsAndAGoneDeviceStaySilent) {
  ASSERT_EQ(LoadWaveSlot(1, "beep"), 1);
  EXPECT_EQ(LoadWaveSlot(5, "beep") + LoadWaveSlot(-1, "beep"), 0);
  EXPECT_EQ(DuplicateSoundSlot(1, 5) + DuplicateSoundSlot(-1, 2) + DuplicateSoundSlot(4, 3), 0);
  PlaySoundSlot(5, 0, 22050), PlaySoundSlot(-1, 1, 22050), PlaySoundSlot(3, 1, 0);
  EXPECT_EQ(SoundingEnd(Render(4000).left), 0u);
  // The device reset under the bank: an old slot never reaches a sound loaded since.
  headless::ResetAudio();
  ASSERT_TRUE(platform::OpenAudio());
  ASSERT_EQ(LoadWaveSlot(4, "beep"), 1);
  PlaySoundSlot(1, 0, 0);
  EXPECT_EQ(SoundingEnd(Render(4000).left), 0u);
  FreeSound();
  PlaySoundSlot(4, 0, 22050);
  EXPECT_EQ(SoundingEnd(Render(4000).left) + LoadWaveSlot(1, "beep"), 0u);
  headless::SetAudioAvailable(false);
  EXPECT_EQ(InitSound() + LoadWaveSlot(1, "beep"), 0);
  headless::ResetAudio();
  ASSERT_EQ(InitSound() + LoadWaveSlot(1, "beep"), 2);
  PlaySoundSlot(1, 0, 0);
  EXPECT_NEAR(double(SoundingEnd(Render(4000).left)), 1800, 10);
}

}  // namespace
}  // namespace quillorn::soundtest
