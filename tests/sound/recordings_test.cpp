// The four recordings built into the program: their files byte for byte, and how they sound
// by the numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/platform.h"
#include "sound_support.h"

namespace quillorn::soundtest {
namespace {

struct Layout {
  const char* name;
  uint32_t n;
  uint32_t rate;
  uint16_t bits;
  uint32_t dataSize;
  bool fact;  // an 18-byte format and a "fact" chunk holding the frame count
};

constexpr Layout kLayouts[] = {
    {"ed", 441038, 11025, 8, 441002, false},
    {"beep", 3344, 22050, 16, 3308, false},
    {"gameover", 124068, 22050, 16, 124032, false},
    {"flower", 58290, 16000, 16, 58240, true},
};

platform::Resource Find(const char* name) {
  headless::Reset();
  platform::Resource r;
  EXPECT_TRUE(platform::FindResource("WAVE", name, r)) << name;
  return r;
}

// The samples of a recording as two channels of values from -1 to 1.
struct Recording {
  std::vector<double> left, right;
  double rate = 0;
  double step = 0;  // one quantisation step
};

Recording Decode(const Layout& l) {
  Recording rec;
  platform::Resource r = Find(l.name);
  const uint8_t* data = r.data + r.size - l.dataSize;
  rec.rate = l.rate;
  rec.step = l.bits == 8 ? 1.0 / 128 : 1.0 / 32768;
  for (size_t f = 0; f < l.dataSize / (l.bits / 4); ++f) {
    for (int ch = 0; ch < 2; ++ch) {
      double v = l.bits == 8 ? (data[2 * f + ch] - 128) / 128.0
                             : static_cast<int16_t>(Get16(data + 4 * f + 2 * ch)) / 32768.0;
      (ch == 0 ? rec.left : rec.right).push_back(v);
    }
  }
  return rec;
}
Recording Decode(const char* name) {
  return Decode(*std::find_if(std::begin(kLayouts), std::end(kLayouts),
                              [&](const Layout& l) { return std::string(l.name) == name; }));
}

// The strongest frequency between low and high Hz, to a 1 Hz grid.
double StrongestFrequency(const std::vector<double>& x, double rate, double low, double high,
                          size_t from, size_t to) {
  double best = low, bestLevel = -1;
  for (double hz = low; hz <= high; hz += 1) {
    double level = LevelAt(x, rate, hz, from, to);
    if (level > bestLevel) bestLevel = level, best = hz;
  }
  return best;
}

TEST(Recordings, FilesHaveTheirExactHeaders) {
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    // Integer PCM, stereo; the data chunk's body runs to the end of the file.
    std::vector<Chunk> chunks = {Format(2, l.rate, l.bits, 1, l.fact ? 18 : 16)};
    if (l.fact) chunks.push_back({"fact", {}});
    if (l.fact) Put32(chunks.back().body, l.dataSize / 4);
    chunks.push_back({"data", {}, l.dataSize});
    const std::vector<uint8_t> header = Riff(chunks, "WAVE", l.n);
    platform::Resource r = Find(l.name);
    ASSERT_EQ(r.size, l.n + 8u);
    ASSERT_EQ(r.size, header.size() + l.dataSize);
    EXPECT_EQ(std::vector<uint8_t>(r.data, r.data + header.size()), header);
  }
}

TEST(Recordings, PeakAtMostMinusOneDecibelNoOffsetNoClippedRuns) {
  const double limit = std::pow(10.0, -1.0 / 20);
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    Recording rec = Decode(l);
    for (const std::vector<double>* x : {&rec.left, &rec.right}) {
      double peak = 0, sum = 0;
      int run = 0, longest = 0;
      for (size_t i = 0; i < x->size(); ++i) {
        peak = std::max(peak, std::fabs((*x)[i])), sum += (*x)[i];
        run = i > 0 && (*x)[i] == (*x)[i - 1] && std::fabs((*x)[i]) > 0.85 ? run + 1 : 0;
        longest = std::max(longest, run);
      }
      EXPECT_LE(peak, limit);
      EXPECT_GT(peak, 0.25);  // and loud enough to be heard
      EXPECT_LT(std::fabs(sum / x->size()), 0.002);
      EXPECT_LT(longest, 3);
    }
  }
}

TEST(Recordings, OneShotsStartAndEndInSilence) {
  for (const char* name : {"beep", "gameover", "flower"}) {
    SCOPED_TRACE(name);
    Recording rec = Decode(name);
    for (const std::vector<double>* x : {&rec.left, &rec.right}) {
      // Within dither of zero at both ends, rising smoothly over the first half millisecond.
      EXPECT_LE(std::fabs(x->front()), 2 * rec.step);
      EXPECT_LE(std::fabs(x->back()), 2 * rec.step);
      double start = 0;
      for (size_t i = 0; i < rec.rate / 2000; ++i) start = std::max(start, std::fabs((*x)[i]));
      EXPECT_LT(start, 0.2);
    }
  }
}

TEST(Recordings, BeepIsAPureFifteenHundredHertzToneWithSoftEdges) {
  Recording beep = Decode("beep");
  EXPECT_NEAR(ZeroCrossingFrequency(beep.left, beep.rate, 100, 727), 1500, 15);
  for (size_t i = 0; i < beep.left.size(); ++i) {
    ASSERT_NEAR(beep.left[i], beep.right[i], 2 * beep.step) << i;  // the same but for dither
  }
  // Nearly all of its energy is the fundamental: harmonics at least 25 dB down.
  double fundamental = LevelAt(beep.left, beep.rate, 1500, 80, 700);
  for (int h = 2; h <= 6; ++h) {
    EXPECT_LT(LevelAt(beep.left, beep.rate, 1500.0 * h, 80, 700), fundamental * 0.056) << h;
  }
  // The fade in reaches full level in about 2.5 ms, the fade out takes about 6.5 ms.
  auto peakIn = [&](double fromMs, double toMs) {
    double p = 0;
    for (size_t i = size_t(fromMs * 22.05); i < size_t(toMs * 22.05); ++i) {
      p = std::max(p, std::fabs(beep.left[i]));
    }
    return p;
  };
  double full = peakIn(10, 20);
  EXPECT_LT(peakIn(0, 1), full * 0.5);
  EXPECT_GT(peakIn(2.5, 4), full * 0.95);
  EXPECT_GT(peakIn(30, 31), full * 0.9);
  EXPECT_LT(peakIn(35, 37.5), full * 0.5);
}

TEST(Recordings, EndingMusicLoopsWithoutASeam) {
  Recording ed = Decode("ed");
  for (const std::vector<double>* x : {&ed.left, &ed.right}) {
    std::vector<double> jumps;
    for (size_t i = 1; i < x->size(); ++i) jumps.push_back(std::fabs((*x)[i] - (*x)[i - 1]));
    std::sort(jumps.begin(), jumps.end());
    EXPECT_LE(std::fabs(x->front() - x->back()), jumps[jumps.size() * 95 / 100]);
    // The music plays on across the seam: a fifth of a second either side is not quiet.
    double sum = 0;
    for (size_t i = 0; i < 2205; ++i) sum += (*x)[i] * (*x)[i] + x->rbegin()[i] * x->rbegin()[i];
    EXPECT_GT(std::sqrt(sum / 4410), 0.05);
  }
}

TEST(Recordings, MelodiesHaveTheirNotes) {
  // The game-over horn falls from G4 to an E4 sinking further.
  Recording over = Decode("gameover");
  EXPECT_NEAR(StrongestFrequency(over.left, over.rate, 250, 500, 500, 4000), 392, 8);
  double last = StrongestFrequency(over.left, over.rate, 250, 500, 16000, 26000);
  EXPECT_LT(last, 340);
  EXPECT_GT(last, 290);
  // The flower's sparkle rises from D6 to A7.
  Recording flower = Decode("flower");
  EXPECT_NEAR(StrongestFrequency(flower.left, flower.rate, 900, 4000, 0, 900), 1175, 30);
  EXPECT_NEAR(StrongestFrequency(flower.right, flower.rate, 900, 4000, 5200, 7600), 3520, 60);
}

}  // namespace
}  // namespace quillorn::soundtest
