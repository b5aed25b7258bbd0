// The mixer's calls as records (what the page sends to the mixer of its audio worklet): a
// session of calls observed on one mixer and replayed on a fresh one, with the same blocks
// rendered between them, sounds the same sample for sample, and every buffer is made again.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"

namespace quillorn {
namespace {

using namespace platform;

// A call as observed, with copies of what it pointed to; or, with frames, a block rendered.
struct Step {
  SoundCall call;
  SoundFormat format;
  std::vector<uint8_t> bytes;
  size_t frames = 0;
};
std::vector<Step> g_steps;

void Record(const SoundCall& c) {
  g_steps.push_back({c, c.format ? *c.format : SoundFormat(), {}});
  if (c.bytes) g_steps.back().bytes.assign(c.bytes, c.bytes + c.size);
}

// A tone of hz at rate: 16-bit stereo (left and right apart) or 8-bit mono.
std::vector<uint8_t> Tone(double hz, uint32_t rate, size_t frames, bool stereo) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < frames; ++i) {
    double v = std::sin(2 * M_PI * hz * double(i) / rate);
    if (!stereo) out.push_back(uint8_t(128 + int(100 * v)));
    for (int16_t s : {int16_t(12000 * v), int16_t(-7000 * v)})
      if (stereo) out.push_back(uint8_t(uint16_t(s))), out.push_back(uint8_t(uint16_t(s) >> 8));
  }
  return out;
}

struct ReplayTest : ::testing::Test {
  void SetUp() override { headless::Reset(), headless::ResetAudio(); }
  void TearDown() override { ObserveSoundCalls(nullptr), headless::ResetAudio(), g_steps.clear(); }
};

TEST_F(ReplayTest, ASessionReplayedOnAFreshMixerSoundsTheSameAndMakesEveryBuffer) {
  ASSERT_TRUE(OpenAudio());
  const SoundFormat mono{1, 1, 11025, 11025, 1, 8}, stereo{1, 2, 22050, 88200, 4, 16};
  const std::vector<uint8_t> low = Tone(220, 11025, 6000, false),
                             high = Tone(660, 22050, 3000, true);
  std::vector<int16_t> heard;
  auto render = [&](size_t frames) {
    g_steps.push_back({{}, {}, {}, frames});
    std::vector<int16_t> block = headless::RenderAudio(frames);
    heard.insert(heard.end(), block.begin(), block.end());
  };
  ObserveSoundCalls(Record);
  SoundBuffer a = CreateSoundBuffer(mono, low.data(), low.size());
  SoundBuffer b = CreateSoundBuffer(stereo, high.data(), high.size());
  SoundBuffer c = DuplicateSoundBuffer(b);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(CreateSoundBuffer({1, 3, 22050, 0, 6, 16}, high.data(), high.size()), 0u);
  SetBufferGroup(a, SoundGroup::kMusic);
  PlayBuffer(a, true), PlayBuffer(b, false);
  render(3000);
  SetBufferRate(c, 33075), SetBufferRate(c, 5);  // the second is refused
  PlayBuffer(c, false);
  SetGroupVolume(SoundGroup::kMusic, 4);
  render(2500);
  SetMuted(true);
  render(700);
  SetMuted(false), SetGroupVolume(SoundGroup::kEffects, 7);
  StopBuffer(b), PlayBuffer(b, true);
  render(4000);
  ReleaseBuffer(b), PlayBuffer(b, false);  // its duplicate plays on; b is gone
  SoundBuffer d = DuplicateSoundBuffer(c);
  PlayBuffer(d, true), StopBuffer(a);
  render(5000);
  ObserveSoundCalls(nullptr);
  const std::vector<Step> steps = std::exchange(g_steps, {});
  // Refused calls and calls on a gone buffer are not sent: 18 calls and 5 blocks.
  EXPECT_EQ(steps.size(), 23u);

  headless::ResetAudio();
  ASSERT_TRUE(OpenAudio());
  std::map<SoundBuffer, SoundBuffer> made;  // the first mixer's buffers as the second's
  auto as = [&](uint32_t buffer) { return made.count(buffer) ? made[buffer] : buffer; };
  std::vector<int16_t> replayed;
  for (const Step& s : steps) {
    std::vector<int16_t> block = headless::RenderAudio(s.frames);
    replayed.insert(replayed.end(), block.begin(), block.end());
    if (s.frames) continue;
    SoundCall call = s.call;
    bool makes = call.kind == SoundCallKind::kCreate || call.kind == SoundCallKind::kDuplicate;
    bool onBuffer = call.kind != SoundCallKind::kSetVolume && call.kind != SoundCallKind::kSetMuted;
    if (!makes && onBuffer) call.buffer = as(call.buffer);
    if (call.kind == SoundCallKind::kDuplicate) call.value = as(call.value);
    call.format = call.kind == SoundCallKind::kCreate ? &s.format : nullptr;
    call.bytes = s.bytes.data();
    SoundBuffer result = ReplaySoundCall(call);
    if (!makes) {
      EXPECT_EQ(result, call.buffer);
      continue;
    }
    ASSERT_NE(result, 0u) << "call " << int(call.kind) << " made no buffer";
    made[s.call.buffer] = result;
  }
  ASSERT_TRUE(replayed == heard);
  size_t loud = 0;  // the session was not silent: the comparison compared sound
  for (int16_t v : heard) loud += std::abs(v) > 1000;
  EXPECT_GT(loud, heard.size() / 4);
}

}  // namespace
}  // namespace quillorn
