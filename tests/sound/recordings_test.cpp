// The four recordings built into the program: their files byte for byte, and how they sound
// by the numbers (level, clipping, pitch, notes, length, the music's seam).
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/platform.h"
#include "shell/load_assets.h"
#include "sound_support.h"

namespace quillorn::soundtest {
namespace {

struct Layout {
  const char* name;
  uint32_t n, rate, dataSize;
  uint16_t bits;
  bool fact;  // an 18-byte format and a "fact" chunk holding the frame count
};
constexpr Layout kLayouts[] = {{"ed", 441038, 11025, 441002, 8, false},
                               {"beep", 3344, 22050, 3308, 16, false},
                               {"gameover", 124068, 22050, 124032, 16, false},
                               {"flower", 58290, 16000, 58240, 16, true}};

// A recording's two channels as values from -1 to 1; the header is checked on the way.
std::vector<double> Decode(const Layout& l, std::vector<double>& right) {
  right.clear();
  std::vector<Chunk> chunks = {Format(2, l.rate, l.bits, 1, l.fact ? 18 : 16)};
  if (l.fact) chunks.push_back({"fact", {}}), Put32(chunks.back().body, l.dataSize / 4);
  chunks.push_back({"data", {}, l.dataSize});
  const std::vector<uint8_t> header = Riff(chunks, "WAVE", l.n);
  headless::Reset();
  platform::Resource r;
  EXPECT_TRUE(platform::FindResource("WAVE", l.name, r));
  EXPECT_EQ(r.size, header.size() + l.dataSize);
  EXPECT_EQ(std::vector<uint8_t>(r.data, r.data + header.size()), header);
  std::vector<double> left;
  const uint8_t* d = r.data + header.size();
  for (size_t f = 0; f < l.dataSize / (l.bits / 4u); ++f)
    for (size_t ch = 0; ch < 2; ++ch)
      (ch ? right : left)
          .push_back(l.bits == 8
                         ? (d[2 * f + ch] - 128) / 128.0
                         : int16_t(d[4 * f + 2 * ch] | d[4 * f + 2 * ch + 1] << 8) / 32768.0);
  return left;
}

TEST(Recordings, ExactHeadersPeakBelowMinusOneDecibelNoOffsetNoClippingSilentEdges) {
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    std::vector<double> right, left = Decode(l, right);
    for (const std::vector<double>* x : {&left, &right}) {
      double peak = 0, sum = 0;
      int run = 0, longest = 0;
      for (size_t i = 0; i < x->size(); ++i) {
        peak = std::max(peak, std::fabs((*x)[i])), sum += (*x)[i];
        run = i > 0 && (*x)[i] == (*x)[i - 1] && std::fabs((*x)[i]) > 0.85 ? run + 1 : 0;
        longest = std::max(longest, run);
      }
      EXPECT_LE(peak, std::pow(10.0, -1.0 / 20));
      EXPECT_GT(peak, 0.25);
      EXPECT_LT(std::fabs(sum / double(x->size())), 0.002);
      EXPECT_LT(longest, 3);
      if (l.name == std::string("ed")) {  // the music loops: its two ends meet
        EXPECT_LT(std::fabs(x->front() - x->back()), 0.05);
      } else {  // the others start and end within dither of silence
        EXPECT_LE(std::fabs(x->front()) + std::fabs(x->back()), 4.0 / 32768);
      }
    }
  }
}

TEST(Recordings, TheBeepIsAPureToneAndTheMelodiesHaveTheirNotes) {
  std::vector<double> r, beep = Decode(kLayouts[1], r);
  EXPECT_NEAR(Strongest(beep, 22050, 1400, 1600, 80, 700), 1500, 15);
  double fundamental = LevelAt(beep, 22050, 1500, 80, 700);
  for (int h = 2; h <= 6; ++h)  // harmonics at least 25 dB down
    EXPECT_LT(LevelAt(beep, 22050, 1500.0 * h, 80, 700), fundamental * 0.056) << h;
  // The game-over horn falls from G4 to a sinking E4; the flower's sparkle rises D6 to A7.
  std::vector<double> over = Decode(kLayouts[2], r);
  EXPECT_NEAR(Strongest(over, 22050, 250, 500, 500, 4000), 392, 8);
  EXPECT_NEAR(Strongest(over, 22050, 250, 500, 16000, 26000), 315, 25);
  std::vector<double> flower = Decode(kLayouts[3], r);
  EXPECT_NEAR(Strongest(flower, 16000, 900, 4000, 0, 900), 1175, 30);
  EXPECT_NEAR(Strongest(r, 16000, 900, 4000, 5200, 7600), 3520, 60);
}

TEST_F(SoundTest, TheAssetLoaderFillsEverySlotWithItsRecording) {
  constexpr size_t kLasts[5] = {960004, 1800, 1800, 67500, 43680};  // output frames
  LoadAssets();
  for (int32_t slot = 0; slot < 5; ++slot) {
    PlaySoundSlot(slot, 0, 0);
    Mix mix = Render(kLasts[slot] + 100);
    StopAllSounds();
    EXPECT_NEAR(double(SoundingEnd(mix.left)), double(kLasts[slot]), 16) << slot;
  }
  PlaySoundSlot(2, 0, 44100);  // slot 2 is the beep too, an octave up at twice the rate
  EXPECT_NEAR(Strongest(Render(900).left, kOutputRate, 2900, 3100, 0, 900), 3000, 30);
}

}  // namespace
}  // namespace quillorn::soundtest
