// The five slots as the game uses them: rates, restarts, overlapping voices, loops, stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "sound_support.h"

namespace quillorn::soundtest {
namespace {

class SlotTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    ASSERT_EQ(LoadWaveSlot(1, "beep"), 1);
    ASSERT_EQ(DuplicateSoundSlot(1, 2), 1);
  }
};

TEST_F(SlotTest, TheBeepSoundsAtItsPitchAndLastsItsFramesAtEveryRate) {
  // 0 comes first: a fresh slot plays at its recorded 22050 Hz.
  std::map<uint32_t, double> pitch;
  for (uint32_t rate : {0u, 2000u, 3600u, 12000u, 22050u, 30000u, 36000u, 37999u, 44100u}) {
    SCOPED_TRACE(rate);
    const uint32_t played = rate ? rate : 22050;
    const size_t frames = static_cast<size_t>(827 * kOutputRate / played);  // 827 recorded
    PlaySoundSlot(1, 0, rate);
    Mix mix = Render(frames + 200);
    pitch[rate] = ZeroCrossingFrequency(mix.left, kOutputRate, frames / 5, frames * 4 / 5);
    EXPECT_NEAR(pitch[rate], 1500.0 * played / 22050, 1500.0 * played / 22050 * 0.02);
    EXPECT_GT(Rms(mix.left, frames * 85 / 100, frames * 95 / 100), 100);
    EXPECT_TRUE(Silent(mix.left, frames + 1));
  }
  EXPECT_NEAR(pitch[44100] / pitch[22050], 2.0, 2.0 * 0.02);  // an octave higher
}

TEST_F(SlotTest, RateZeroOrOutOfRangeKeepsTheRateLastSetAndADuplicateTakesItOver) {
  headless::OverrideResource("WAVE", "block", ConstantWave(827, 10000));
  ASSERT_EQ(LoadWaveSlot(3, "block"), 1);
  PlaySoundSlot(3, 0, 36000);
  Mix first = Render(2000);
  // 827 frames at 36000 Hz last 1102.67 output frames.
  EXPECT_GE(SoundingEnd(first.left), 1102u);
  EXPECT_LE(SoundingEnd(first.left), 1103u);
  EXPECT_EQ(first.left[550], 10000);
  EXPECT_EQ(first.right[550], 10000);
  for (uint32_t rate : {0u, 99u, 200001u}) {  // 99 and 200001 are beyond the device's range
    PlaySoundSlot(3, 0, rate);
    EXPECT_EQ(Render(2000).left, first.left) << rate;
  }
  // A duplicate starts at its source's rate; setting its own leaves the source's alone.
  ASSERT_EQ(DuplicateSoundSlot(3, 4), 1);
  PlaySoundSlot(4, 0, 0);
  EXPECT_EQ(Render(2000).left, first.left);
  PlaySoundSlot(4, 0, 11025);
  Render(4000);
  PlaySoundSlot(3, 0, 0);
  EXPECT_EQ(Render(2000).left, first.left);
}

TEST_F(SlotTest, ReplayRestartsTheVoiceFromItsFirstFrame) {
  PlaySoundSlot(1, 0, 22050);
  Mix fresh = Render(2000);
  PlaySoundSlot(1, 0, 22050);
  Render(700);  // halfway through
  PlaySoundSlot(1, 0, 0);
  Mix restarted = Render(2000);
  EXPECT_EQ(restarted.left, fresh.left);
  EXPECT_EQ(restarted.right, fresh.right);
}

TEST_F(SlotTest, SlotsOneAndTwoSoundTogetherAtTheirOwnRates) {
  PlaySoundSlot(1, 0, 22050);
  Mix one = Render(2000);
  PlaySoundSlot(2, 0, 30000);
  Mix two = Render(2000);
  // Slot 2 starts while slot 1 still sounds; neither cuts the other.
  PlaySoundSlot(1, 0, 22050);
  Render(300);
  PlaySoundSlot(2, 0, 30000);
  Mix both = Render(1700);
  for (size_t i = 0; i < 1700; ++i) {
    int sum = std::clamp(one.left[300 + i] + two.left[i], -32768, 32767);
    ASSERT_NEAR(both.left[i], sum, 1) << i;
  }
  EXPECT_GT(LevelAt(both.left, kOutputRate, 1500, 0, 1200), 3000);
  EXPECT_GT(LevelAt(both.left, kOutputRate, 1500.0 * 30000 / 22050, 0, 1000), 3000);
}

TEST_F(SlotTest, SlotsOutsideZeroToFourAndEmptySlotsAreIgnored) {
  PlaySoundSlot(5, 0, 22050);
  PlaySoundSlot(-1, 1, 22050);
  PlaySoundSlot(0, 1, 0);  // empty
  PlaySoundSlot(4, 0, 16000);
  EXPECT_TRUE(Silent(Render(4000).left));
  EXPECT_EQ(LoadWaveSlot(5, "beep"), 0);
  EXPECT_EQ(LoadWaveSlot(-1, "beep"), 0);
  EXPECT_EQ(DuplicateSoundSlot(1, 5), 0);
  EXPECT_EQ(DuplicateSoundSlot(-1, 2), 0);
  EXPECT_EQ(DuplicateSoundSlot(4, 3), 0);
  // Slot 2 was left as it was by the refused duplicate.
  PlaySoundSlot(2, 0, 0);
  EXPECT_FALSE(Silent(Render(2000).left));
}

TEST_F(SlotTest, ALoopRepeatsTheWholeSoundUntilStopped) {
  // At 24000 Hz each output frame advances half a recorded frame: a period of 1654 frames.
  PlaySoundSlot(1, 1, 24000);
  Mix mix = Render(1654 * 8);
  for (size_t i = 0; i < 1654; ++i) {
    ASSERT_EQ(mix.left[i + 1654 * 6], mix.left[i + 1654 * 2]) << i;
  }
  EXPECT_GT(Rms(mix.left, 1654 * 7, 1654 * 8), 1000);
  StopAllSounds();
  EXPECT_TRUE(Silent(Render(4000).left));
}

TEST_F(SlotTest, StopAllSoundsSilencesEveryVoiceAndTheEndingMusicStartsOver) {
  ASSERT_EQ(LoadWaveSlot(0, "ed"), 1);
  ASSERT_EQ(LoadWaveSlot(3, "gameover"), 1);
  ASSERT_EQ(LoadWaveSlot(4, "flower"), 1);
  PlaySoundSlot(0, 1, 0);
  Mix fresh = Render(48000);
  for (int32_t slot = 1; slot < 5; ++slot) PlaySoundSlot(slot, 1, 0);
  Render(48000 * 3);
  StopAllSounds();
  Mix stopped = Render(1000);
  EXPECT_TRUE(Silent(stopped.left));
  EXPECT_TRUE(Silent(stopped.right));
  PlaySoundSlot(0, 1, 0);
  Mix again = Render(48000);
  EXPECT_EQ(again.left, fresh.left);
  EXPECT_EQ(again.right, fresh.right);
  // It runs on past its 20 seconds, round and round, until the next StopAllSounds.
  Render(48000 * 19);
  Mix afterLoop = Render(48000 * 3);
  EXPECT_GT(Rms(afterLoop.left, 0, 48000), 1000);
  EXPECT_GT(Rms(afterLoop.left, 48000 * 2, 48000 * 3), 1000);
  StopAllSounds();
  EXPECT_TRUE(Silent(Render(2000).left));
}

TEST_F(SlotTest, VoicesSaturateInsteadOfWrappingAround) {
  for (int16_t value : {30000, -30000}) {
    headless::OverrideResource("WAVE", "loud", ConstantWave(4000, value));
    ASSERT_EQ(LoadWaveSlot(3, "loud"), 1);
    ASSERT_EQ(LoadWaveSlot(4, "loud"), 1);
    PlaySoundSlot(3, 0, 0);
    PlaySoundSlot(4, 0, 0);
    Mix mix = Render(1000);
    EXPECT_EQ(mix.left[500], value > 0 ? 32767 : -32768);
    EXPECT_EQ(mix.right[500], value > 0 ? 32767 : -32768);
  }
}

TEST_F(SlotTest, FreeSoundReleasesEverythingAndTheBankOpensAgain) {
  ASSERT_EQ(LoadWaveSlot(0, "ed"), 1);
  PlaySoundSlot(0, 1, 0);
  FreeSound();
  PlaySoundSlot(0, 1, 0);
  PlaySoundSlot(1, 0, 22050);
  EXPECT_TRUE(Silent(Render(4000).left));
  EXPECT_EQ(LoadWaveSlot(1, "beep"), 0);
  ASSERT_EQ(InitSound(), 1);
  ASSERT_EQ(LoadWaveSlot(1, "beep"), 1);
  PlaySoundSlot(1, 0, 0);
  EXPECT_FALSE(Silent(Render(2000).left));
}

TEST(NoDevice, EveryOperationDoesNothingUntilADeviceIsThere) {
  headless::Reset();
  headless::ResetAudio();
  headless::SetAudioAvailable(false);
  EXPECT_EQ(InitSound(), 0);
  EXPECT_EQ(LoadWaveSlot(1, "beep"), 0);
  EXPECT_EQ(LoadWaveSlot(0, "ed"), 0);
  EXPECT_EQ(DuplicateSoundSlot(1, 2), 0);
  PlaySoundSlot(1, 0, 22050);
  PlaySoundSlot(0, 1, 0);
  StopAllSounds();
  EXPECT_TRUE(Silent(Render(4000).left));
  FreeSound();
  headless::ResetAudio();  // makes the device available again
  EXPECT_EQ(InitSound(), 1);
  EXPECT_EQ(LoadWaveSlot(1, "beep"), 1);
  FreeSound();
}

}  // namespace
}  // namespace quillorn::soundtest
