// The five slots as the game uses them: rates, restarts, overlapping voices, loops, stops.
#include <gtest/gtest.h>

#include <algorithm>

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

// Output frames a sound of frames recorded frames lasts at rate.
double Lasts(double frames, double rate) {
  return frames * kOutputRate / rate;
}

TEST_F(SlotTest, BeepAtTwiceItsRateSoundsAnOctaveHigher) {
  PlaySoundSlot(1, 0, 22050);
  Mix recorded = Render(2000);
  PlaySoundSlot(1, 0, 44100);
  Mix doubled = Render(2000);
  double low = ZeroCrossingFrequency(recorded.left, kOutputRate, 200, 1600);
  double high = ZeroCrossingFrequency(doubled.left, kOutputRate, 100, 800);
  EXPECT_NEAR(low, 1500, 1500 * 0.02);
  EXPECT_NEAR(high / low, 2.0, 2.0 * 0.02);
  EXPECT_NEAR(high, 3000, 3000 * 0.02);
}

TEST_F(SlotTest, BeepLastsItsFramesAtThePlaybackRate) {
  // Recorded rate: 827 frames of 22050 a second are 1800 output frames.
  PlaySoundSlot(1, 0, 22050);
  Mix mix = Render(4000);
  EXPECT_GT(Rms(mix.left, 1600, 1750), 100);
  EXPECT_TRUE(Silent(mix.left, 1801));
  // At 36000 Hz: 827/36000 s.
  PlaySoundSlot(1, 0, 36000);
  mix = Render(4000);
  EXPECT_GT(Rms(mix.left, 900, 1050), 100);
  EXPECT_TRUE(Silent(mix.left, static_cast<size_t>(Lasts(827, 36000)) + 1));
  // At 2000 Hz: about 414 ms.
  PlaySoundSlot(1, 0, 2000);
  mix = Render(24000);
  EXPECT_GT(Rms(mix.left, 18000, 19000), 100);
  EXPECT_TRUE(Silent(mix.left, static_cast<size_t>(Lasts(827, 2000)) + 1));
}

TEST_F(SlotTest, AnyRateFromTwoThousandToJustUnderThirtyEightThousandIsHeardAtItsPitch) {
  for (uint32_t rate : {2000u, 3600u, 12000u, 20000u, 30000u, 34200u, 37999u}) {
    PlaySoundSlot(1, 0, rate);
    size_t frames = static_cast<size_t>(Lasts(827, rate));
    Mix mix = Render(frames + 200);
    double expected = 1500.0 * rate / 22050;
    EXPECT_NEAR(ZeroCrossingFrequency(mix.left, kOutputRate, frames / 5, frames * 4 / 5), expected,
                expected * 0.02)
        << rate;
    EXPECT_EQ(SoundingEnd(mix.left) <= frames + 1, true) << rate;
  }
}

TEST_F(SlotTest, SoundOfAnExactLengthEndsOnItsLastFrame) {
  headless::OverrideResource("WAVE", "block", ConstantWave(827, 10000));
  ASSERT_EQ(LoadWaveSlot(3, "block"), 1);
  PlaySoundSlot(3, 0, 36000);
  Mix mix = Render(2000);
  // 827 frames at 36000 Hz last 1102.67 output frames.
  EXPECT_GE(SoundingEnd(mix.left), 1102u);
  EXPECT_LE(SoundingEnd(mix.left), 1103u);
  EXPECT_EQ(mix.left[550], 10000);
  EXPECT_EQ(mix.right[550], 10000);
}

TEST_F(SlotTest, PlayAtRateZeroKeepsTheRateLastSet) {
  PlaySoundSlot(1, 0, 36000);
  Mix first = Render(1500);
  PlaySoundSlot(1, 0, 0);
  Mix again = Render(1500);
  EXPECT_EQ(again.left, first.left);
  EXPECT_EQ(SoundingEnd(again.left), SoundingEnd(first.left));
  EXPECT_LT(SoundingEnd(again.left), 1200u);
}

TEST_F(SlotTest, RateZeroOnAFreshSlotIsTheRecordedRate) {
  PlaySoundSlot(1, 0, 0);
  Mix mix = Render(2500);
  EXPECT_LE(SoundingEnd(mix.left), 1801u);
  EXPECT_GT(SoundingEnd(mix.left), 1700u);
  EXPECT_NEAR(ZeroCrossingFrequency(mix.left, kOutputRate, 200, 1600), 1500, 30);
}

TEST_F(SlotTest, DuplicateStartsAtTheSourcesRateAndKeepsItsOwn) {
  headless::OverrideResource("WAVE", "block", ConstantWave(827, 10000));
  ASSERT_EQ(LoadWaveSlot(1, "block"), 1);
  PlaySoundSlot(1, 0, 30000);
  Render(2000);
  ASSERT_EQ(DuplicateSoundSlot(1, 2), 1);
  PlaySoundSlot(2, 0, 0);
  Mix duplicate = Render(2000);
  EXPECT_NEAR(SoundingEnd(duplicate.left), Lasts(827, 30000), 1.5);
  // Setting slot 2's rate leaves slot 1's alone.
  PlaySoundSlot(2, 0, 11025);
  Render(4000);
  PlaySoundSlot(1, 0, 0);
  Mix source = Render(2000);
  EXPECT_NEAR(SoundingEnd(source.left), Lasts(827, 30000), 1.5);
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
  std::vector<double> x(both.left.begin(), both.left.end());
  EXPECT_GT(LevelAt(x, kOutputRate, 1500, 0, 1200), 3000);
  EXPECT_GT(LevelAt(x, kOutputRate, 1500.0 * 30000 / 22050, 0, 1000), 3000);
}

TEST_F(SlotTest, SlotsOutsideZeroToFourAreIgnored) {
  PlaySoundSlot(5, 0, 22050);
  PlaySoundSlot(-1, 1, 22050);
  EXPECT_TRUE(Silent(Render(2000).left));
  EXPECT_EQ(LoadWaveSlot(5, "beep"), 0);
  EXPECT_EQ(LoadWaveSlot(-1, "beep"), 0);
  EXPECT_EQ(DuplicateSoundSlot(1, 5), 0);
  EXPECT_EQ(DuplicateSoundSlot(-1, 2), 0);
  // Slot 2 was left as it was by the refused duplicate.
  PlaySoundSlot(2, 0, 0);
  EXPECT_FALSE(Silent(Render(2000).left));
}

TEST_F(SlotTest, AnEmptySlotPlaysNothing) {
  PlaySoundSlot(0, 1, 0);
  PlaySoundSlot(4, 0, 16000);
  EXPECT_TRUE(Silent(Render(4000).left));
  EXPECT_EQ(DuplicateSoundSlot(4, 3), 0);
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

TEST_F(SlotTest, StopHaltsAndTheNextPlayStartsOver) {
  PlaySoundSlot(1, 1, 22050);
  Mix fresh = Render(1000);
  Render(555);
  StopAllSounds();
  EXPECT_TRUE(Silent(Render(100).left));
  PlaySoundSlot(1, 1, 0);
  EXPECT_EQ(Render(1000).left, fresh.left);
}

TEST_F(SlotTest, VoicesSaturateInsteadOfWrappingAround) {
  headless::OverrideResource("WAVE", "loud", ConstantWave(4000, 30000));
  headless::OverrideResource("WAVE", "deep", ConstantWave(4000, -30000));
  ASSERT_EQ(LoadWaveSlot(3, "loud"), 1);
  ASSERT_EQ(LoadWaveSlot(4, "loud"), 1);
  PlaySoundSlot(3, 0, 0);
  PlaySoundSlot(4, 0, 0);
  Mix mix = Render(1000);
  EXPECT_EQ(mix.left[500], 32767);
  EXPECT_EQ(mix.right[500], 32767);
  ASSERT_EQ(LoadWaveSlot(3, "deep"), 1);
  ASSERT_EQ(LoadWaveSlot(4, "deep"), 1);
  PlaySoundSlot(3, 0, 0);
  PlaySoundSlot(4, 0, 0);
  mix = Render(1000);
  EXPECT_EQ(mix.left[500], -32768);
  EXPECT_EQ(mix.right[500], -32768);
}

TEST_F(SlotTest, EndingMusicRestartsFromItsBeginningAfterStopAllSounds) {
  ASSERT_EQ(LoadWaveSlot(0, "ed"), 1);
  PlaySoundSlot(0, 1, 0);
  Mix fresh = Render(48000);
  Render(48000 * 3);
  StopAllSounds();
  EXPECT_TRUE(Silent(Render(1000).left));
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

TEST_F(SlotTest, StopAllSoundsSilencesEveryVoice) {
  ASSERT_EQ(LoadWaveSlot(0, "ed"), 1);
  ASSERT_EQ(LoadWaveSlot(3, "gameover"), 1);
  ASSERT_EQ(LoadWaveSlot(4, "flower"), 1);
  for (int32_t slot = 0; slot < 5; ++slot) PlaySoundSlot(slot, 1, 0);
  EXPECT_GT(Rms(Render(4000).left, 0, 4000), 1000);
  StopAllSounds();
  Mix mix = Render(4000);
  EXPECT_TRUE(Silent(mix.left));
  EXPECT_TRUE(Silent(mix.right));
}

TEST_F(SlotTest, FreeSoundReleasesEverythingAndLeavesSilence) {
  ASSERT_EQ(LoadWaveSlot(0, "ed"), 1);
  PlaySoundSlot(0, 1, 0);
  FreeSound();
  PlaySoundSlot(0, 1, 0);
  PlaySoundSlot(1, 0, 22050);
  EXPECT_TRUE(Silent(Render(4000).left));
  EXPECT_EQ(LoadWaveSlot(1, "beep"), 0);
  // The bank can be opened again afterwards.
  ASSERT_EQ(InitSound(), 1);
  ASSERT_EQ(LoadWaveSlot(1, "beep"), 1);
  PlaySoundSlot(1, 0, 0);
  EXPECT_FALSE(Silent(Render(2000).left));
}

TEST(NoDevice, EveryOperationDoesNothing) {
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
  headless::ResetAudio();
}

TEST(NoDevice, ResetMakesTheDeviceAvailableAgain) {
  headless::Reset();
  headless::SetAudioAvailable(false);
  EXPECT_EQ(InitSound(), 0);
  headless::ResetAudio();
  EXPECT_EQ(InitSound(), 1);
  EXPECT_EQ(LoadWaveSlot(1, "beep"), 1);
  FreeSound();
}

}  // namespace
}  // namespace quillorn::soundtest
