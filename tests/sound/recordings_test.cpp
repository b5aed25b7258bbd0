// The four recordings built into the program: their headers byte for byte, and how they sound
// by the numbers (level, clipping, pitch, length, the music's seam).
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/platform.h"
#include "shell/load_assets.h"
#include "sound_support.h"

namespace quillorn::soundtest {
namespace {

// Name, form size, rate, data size, bits, and the first note (Hz) within its first frames.
struct Layout {
  const char* name;
  uint32_t n, rate, dataSize, bits, fact;  // fact: an 18-byte format and a "fact" chunk
  double note;
  size_t frames;
} const kLayouts[] = {{"ed", 441038, 11025, 441002, 8, 0, 0, 0},
                      {"beep", 3344, 22050, 3308, 16, 0, 1500, 700},
                      {"gameover", 124068, 22050, 124032, 16, 0, 392, 4000},
                      {"flower", 58290, 16000, 58240, 16, 1, 1175, 900}};

TEST(Recordings, ExactHeadersFirstNotesNoOffsetNoClippingPeaksBelowMinusOneDecibel) {
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    std::vector<Chunk> chunks = {Format(2, l.rate, uint16_t(l.bits), 1, l.fact ? 18 : 16)};
    if (l.fact) chunks.push_back({"fact", {}}), Put32(chunks.back().body, l.dataSize / 4);
    chunks.push_back({"data", {}, l.dataSize});
    const Bytes header = Riff(chunks, "WAVE", l.n);
    headless::Reset();
    platform::Resource r;
    ASSERT_TRUE(platform::FindResource("WAVE", l.name, r));
    ASSERT_EQ(r.size, header.size() + l.dataSize);
    EXPECT_EQ(Bytes(r.data, r.data + header.size()), header);
    std::vector<double> channel[2];
    for (size_t i = 0, size = l.bits / 8; i < l.dataSize; i += size) {
      const uint8_t* p = r.data + header.size() + i;
      channel[i / size % 2].push_back(size == 1 ? (p[0] - 128) / 128.0
                                                : int16_t(p[0] | p[1] << 8) / 32768.0);
    }
    for (const std::vector<double>& x : channel) {
      double peak = 0, sum = 0, best = l.note ? l.note - 30 : 0;
      int run = 0, longest = 0;
      for (size_t i = 0; i < x.size(); ++i) {
        peak = std::max(peak, std::fabs(x[i])), sum += x[i];
        run = i > 0 && x[i] == x[i - 1] && std::fabs(x[i]) > 0.85 ? run + 1 : 0;
        longest = std::max(longest, run);
      }
      EXPECT_TRUE(peak <= std::pow(10.0, -1.0 / 20) && peak > 0.25) << peak;
      EXPECT_LT(std::fabs(sum / double(x.size())), 0.002);
      EXPECT_LT(longest, 3);
      // The music loops, its two ends meeting; the others start and end in silence.
      EXPECT_LE(
          l.note ? std::fabs(x.front()) + std::fabs(x.back()) : std::fabs(x.front() - x.back()),
          l.note ? 4.0 / 32768 : 0.05);
      for (double hz = l.note - 30; hz <= l.note + 30 && l.note; hz += 1)
        best =
            LevelAt(x, l.rate, hz, 0, l.frames) > LevelAt(x, l.rate, best, 0, l.frames) ? hz : best;
      EXPECT_NEAR(best, l.note, l.note / 100);
    }
  }
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
  PlaySoundSlot(2, 0, 44100);  // slot 2 is the beep too: an octave up at twice the rate
  std::vector<int16_t> up = Render(900).left;
  EXPECT_GT(LevelAt(up, kOutputRate, 3000, 0, 900), 4 * LevelAt(up, kOutputRate, 1500, 0, 900));
}

}  // namespace
}  // namespace quillorn::soundtest
