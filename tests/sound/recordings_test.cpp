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
  uint32_t formatSize;
  uint32_t rate;
  uint16_t bits;
  uint32_t dataOffset;  // of the data chunk's body
  uint32_t dataSize;
};

constexpr Layout kLayouts[] = {
    {"ed", 441038, 16, 11025, 8, 44, 441002},
    {"beep", 3344, 16, 22050, 16, 44, 3308},
    {"gameover", 124068, 16, 22050, 16, 44, 124032},
    {"flower", 58290, 18, 16000, 16, 58, 58240},
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

Recording Decode(const char* name) {
  Recording rec;
  platform::Resource r = Find(name);
  for (const Layout& l : kLayouts) {
    if (std::string(l.name) != name) continue;
    rec.rate = l.rate;
    const uint8_t* data = r.data + l.dataOffset;
    size_t frames = l.dataSize / (l.bits / 4);
    rec.step = l.bits == 8 ? 1.0 / 128 : 1.0 / 32768;
    for (size_t f = 0; f < frames; ++f) {
      for (int ch = 0; ch < 2; ++ch) {
        double v = l.bits == 8 ? (data[2 * f + ch] - 128) / 128.0
                               : static_cast<int16_t>(Get16(data + 4 * f + 2 * ch)) / 32768.0;
        (ch == 0 ? rec.left : rec.right).push_back(v);
      }
    }
  }
  return rec;
}

TEST(Recordings, FilesHaveTheirExactLayout) {
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    platform::Resource r = Find(l.name);
    ASSERT_EQ(r.size, l.n + 8u);
    const uint8_t* p = r.data;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(p), 4), "RIFF");
    EXPECT_EQ(Get32(p + 4), l.n);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + 8), 4), "WAVE");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + 12), 4), "fmt ");
    EXPECT_EQ(Get32(p + 16), l.formatSize);
    EXPECT_EQ(Get16(p + 20), 1);  // integer PCM
    EXPECT_EQ(Get16(p + 22), 2);  // stereo
    EXPECT_EQ(Get32(p + 24), l.rate);
    EXPECT_EQ(Get32(p + 28), l.rate * 2 * l.bits / 8);
    EXPECT_EQ(Get16(p + 32), 2 * l.bits / 8);
    EXPECT_EQ(Get16(p + 34), l.bits);
    if (l.formatSize == 18) {
      EXPECT_EQ(Get16(p + 36), 0);  // no extra format bytes
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + 38), 4), "fact");
      EXPECT_EQ(Get32(p + 42), 4u);
      EXPECT_EQ(Get32(p + 46), l.dataSize / 4);  // the frame count
    }
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + l.dataOffset - 8), 4), "data");
    EXPECT_EQ(Get32(p + l.dataOffset - 4), l.dataSize);
    EXPECT_EQ(l.dataOffset + l.dataSize, r.size);
  }
}

TEST(Recordings, FrameCountsAndLengths) {
  EXPECT_EQ(Decode("ed").left.size(), 220501u);
  EXPECT_EQ(Decode("beep").left.size(), 827u);
  EXPECT_EQ(Decode("gameover").left.size(), 31008u);
  EXPECT_EQ(Decode("flower").left.size(), 14560u);
}

TEST(Recordings, PeakAtMostMinusOneDecibelAndNoOffset) {
  const double limit = std::pow(10.0, -1.0 / 20);
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    Recording rec = Decode(l.name);
    for (const std::vector<double>* x : {&rec.left, &rec.right}) {
      double peak = 0, sum = 0;
      for (double v : *x) peak = std::max(peak, std::fabs(v)), sum += v;
      EXPECT_LE(peak, limit);
      EXPECT_GT(peak, 0.25);  // and loud enough to be heard
      EXPECT_LT(std::fabs(sum / x->size()), 0.002);
    }
  }
}

TEST(Recordings, OneShotsStartAndEndInSilence) {
  for (const char* name : {"beep", "gameover", "flower"}) {
    SCOPED_TRACE(name);
    Recording rec = Decode(name);
    for (const std::vector<double>* x : {&rec.left, &rec.right}) {
      // Within dither of zero at both ends, rising smoothly from the start.
      EXPECT_LE(std::fabs(x->front()), 2 * rec.step);
      EXPECT_LE(std::fabs(x->back()), 2 * rec.step);
      double firstHalfMs = 0;
      for (size_t i = 0; i < static_cast<size_t>(rec.rate / 2000); ++i) {
        firstHalfMs = std::max(firstHalfMs, std::fabs((*x)[i]));
      }
      EXPECT_LT(firstHalfMs, 0.2);
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
    for (size_t i = static_cast<size_t>(fromMs * 22.05); i < static_cast<size_t>(toMs * 22.05);
         ++i) {
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
    double typical = jumps[jumps.size() / 2];
    double high = jumps[jumps.size() * 95 / 100];
    double seam = std::fabs(x->front() - x->back());
    EXPECT_LE(seam, high) << "typical " << typical;
    // The music plays on across the seam: a fifth of a second either side is not quiet.
    std::vector<double> around(x->end() - 2205, x->end());
    around.insert(around.end(), x->begin(), x->begin() + 2205);
    double sum = 0;
    for (double v : around) sum += v * v;
    EXPECT_GT(std::sqrt(sum / around.size()), 0.05);
  }
}

TEST(Recordings, EndingMusicHasNoClippedRuns) {
  Recording ed = Decode("ed");
  int run = 0, longest = 0;
  for (size_t i = 1; i < ed.left.size(); ++i) {
    bool flat = ed.left[i] == ed.left[i - 1] && std::fabs(ed.left[i]) > 0.85;
    run = flat ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  EXPECT_LT(longest, 3);
}

TEST(Recordings, GameOverFallsInPitch) {
  Recording rec = Decode("gameover");
  // The horn's first note against its last, long one.
  double first = StrongestFrequency(rec.left, rec.rate, 250, 500, 500, 4000);
  double last = StrongestFrequency(rec.left, rec.rate, 250, 500, 16000, 26000);
  EXPECT_NEAR(first, 392, 8);  // G4
  EXPECT_LT(last, 340);        // E4 sinking further
  EXPECT_GT(last, 290);
}

TEST(Recordings, FlowerRisesAndIsBright) {
  Recording rec = Decode("flower");
  double early = StrongestFrequency(rec.left, rec.rate, 900, 4000, 0, 900);
  double late = StrongestFrequency(rec.right, rec.rate, 900, 4000, 5200, 7600);
  EXPECT_NEAR(early, 1175, 30);  // D6
  EXPECT_NEAR(late, 3520, 60);   // A7
}

}  // namespace
}  // namespace quillorn::soundtest
