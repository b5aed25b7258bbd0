// Reading WAVE resources into slots: the chunk walk, the formats the device takes, and what
// each refusal leaves in the slot.
#include <gtest/gtest.h>

#include <optional>

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
  Mix Heard() {
    PlaySoundSlot(3, 0, 0);
    Mix mix = Render(400);
    StopAllSounds();
    return {{mix.left[200]}, {mix.right[200]}};
  }

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;  // empty: no such resource
    int loaded;
    int16_t left;
    std::optional<int16_t> right = {};  // none: as the left
  };
  // Each case starts from slot 3 holding the old sound.
  void Check(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      ASSERT_EQ(LoadWaveSlot(3, "old"), 1);
      EXPECT_EQ(c.bytes.empty() ? LoadWaveSlot(3, "nonesuch") : Load(c.bytes), c.loaded) << c.what;
      Mix heard = Heard();
      EXPECT_EQ(heard.left[0], c.left) << c.what;
      EXPECT_EQ(heard.right[0], c.right.value_or(c.left)) << c.what;
    }
  }
};

const Chunk kFormat = Format(1, 22050, 16);

std::vector<uint8_t> NewSamples() {
  return Constant16(4000, kNew);
}

Chunk Claiming(Chunk c, int64_t claimed) {
  c.claimed = claimed;
  return c;
}

TEST_F(WaveLoadingTest, TheChunkWalkFindsTheFormatAndTheData) {
  std::vector<uint8_t> trailing = Riff({kFormat, Data(NewSamples())});
  trailing.insert(trailing.end(), {1, 2, 3, 4, 5});
  std::vector<uint8_t> fact, oddData = Constant16(4000, 3000);
  Put32(fact, 4000);
  oddData.push_back(0x7F);
  Check({
      {"bytes after the form are not looked at", trailing, 1, kNew},
      // The odd-sized "note" is followed by a fill byte; the broken chunk after the data is
      // never reached.
      {"other chunks skipped",
       Riff({{"LIST", {1, 2, 3, 4, 5, 6}},
             {"note", {'a', 'b', 'c'}},
             Format(1, 22050, 16, 1, 18),
             {"fact", fact},
             Data(NewSamples()),
             {"bad!", {}, 0x7FFFFFFF}}),
       1, kNew},
      {"an odd-sized data chunk plays its whole frames", Riff({kFormat, Data(oddData)}), 1, 3000},
      {"an empty data chunk gives way to a later one",
       Riff({kFormat, Data({}), {"pad ", {0, 0}}, Data(NewSamples())}), 1, kNew},
      {"a non-empty data chunk is kept",
       Riff({Data(Constant16(4000, 3000)), Data(NewSamples()), kFormat}), 1, 3000},
      // The two bytes after a 14-byte format are the start of the next chunk's identifier;
      // here they read as 16 bits a sample.
      {"14-byte format",
       Riff({Format(1, 22050, 16, 1, 14), {std::string("\x10\x00zz", 4), {}}, Data(NewSamples())}),
       1, kNew},
  });
}

TEST_F(WaveLoadingTest, MalformedFilesAreRefusedAndTheSlotKeepsItsSound) {
  const Chunk data = Data(NewSamples());
  const std::vector<uint8_t> whole = Riff({kFormat, data});
  std::vector<uint8_t> noRiff = whole, longForm = whole, cut(whole.begin(), whole.end() - 2);
  noRiff[0] = 'X';
  longForm[4] += 8;  // n claims 8 bytes that are not there
  // Without its fill byte the walk lands inside the next chunk's header and finds no format.
  Chunk oddWithoutFill = {"note", {'a', 'b', 'c'}, -1, false};
  Check({
      {"missing", {}, 0, kOld},
      {"too short for a header", {'R', 'I', 'F', 'F', 4, 0}, 0, kOld},
      {"not RIFF", noRiff, 0, kOld},
      {"form other than WAVE", Riff({kFormat, data}, "AVI "), 0, kOld},
      {"nothing after WAVE", Riff({}), 0, kOld},
      {"12-byte fmt", Riff({Format(1, 22050, 16, 1, 12), data}), 0, kOld},
      {"13-byte fmt", Riff({Format(1, 22050, 16, 1, 13), data}), 0, kOld},
      {"no fmt", Riff({data}), 0, kOld},
      {"no data", Riff({kFormat}), 0, kOld},
      {"only an empty data", Riff({kFormat, Data({})}), 0, kOld},
      {"chunk header cut off", Riff({kFormat, {"LIST", {}, -1}}, "WAVE", 4 + 24 + 4), 0, kOld},
      {"n beyond the resource", longForm, 0, kOld},
      {"truncated: n claims 2 bytes more", cut, 0, kOld},
      {"data 2 bytes beyond", Riff({kFormat, Claiming(data, 8002)}), 0, kOld},
      {"data claims 4 GB", Riff({kFormat, Claiming(data, 0xFFFFFFFF)}), 0, kOld},
      {"fmt claims 4 GB", Riff({data, Claiming(kFormat, 0xFFFFFFF0)}), 0, kOld},
      {"odd chunk without fill byte", Riff({oddWithoutFill, kFormat, data}), 0, kOld},
  });
}

TEST_F(WaveLoadingTest, UnsupportedFormatsEmptyTheSlot) {
  // The file is well formed, so the old sound is let go before the device says no.
  auto with = [](Chunk format) { return Riff({format, Data(NewSamples())}); };
  Chunk badAlign = kFormat;  // a block alignment that does not match the sample size
  badAlign.body[12] = 4;
  Check({
      {"24-bit", with(Format(1, 22050, 24)), 0, 0},
      {"32-bit", with(Format(1, 22050, 32)), 0, 0},
      {"three channels", with(Format(3, 22050, 16)), 0, 0},
      {"no channels", with(Format(0, 22050, 16)), 0, 0},
      {"floating point", with(Format(1, 22050, 16, 3)), 0, 0},
      {"compressed", with(Format(1, 22050, 16, 2)), 0, 0},
      {"zero rate", with(Format(1, 0, 16)), 0, 0},
      {"block alignment", with(badAlign), 0, 0},
  });
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
    ASSERT_EQ(Heard().left[0], kOld) << size;
  }
  // Any single byte of the headers changed to any value: loaded or refused, never a read
  // outside the file (the sanitizer build watches).
  for (size_t at = 0; at < 72; ++at) {
    for (int value : {0x00, 0x01, 0x0F, 0x7F, 0x80, 0xFE, 0xFF}) {
      std::vector<uint8_t> damaged = whole;
      damaged[at] = static_cast<uint8_t>(value);
      Load(damaged);
    }
  }
}

TEST_F(WaveLoadingTest, EightAndSixteenBitMonoAndStereoAreHeardAsRecorded) {
  std::vector<uint8_t> stereo8, stereo16;
  for (int i = 0; i < 4000; ++i) {
    stereo8.insert(stereo8.end(), {0x00, 0xFF});
    Put16(stereo16, static_cast<uint16_t>(int16_t{-32768}));
    Put16(stereo16, 32767);
  }
  Check({
      {"8-bit mono, unsigned", Riff({Format(1, 22050, 8), Data(std::vector<uint8_t>(4000, 0xC0))}),
       1, 64 * 256},
      {"8-bit stereo", Riff({Format(2, 22050, 8), Data(stereo8)}), 1, -128 * 256, 127 * 256},
      {"16-bit mono", Riff({kFormat, Data(Constant16(4000, -12345))}), 1, -12345},
      {"16-bit stereo", Riff({Format(2, 22050, 16), Data(stereo16)}), 1, -32768, 32767},
  });
}

TEST_F(WaveLoadingTest, TheFirstFormatCountsAndALaterOneIsIgnored) {
  EXPECT_EQ(Load(Riff({kFormat, Format(1, 11025, 16), Data(Constant16(441, 5000))})), 1);
  PlaySoundSlot(3, 0, 0);
  EXPECT_NEAR(SoundingEnd(Render(4000).left), 960, 1);  // 441 frames at 22050 Hz, not 1920
}

}  // namespace
}  // namespace quillorn::soundtest
