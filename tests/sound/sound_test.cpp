// The sound bank and its WAVE reader, the mixer behind it, and the four recordings: sounds
// built here and the game's own, loaded into slots, rendered through the headless device and
// measured (level, pitch, purity, length, clipping).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "shell/load_assets.h"
#include "sound/sound_bank.h"
#include "sound/wave_file.h"

namespace quillorn {
namespace {

constexpr double kOutputRate = headless::kAudioOutputRate;
using Bytes = std::vector<uint8_t>;
using Pair = std::pair<int, int>;  // left and right

void Put(Bytes& out, int bytes, uint32_t v) {  // little-endian
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// One chunk: identifier, body, the size its header claims (-1: the body's).
struct Chunk {
  std::string id;
  Bytes body;
  int64_t claimed = -1;
};

Chunk Format(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1, size_t size = 16) {
  Bytes b;
  Put(b, 2, tag), Put(b, 2, channels), Put(b, 4, rate), Put(b, 4, rate * channels * bits / 8);
  Put(b, 2, uint16_t(channels * bits / 8)), Put(b, 2, bits);
  b.resize(size, 0);
  return {"fmt ", b};
}

// A RIFF file of the given form holding the chunks; n is the true size unless given.
Bytes Riff(const std::vector<Chunk>& chunks, const char* form = "WAVE", int64_t n = -1) {
  Bytes body(form, form + 4), out = {'R', 'I', 'F', 'F'};
  for (const Chunk& c : chunks) {
    body.insert(body.end(), c.id.begin(), c.id.end());
    Put(body, 4, uint32_t(c.claimed >= 0 ? c.claimed : int64_t(c.body.size())));
    body.insert(body.end(), c.body.begin(), c.body.end());
    if (c.body.size() % 2) body.push_back(0);
  }
  Put(out, 4, uint32_t(n >= 0 ? n : int64_t(body.size())));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// frames of 16-bit samples cycling through values, one per channel.
Bytes Samples(size_t frames, std::vector<int16_t> values) {
  Bytes data;
  for (size_t i = 0; i < frames * values.size(); ++i)
    Put(data, 2, uint16_t(values[i % values.size()]));
  return data;
}
Bytes Wave(size_t frames, std::vector<int16_t> values) {  // at 22050 Hz
  return Riff({Format(uint16_t(values.size()), 22050, 16), {"data", Samples(frames, values)}});
}

struct Mix {
  std::vector<int16_t> left, right;
};
Mix Render(size_t frames) {
  std::vector<int16_t> out = headless::RenderAudio(frames);
  Mix mix;
  for (size_t i = 0; i < 2 * frames; ++i) (i % 2 ? mix.right : mix.left).push_back(out[i]);
  return mix;
}

// Index one past the last sample that is not zero (0 when all are).
size_t SoundingEnd(const std::vector<int16_t>& x) {
  size_t end = 0;
  for (size_t i = 0; i < x.size(); ++i) end = x[i] != 0 ? i + 1 : end;
  return end;
}

// The amplitude of the tone at hz (output frames) that best fits x[from, to); rest gets the
// power of what is left, in dB below the whole.
double Fit(const std::vector<int16_t>& x, double hz, size_t from, size_t to,
           double* rest = nullptr) {
  const double w = 2 * M_PI * hz / kOutputRate, n = double(to - from);
  double c = 0, d = 0, left = 0, all = 0;
  for (size_t i = from; i < to; ++i)
    c += x[i] * std::cos(w * double(i)) * 2 / n, d += x[i] * std::sin(w * double(i)) * 2 / n;
  for (size_t i = from; i < to && rest; ++i) {
    double e = x[i] - c * std::cos(w * double(i)) - d * std::sin(w * double(i));
    left += e * e, all += double(x[i]) * x[i];
  }
  if (rest) *rest = 10 * std::log10(left / all);
  return std::hypot(c, d);
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

TEST_F(SoundTest, WaveFilesAreReadOrRefusedAndTheSlotKeepsOrLosesItsSound) {
  const Chunk fmt = Format(1, 22050, 16), data = {"data", Samples(4000, {2000})};
  Bytes whole = Riff({fmt, data}), odd = Samples(4000, {3000});
  Bytes trailing = whole, noRiff = whole;
  odd.push_back(0x7F), trailing.insert(trailing.end(), 5, 1), noRiff[0] = 'X';
  auto claiming = [](Chunk c, int64_t claimed) { return c.claimed = claimed, c; };
  auto with = [&](Chunk format) { return Riff({format, data}); };
  const Bytes skipped = Riff({{"LIST", {1, 2}},
                              {"odd ", {1}},
                              Format(1, 22050, 16, 1, 18),
                              data,
                              {"bad!", {}, 0x7FFFFFFF}});
  Chunk misaligned = fmt;
  misaligned.body[12] = 4;
  // Each case, loaded over slot 3's old sound (1000): loaded or not, and what the slot
  // plays then, left and right (a malformed file keeps the old sound, an unplayable one
  // empties the slot).
  const struct {
    const char* what;
    Bytes bytes;
    int loaded, left, right;
  } cases[] = {
      {"bytes after the form", trailing, 1, 2000, 2000},
      {"other chunks skipped, an odd one with its fill byte", skipped, 1, 2000, 2000},
      {"odd-sized data", Riff({fmt, {"data", odd}}), 1, 3000, 3000},
      {"empty data gives way", Riff({fmt, {"data", {}}, {"pad ", {0, 0}}, data}), 1, 2000, 2000},
      {"14-byte format, 16 bits read from the next chunk",
       Riff({Format(1, 22050, 16, 1, 14), {std::string("\x10\x00zz", 4), {}}, data}), 1, 2000,
       2000},
      {"8-bit stereo", Riff({Format(2, 22050, 8), {"data", Samples(4000, {-256})}}), 1, -128 * 256,
       127 * 256},
      {"16-bit stereo", Wave(4000, {-32768, 32767}), 1, -32768, 32767},
      {"missing", {}, 0, 1000, 1000},
      {"not RIFF", noRiff, 0, 1000, 1000},
      {"13-byte fmt", Riff({Format(1, 22050, 16, 1, 13), data}), 0, 1000, 1000},
      {"no fmt", Riff({data}), 0, 1000, 1000},
      {"no data", Riff({fmt, {"data", {}}}), 0, 1000, 1000},
      {"n beyond the resource", Riff({fmt, data}, "WAVE", 4 + 24 + 8008 + 8), 0, 1000, 1000},
      {"data 2 bytes beyond", Riff({fmt, claiming(data, 8002)}), 0, 1000, 1000},
      {"24-bit", with(Format(1, 22050, 24)), 0, 0, 0},
      {"zero rate", with(Format(1, 0, 16)), 0, 0, 0},
      {"misaligned blocks", with(misaligned), 0, 0, 0}};
  // Only the bytes given are read: the start of a whole file, or a null pointer, is refused.
  WaveSound wave;
  for (size_t size = 0; size < 8; ++size) EXPECT_FALSE(ParseWave(whole.data(), size, wave)) << size;
  EXPECT_FALSE(ParseWave(nullptr, whole.size(), wave));
  headless::OverrideResource("WAVE", "old", Wave(4000, {1000}));
  for (const auto& c : cases) {
    ASSERT_EQ(LoadWaveSlot(3, "old"), 1);
    headless::OverrideResource("WAVE", "test", c.bytes);
    EXPECT_EQ(LoadWaveSlot(3, c.bytes.empty() ? "nonesuch" : "test"), c.loaded) << c.what;
    PlaySoundSlot(3, 0, 0);
    Mix mix = Render(400);
    StopAllSounds();
    EXPECT_EQ(Pair(mix.left[200], mix.right[200]), Pair(c.left, c.right)) << c.what;
  }
}

TEST_F(SoundTest, APureToneStaysPureAtEveryPlaybackRate) {
  Bytes samples;  // two seconds of 1500 Hz at half scale, recorded at 22050 Hz
  for (size_t i = 0; i < 44100; ++i)
    Put(samples, 2, uint16_t(std::lround(16383 * std::sin(2 * M_PI * 1500 * double(i) / 22050))));
  headless::OverrideResource("WAVE", "sine", Riff({Format(1, 22050, 16), {"data", samples}}));
  ASSERT_EQ(LoadWaveSlot(1, "sine"), 1);
  for (uint32_t rate : {2000u, 12000u, 22050u, 30000u, 37999u, 44100u}) {
    PlaySoundSlot(1, 0, rate);
    double rest;  // the tone at its new pitch, at full level; taking it away leaves nothing
    EXPECT_NEAR(Fit(Render(48000).left, 1500.0 * rate / 22050, 4000, 44000, &rest), 16383,
                16383 * 0.02)
        << rate;
    EXPECT_LT(rest, -50) << rate;
  }
}

TEST_F(SoundTest, ALoopIsExactAcrossItsSeamAtAnyRateAndLoudSumsSaturate) {
  headless::OverrideResource("WAVE", "pairs", Wave(50, {-7777, 5555}));
  ASSERT_EQ(LoadWaveSlot(0, "pairs"), 1);
  for (uint32_t rate : {100u, 11025u, 22050u, 24000u, 37999u, 48000u, 200000u}) {
    PlaySoundSlot(0, 1, rate);
    Mix mix = Render(3000);
    EXPECT_EQ(mix.left, std::vector<int16_t>(3000, -7777)) << rate;
    EXPECT_EQ(mix.right, std::vector<int16_t>(3000, 5555)) << rate;
  }
  StopAllSounds();
  EXPECT_EQ(SoundingEnd(Render(1000).left), 0u);
  for (int16_t value : {20000, -20000}) {  // in the groups of eight and the odd ones at the end
    headless::OverrideResource("WAVE", "loud", Wave(20000, {value}));
    ASSERT_EQ(LoadWaveSlot(3, "loud") + LoadWaveSlot(4, "loud"), 2);
    PlaySoundSlot(3, 0, 22050), PlaySoundSlot(4, 0, 22050);
    Mix mix = Render(1003);
    for (size_t i : {100, 997, 1002})
      EXPECT_EQ(Pair(mix.left[i], mix.right[i]),
                Pair(value > 0 ? 32767 : -32768, value > 0 ? 32767 : -32768))
          << i;
  }
}

TEST_F(SoundTest, TheBeepsTwoVoicesOverlapRestartAndKeepTheirRates) {
  ASSERT_EQ(LoadWaveSlot(1, "beep") + DuplicateSoundSlot(1, 2), 2);
  PlaySoundSlot(1, 0, 22050);
  Mix one = Render(2000);
  PlaySoundSlot(2, 0, 30000);
  Mix two = Render(2000);
  PlaySoundSlot(1, 0, 0), Render(300), PlaySoundSlot(2, 0, 0);  // neither cuts the other
  Mix both = Render(1700);
  for (size_t i = 0; i < 1700; ++i)
    ASSERT_NEAR(both.left[i], std::clamp(one.left[300 + i] + two.left[i], -32768, 32767), 1) << i;
  PlaySoundSlot(1, 0, 0), Render(700), PlaySoundSlot(1, 0, 0);  // a replay starts afresh
  EXPECT_EQ(Render(2000).left, one.left);
  for (uint32_t rate : {99u, 200001u}) {  // beyond the device's range: the rate is kept
    PlaySoundSlot(2, 0, rate);
    EXPECT_EQ(Render(2000).left, two.left) << rate;
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
  FreeSound(), PlaySoundSlot(4, 0, 22050);
  EXPECT_EQ(SoundingEnd(Render(4000).left) + LoadWaveSlot(1, "beep"), 0u);
  headless::MakeFail(headless::Failure::kSoundDevice);
  EXPECT_EQ(InitSound() + LoadWaveSlot(1, "beep"), 0);
  headless::Reset();
  ASSERT_EQ(InitSound() + LoadWaveSlot(1, "beep"), 2);
}

// The player's two volumes and the mute: slot 0 (the music) follows the music volume, the
// others the effects volume, each with a gain of (level / 10) squared.
TEST_F(SoundTest, TheMusicAndTheEffectsHaveTheirOwnVolumeAndMuteSilencesBoth) {
  headless::OverrideResource("WAVE", "music", Wave(100, {8000}));
  headless::OverrideResource("WAVE", "effect", Wave(100, {4000}));
  ASSERT_EQ(LoadWaveSlot(0, "music") + LoadWaveSlot(3, "effect"), 2);
  const struct {
    int32_t music, effects;
    bool muted;
    int sum;  // the two constants, each at its gain
  } cases[] = {{10, 10, false, 12000}, {5, 10, false, 6000}, {10, 0, false, 8000},
               {0, 3, false, 360},     {1, 1, false, 120},   {10, 10, true, 0},
               {99, -4, false, 8000},  {7, 7, true, 0},      {7, 7, false, 5880}};
  for (const auto& c : cases) {
    platform::SetGroupVolume(platform::SoundGroup::kMusic, c.music);
    platform::SetGroupVolume(platform::SoundGroup::kEffects, c.effects);
    platform::SetMuted(c.muted);
    PlaySoundSlot(0, 1, 0), PlaySoundSlot(3, 1, 0);
    Mix mix = Render(500);
    EXPECT_EQ(Pair(mix.left[300], mix.right[300]), Pair(c.sum, c.sum))
        << c.music << " " << c.effects << " " << c.muted;
    EXPECT_EQ(platform::GroupVolume(platform::SoundGroup::kMusic), std::clamp(c.music, 0, 10));
  }
  // The game's own music is in the music group, its beep an effect.
  platform::SetGroupVolume(platform::SoundGroup::kMusic, 0);
  platform::SetGroupVolume(platform::SoundGroup::kEffects, 10);
  LoadAssets();
  PlaySoundSlot(0, 1, 0), PlaySoundSlot(1, 0, 0);
  EXPECT_NEAR(double(SoundingEnd(Render(4000).left)), 1800, 16);
}

// The recordings as the asset loader puts them in slots 0-4, each played at its own rate:
// how long it lasts (output frames) and, for all but the music, its first note and when.
TEST_F(SoundTest, TheRecordingsHaveTheirLengthsAndNotesAndNeverClip) {
  // The music, the beep and its second voice, the game-over horn and the flower's sparkle.
  const size_t lasts[5] = {960004, 1800, 1800, 67500, 43680},
               until[5] = {0, 1500, 1500, 8000, 2600};
  const double notes[5] = {0, 1500, 1500, 392, 1175};
  LoadAssets();
  for (int32_t slot = 0; slot < 5; ++slot) {
    const struct {
      size_t lasts;
      double note;
      size_t until;
    } r = {lasts[slot], notes[slot], until[slot]};
    SCOPED_TRACE(slot);
    PlaySoundSlot(slot, 0, 0);
    Mix mix = Render(r.lasts + 100);
    StopAllSounds();
    EXPECT_NEAR(double(SoundingEnd(mix.left)), double(r.lasts), 16);
    for (const std::vector<int16_t>* x : {&mix.left, &mix.right}) {
      double peak = 0, sum = 0, best = r.note ? r.note - 30 : 0;
      for (int16_t v : *x) peak = std::max(peak, std::fabs(double(v))), sum += v;
      EXPECT_TRUE(peak <= 32768 * std::pow(10.0, -1.0 / 20) && peak > 8000) << peak;  // -1 dB
      EXPECT_LT(std::fabs(sum / double(r.lasts)), 64);                                // no offset
      for (double hz = r.note - 30; hz <= r.note + 30 && r.note > 0; hz += 1)
        best = Fit(*x, hz, 0, r.until) > Fit(*x, best, 0, r.until) ? hz : best;
      EXPECT_NEAR(best, r.note, r.note / 100);
    }
  }
}

}  // namespace
}  // namespace quillorn
