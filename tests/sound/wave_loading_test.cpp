// Reading WAVE resources into slots: the chunk walk, the formats the device takes, and what
// each refusal leaves in the slot.
#include <gtest/gtest.h>

#include "sound_support.h"

namespace quillorn::soundtest {
namespace {

constexpr int16_t kOld = 1000;  // the sound a slot held before a load
constexpr int16_t kNew = 2000;

class WaveLoadingTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    headless::OverrideResource("WAVE", "old", ConstantWave(4000, kOld));
    ASSERT_EQ(LoadWaveSlot(3, "old"), 1);
  }

  // Loads bytes into slot 3 under a test name.
  int Load(const std::vector<uint8_t>& bytes) {
    headless::OverrideResource("WAVE", "test", bytes);
    return LoadWaveSlot(3, "test");
  }

  // What slot 3 plays, 200 frames in (0: silence).
  int16_t Heard(int channel = 0) {
    PlaySoundSlot(3, 0, 0);
    Mix mix = Render(400);
    StopAllSounds();
    return channel == 0 ? mix.left[200] : mix.right[200];
  }
};

std::vector<uint8_t> NewSamples() {
  return Constant16(4000, kNew);
}

TEST_F(WaveLoadingTest, AWellFormedWaveReplacesTheSlotsSound) {
  EXPECT_EQ(Heard(), kOld);
  EXPECT_EQ(Load(Riff({Format(1, 22050, 16), Data(NewSamples())})), 1);
  EXPECT_EQ(Heard(), kNew);
}

TEST_F(WaveLoadingTest, ResourceNamesMatchWithoutRegardToCase) {
  headless::OverrideResource("WAVE", "MiXeD", ConstantWave(4000, kNew));
  EXPECT_EQ(LoadWaveSlot(3, "mixed"), 1);
  EXPECT_EQ(Heard(), kNew);
  EXPECT_EQ(LoadWaveSlot(1, "BEEP"), 1);
  EXPECT_EQ(LoadWaveSlot(1, "Beep"), 1);
}

TEST_F(WaveLoadingTest, MalformedFilesAreRefusedAndTheSlotKeepsItsSound) {
  const Chunk format = Format(1, 22050, 16);
  const Chunk data = Data(NewSamples());
  std::vector<uint8_t> noRiff = Riff({format, data});
  noRiff[0] = 'X';
  std::vector<Chunk> shortFormat = {Format(1, 22050, 16, 1, 12), data};
  std::vector<Chunk> thirteen = {Format(1, 22050, 16, 1, 13), data};
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"missing", {}},
      {"too short for a header", {'R', 'I', 'F', 'F', 4, 0}},
      {"not RIFF", noRiff},
      {"form other than WAVE", Riff({format, data}, "AVI ")},
      {"nothing after WAVE", Riff({})},
      {"12-byte fmt", Riff(shortFormat)},
      {"13-byte fmt", Riff(thirteen)},
      {"no fmt", Riff({data})},
      {"no data", Riff({format})},
      {"only an empty data", Riff({format, Data({})})},
      {"chunk header cut off", Riff({format, {"LIST", {}, -1}}, "WAVE", 4 + 24 + 4)},
  };
  for (const auto& [what, bytes] : cases) {
    if (bytes.empty()) {
      EXPECT_EQ(LoadWaveSlot(3, "nonesuch"), 0) << what;
    } else {
      EXPECT_EQ(Load(bytes), 0) << what;
    }
    EXPECT_EQ(Heard(), kOld) << what;
  }
}

TEST_F(WaveLoadingTest, ClaimsBeyondTheResourceAreRefused) {
  const Chunk format = Format(1, 22050, 16);
  std::vector<uint8_t> whole = Riff({format, Data(NewSamples())});

  std::vector<uint8_t> truncated(whole.begin(), whole.end() - 2);  // n says 2 more
  EXPECT_EQ(Load(truncated), 0);
  EXPECT_EQ(Heard(), kOld);

  std::vector<uint8_t> longForm = whole;
  longForm[4] += 8;  // n claims 8 bytes that are not there
  EXPECT_EQ(Load(longForm), 0);
  EXPECT_EQ(Heard(), kOld);

  Chunk oversized = Data(NewSamples());
  oversized.claimed = 8002;  // two bytes more than the body
  EXPECT_EQ(Load(Riff({format, oversized})), 0);
  EXPECT_EQ(Heard(), kOld);

  Chunk huge = Data(NewSamples());
  huge.claimed = 0xFFFFFFFF;
  EXPECT_EQ(Load(Riff({format, huge})), 0);
  EXPECT_EQ(Heard(), kOld);

  Chunk longFormat = format;
  longFormat.claimed = 0xFFFFFFF0;
  EXPECT_EQ(Load(Riff({Data(NewSamples()), longFormat})), 0);
  EXPECT_EQ(Heard(), kOld);

  // A form shorter than the resource is fine: the bytes after it are not looked at.
  std::vector<uint8_t> trailing = whole;
  trailing.insert(trailing.end(), {1, 2, 3, 4, 5});
  EXPECT_EQ(Load(trailing), 1);
  EXPECT_EQ(Heard(), kNew);
}

TEST_F(WaveLoadingTest, UnsupportedFormatsEmptyTheSlot) {
  struct Case {
    const char* what;
    Chunk format;
  };
  const Case cases[] = {
      {"24-bit", Format(1, 22050, 24)},
      {"32-bit", Format(1, 22050, 32)},
      {"three channels", Format(3, 22050, 16)},
      {"no channels", Format(0, 22050, 16)},
      {"floating point", Format(1, 22050, 16, 3)},
      {"compressed", Format(1, 22050, 16, 2)},
      {"zero rate", Format(1, 0, 16)},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(LoadWaveSlot(3, "old"), 1);
    // The file is well formed, so the old sound is let go before the device says no.
    EXPECT_EQ(Load(Riff({c.format, Data(NewSamples())})), 0) << c.what;
    EXPECT_EQ(Heard(), 0) << c.what;
  }
  // A block alignment that does not match the channels and sample size.
  Chunk badAlign = Format(1, 22050, 16);
  badAlign.body[12] = 4;
  ASSERT_EQ(LoadWaveSlot(3, "old"), 1);
  EXPECT_EQ(Load(Riff({badAlign, Data(NewSamples())})), 0);
  EXPECT_EQ(Heard(), 0);
}

TEST_F(WaveLoadingTest, EightAndSixteenBitMonoAndStereoAreHeardAsRecorded) {
  std::vector<uint8_t> mono8(4000, 0xC0);  // unsigned: 64 above the middle
  EXPECT_EQ(Load(Riff({Format(1, 22050, 8), Data(mono8)})), 1);
  EXPECT_EQ(Heard(0), 64 * 256);
  EXPECT_EQ(Heard(1), 64 * 256);

  std::vector<uint8_t> stereo8;
  for (int i = 0; i < 4000; ++i) stereo8.insert(stereo8.end(), {0x00, 0xFF});
  EXPECT_EQ(Load(Riff({Format(2, 22050, 8), Data(stereo8)})), 1);
  EXPECT_EQ(Heard(0), -128 * 256);
  EXPECT_EQ(Heard(1), 127 * 256);

  EXPECT_EQ(Load(Riff({Format(1, 22050, 16), Data(Constant16(4000, -12345))})), 1);
  EXPECT_EQ(Heard(0), -12345);
  EXPECT_EQ(Heard(1), -12345);

  std::vector<uint8_t> stereo16;
  for (int i = 0; i < 4000; ++i) {
    Put16(stereo16, static_cast<uint16_t>(int16_t{-32768}));
    Put16(stereo16, 32767);
  }
  EXPECT_EQ(Load(Riff({Format(2, 22050, 16), Data(stereo16)})), 1);
  EXPECT_EQ(Heard(0), -32768);
  EXPECT_EQ(Heard(1), 32767);
}

TEST_F(WaveLoadingTest, OtherChunksAreSkipped) {
  std::vector<uint8_t> fact;
  Put32(fact, 4000);
  Chunk extended = Format(1, 22050, 16, 1, 18);
  EXPECT_EQ(Load(Riff({{"LIST", {1, 2, 3, 4, 5, 6}},
                       extended,
                       {"fact", fact},
                       Data(NewSamples()),
                       {"junk", {9, 9}}})),
            1);
  EXPECT_EQ(Heard(), kNew);
}

TEST_F(WaveLoadingTest, AfterAnOddSizedChunkTheNextBeginsOneByteFurther) {
  Chunk odd = {"note", {'a', 'b', 'c'}};
  EXPECT_EQ(Load(Riff({odd, Format(1, 22050, 16), Data(NewSamples())})), 1);
  EXPECT_EQ(Heard(), kNew);
  // Without the fill byte the walk lands inside the next chunk's header and finds no format.
  ASSERT_EQ(LoadWaveSlot(3, "old"), 1);
  odd.fillByte = false;
  EXPECT_EQ(Load(Riff({odd, Format(1, 22050, 16), Data(NewSamples())})), 0);
  EXPECT_EQ(Heard(), kOld);
  // An odd-sized data chunk plays its whole frames.
  std::vector<uint8_t> samples = NewSamples();
  samples.push_back(0x7F);
  EXPECT_EQ(Load(Riff({Format(1, 22050, 16), Data(samples)})), 1);
  EXPECT_EQ(Heard(), kNew);
}

TEST_F(WaveLoadingTest, AnEmptyDataChunkGivesWayToALaterOne) {
  EXPECT_EQ(Load(Riff({Format(1, 22050, 16), Data({}), {"pad ", {0, 0}}, Data(NewSamples())})), 1);
  EXPECT_EQ(Heard(), kNew);
  // A non-empty data chunk is kept: a later one is never read.
  EXPECT_EQ(Load(Riff({Data(Constant16(4000, 3000)), Data(NewSamples()), Format(1, 22050, 16)})),
            1);
  EXPECT_EQ(Heard(), 3000);
}

TEST_F(WaveLoadingTest, TheFirstFormatCountsAndALaterOneIsIgnored) {
  // Two formats before the data: the first says 22050 Hz, the second 11025 Hz.
  EXPECT_EQ(Load(Riff({Format(1, 22050, 16), Format(1, 11025, 16), Data(Constant16(441, 5000))})),
            1);
  PlaySoundSlot(3, 0, 0);
  EXPECT_NEAR(SoundingEnd(Render(4000).left), 960, 1);  // 441 frames at 22050 Hz, not 1920
}

TEST_F(WaveLoadingTest, WalkStopsOnceItHasBoth) {
  // Whatever follows the data chunk may be broken: it is never reached.
  Chunk broken = {"bad!", {}, 0x7FFFFFFF};
  EXPECT_EQ(Load(Riff({Format(1, 22050, 16), Data(NewSamples()), broken})), 1);
  EXPECT_EQ(Heard(), kNew);
}

TEST_F(WaveLoadingTest, AFourteenByteFormatTakesItsSampleSizeFromTheBytesAfterIt) {
  // The two bytes after a 14-byte format are the start of the next chunk's identifier;
  // here they read as 16 bits a sample.
  Chunk format14 = Format(1, 22050, 16, 1, 14);
  Chunk next = {std::string("\x10\x00zz", 4), {}};
  EXPECT_EQ(Load(Riff({format14, next, Data(NewSamples())})), 1);
  EXPECT_EQ(Heard(), kNew);
}

TEST_F(WaveLoadingTest, CutOrDamagedFilesNeverLoadGarbage) {
  std::vector<uint8_t> fact;
  Put32(fact, 4000);
  const std::vector<uint8_t> whole =
      Riff({{"LIST", {1, 2, 3}}, Format(1, 22050, 16, 1, 18), {"fact", fact}, Data(NewSamples())});
  ASSERT_EQ(Load(whole), 1);
  // Every shorter piece, first as it is (its n then claims too much) and then with n made
  // to fit: the data chunk always claims more than is left, so nothing loads.
  for (size_t size = 0; size < whole.size(); ++size) {
    ASSERT_EQ(LoadWaveSlot(3, "old"), 1);
    std::vector<uint8_t> piece(whole.begin(), whole.begin() + size);
    ASSERT_EQ(Load(piece), 0) << size;
    if (size >= 8) {
      piece[4] = static_cast<uint8_t>(size - 8);
      piece[5] = static_cast<uint8_t>((size - 8) >> 8);
      ASSERT_EQ(Load(piece), 0) << size;
    }
    ASSERT_EQ(Heard(), kOld) << size;
  }
  // Any single byte of the headers changed to any value: loaded or refused, never a crash
  // nor a read outside the file.
  for (size_t at = 0; at < 72; ++at) {
    for (int value : {0x00, 0x01, 0x0F, 0x7F, 0x80, 0xFE, 0xFF}) {
      std::vector<uint8_t> damaged = whole;
      damaged[at] = static_cast<uint8_t>(value);
      Load(damaged);
    }
  }
}

}  // namespace
}  // namespace quillorn::soundtest
