#include "beep_ear.h"

#include <cmath>
#include <cstdlib>

#include "platform/headless/headless_audio.h"

namespace quillorn::bots {

namespace {

constexpr int32_t kTickFrames = int32_t(headless::kAudioOutputRate * 54 / 1000);
constexpr int32_t kLoud = 200;         // a sample this far from 0 is sound
constexpr int32_t kQuietFrames = 240;  // 5 ms below it is silence
constexpr double kBeepToneHz = 1500;
constexpr double kRecordedRate = 22050;

// The pitch of the tone that starts at `from`, from its rising zero crossings (placed
// between samples) over at most 50 ms; 0 when too few periods sound.
double PitchAt(const std::vector<int16_t>& left, size_t from) {
  const size_t end = std::min(left.size(), from + 2400);
  double first = -1, last = -1;
  int crossings = 0;
  for (size_t i = from + 1; i < end; ++i) {
    if (left[i - 1] < 0 && left[i] >= 0) {
      double at = double(i - 1) + double(-left[i - 1]) / double(left[i] - left[i - 1]);
      (crossings == 0 ? first : last) = at;
      ++crossings;
    }
  }
  if (crossings < 3) return 0;
  return (crossings - 1) * double(headless::kAudioOutputRate) / (last - first);
}

}  // namespace

double BeepEar::ToneHz(int32_t distance) {
  double rate = distance >= 19 ? 2000 : 36000 - 1800 * distance;
  return kBeepToneHz * rate / kRecordedRate;
}

int32_t BeepEar::DistanceFor(double hz) {
  double rate = hz * kRecordedRate / kBeepToneHz;
  if (rate < 2800) return 19;
  long n = std::lround((36000 - rate) / 1800);
  return n < 1 ? 1 : n > 18 ? 18 : int32_t(n);
}

int32_t BeepEar::HearTick() {
  std::vector<int16_t> stereo = headless::RenderAudio(kTickFrames);
  std::vector<int16_t> left(kTickFrames);
  for (int32_t i = 0; i < kTickFrames; ++i) left[size_t(i)] = stereo[2 * size_t(i)];
  int32_t heard = 0;
  // A beep begins with the tick that played it. A sound already going at the start of the
  // tick is a new beep only when its pitch has changed (the slot was played again).
  if (std::abs(left[0]) >= kLoud || std::abs(left[8]) >= kLoud) {
    double hz = PitchAt(left, 0);
    if (hz > 0 && (soundingHz_ == 0 || std::fabs(hz - soundingHz_) > 0.03 * soundingHz_)) {
      heard = DistanceFor(hz);
      soundingHz_ = hz;
    }
  }
  for (int32_t i = 0; i < kTickFrames; ++i) {
    if (std::abs(left[size_t(i)]) < kLoud) {
      if (++quietRun_ >= kQuietFrames) soundingHz_ = 0;
      continue;
    }
    if (quietRun_ >= kQuietFrames && i > 8 && heard == 0) {  // a beep after silence
      double hz = PitchAt(left, size_t(i));
      if (hz > 0) {
        heard = DistanceFor(hz);
        soundingHz_ = hz;
      }
    }
    quietRun_ = 0;
  }
  return heard;
}

}  // namespace quillorn::bots
