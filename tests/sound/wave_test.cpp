// Reading WAVE resources into a slot: the chunk walk, the formats the device takes, and what
// each refusal leaves in the slot (a malformed file keeps the old sound, an unplayable one
// empties the slot).
#include <gtest/gtest.h>

#include "sound_support.h"

namespace quillorn::soundtest {
namespace {

constexpr int16_t kOld = 1000, kNew = 2000;  // the slot's sound before and after a load

struct Case {
  const char* what;
  std::vector<uint8_t> bytes;  // empty: no such resource
  int loaded;
  int16_t left, right;  // what slot 3 plays 200 frames in
};

// Each case starts from slot 3 holding the old sound.
void Check(const std::vector<Case>& cases) {
  headless::OverrideResource("WAVE", "old", ConstantWave(4000, kOld));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(LoadWaveSlot(3, "old"), 1);
    headless::OverrideResource("WAVE", "test", c.bytes);
    EXPECT_EQ(LoadWaveSlot(3, c.bytes.empty() ? "nonesuch" : "test"), c.loaded);
    PlaySoundSlot(3, 0, 0);
    Mix mix = Render(400);
    StopAllSounds();
    EXPECT_EQ(mix.left[200], c.left);
    EXPECT_EQ(mix.right[200], c.right);
  }
}

const Chunk kFormat = Format(1, 22050, 16);
const Chunk kData = {"data", Constant16(4000, kNew)};

Chunk Claiming(Chunk c, int64_t claimed) {
  c.claimed = claimed;
  return c;
}

TEST_F(SoundTest, WaveFilesAreReadOrRefusedAndTheSlotKeepsOrLosesItsSound) {
  std::vector<uint8_t> trailing = Riff({kFormat, kData}), noRiff = trailing, longForm = trailing;
  std::vector<uint8_t> cut(trailing.begin(), trailing.end() - 2), fact,
      odd = Constant16(4000, 3000);
  trailing.insert(trailing.end(), {1, 2, 3, 4, 5});
  noRiff[0] = 'X';
  longForm[4] += 8;  // n claims 8 bytes that are not there
  Put32(fact, 4000);
  odd.push_back(0x7F);
  std::vector<uint8_t> stereo8, stereo16;
  for (int i = 0; i < 4000; ++i) {
    stereo8.insert(stereo8.end(), {0x00, 0xFF});
    Put16(stereo16, uint16_t(-32768)), Put16(stereo16, 32767);
  }
  auto with = [](Chunk format) { return Riff({format, kData}); };
  Chunk badAlign = kFormat;  // a block alignment that does not match the sample size
  badAlign.body[12] = 4;
  Check({
      // The walk skips other chunks (an odd one with its fill byte) and stops at the data.
      {"bytes after the form", trailing, 1, kNew, kNew},
      {"other chunks skipped",
       Riff({{"LIST", {1, 2, 3, 4, 5, 6}},
             {"note", {'a', 'b', 'c'}},
             Format(1, 22050, 16, 1, 18),
             {"fact", fact},
             kData,
             {"bad!", {}, 0x7FFFFFFF}}),
       1, kNew, kNew},
      {"odd-sized data plays its whole frames", Riff({kFormat, {"data", odd}}), 1, 3000, 3000},
      {"empty data gives way", Riff({kFormat, {"data", {}}, {"pad ", {0, 0}}, kData}), 1, kNew,
       kNew},
      {"first data kept", Riff({{"data", Constant16(4000, 3000)}, kData, kFormat}), 1, 3000, 3000},
      {"first format kept", Riff({kFormat, Format(1, 22050, 8), kData}), 1, kNew, kNew},
      // The two bytes after a 14-byte format are the next chunk's identifier: 16 bits here.
      {"14-byte format",
       Riff({Format(1, 22050, 16, 1, 14), {std::string("\x10\x00zz", 4), {}}, kData}), 1, kNew,
       kNew},
      {"8-bit mono", Riff({Format(1, 22050, 8), {"data", std::vector<uint8_t>(4000, 0xC0)}}), 1,
       64 * 256, 64 * 256},
      {"8-bit stereo", Riff({Format(2, 22050, 8), {"data", stereo8}}), 1, -128 * 256, 127 * 256},
      {"16-bit stereo", Riff({Format(2, 22050, 16), {"data", stereo16}}), 1, -32768, 32767},
      // Malformed: refused, the old sound stays.
      {"missing", {}, 0, kOld, kOld},
      {"too short for a header", {'R', 'I', 'F', 'F', 4, 0}, 0, kOld, kOld},
      {"not RIFF", noRiff, 0, kOld, kOld},
      {"not WAVE", Riff({kFormat, kData}, "AVI "), 0, kOld, kOld},
      {"nothing after WAVE", Riff({}), 0, kOld, kOld},
      {"13-byte fmt", Riff({Format(1, 22050, 16, 1, 13), kData}), 0, kOld, kOld},
      {"no fmt", Riff({kData}), 0, kOld, kOld},
      {"no data", Riff({kFormat}), 0, kOld, kOld},
      {"only an empty data", Riff({kFormat, {"data", {}}}), 0, kOld, kOld},
      {"chunk header cut off", Riff({kFormat, {"LIST", {}}}, "WAVE", 4 + 24 + 4), 0, kOld, kOld},
      {"n beyond the resource", longForm, 0, kOld, kOld},
      {"truncated", cut, 0, kOld, kOld},
      {"data 2 bytes beyond", Riff({kFormat, Claiming(kData, 8002)}), 0, kOld, kOld},
      {"data claims 4 GB", Riff({kFormat, Claiming(kData, 0xFFFFFFFF)}), 0, kOld, kOld},
      {"fmt claims 4 GB", Riff({kData, Claiming(kFormat, 0xFFFFFFF0)}), 0, kOld, kOld},
      {"odd chunk without fill", Riff({{"note", {'a', 'b', 'c'}, -1, false}, kFormat, kData}), 0,
       kOld, kOld},
      // Well formed but unplayable: the old sound is let go before the device says no.
      {"24-bit", with(Format(1, 22050, 24)), 0, 0, 0},
      {"three channels", with(Format(3, 22050, 16)), 0, 0, 0},
      {"no channels", with(Format(0, 22050, 16)), 0, 0, 0},
      {"floating point", with(Format(1, 22050, 32, 3)), 0, 0, 0},
      {"zero rate", with(Format(1, 0, 16)), 0, 0, 0},
      {"block alignment", with(badAlign), 0, 0, 0},
  });
}

}  // namespace
}  // namespace quillorn::soundtest
