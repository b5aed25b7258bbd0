// The mixer's calls as records (what the page sends to the mixer of its audio worklet): a
// session of calls observed on one mixer and replayed on a fresh one, with the same blocks
// rendered between them, sounds the same sample for sample, and every buffer made again.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <variant>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"

namespace quillorn {
namespace {

using platform::SoundBuffer;
using platform::SoundCall;
using platform::SoundCallKind;
using platform::SoundFormat;
using platform::SoundGroup;

// A call as observed, with copies of what it pointed to.
struct Observed {
  SoundCall call;
  SoundFormat format;
  std::vector<uint8_t> bytes;
};
using Step = std::variant<Observed, size_t>;  // a call, or a block of frames rendered
std::vector<Step> g_steps;

void Record(const SoundCall& call) {
  Observed o{call, call.format ? *call.format : SoundFormat(), {}};
  if (call.bytes) o.bytes.assign(call.bytes, call.bytes + call.size);
  g_steps.push_back(o);
}

std::vector<int16_t> Render(size_t frames, bool record) {
  if (record) g_steps.push_back(frames);
  return headless::RenderAudio(frames);
}

// A tone of hz at rate: 16-bit stereo (left and right apart) or 8-bit mono.
std::vector<uint8_t> Tone(double hz, uint32_t rate, size_t frames, bool stereo) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < frames; ++i) {
    double v = std::sin(2 * M_PI * hz * double(i) / rate);
    if (!stereo) {
      out.push_back(uint8_t(128 + int(100 * v)));
      continue;
    }
    for (int16_t s : {int16_t(12000 * v), int16_t(-7000 * v)})
      out.push_back(uint8_t(uint16_t(s))), out.push_back(uint8_t(uint16_t(s) >> 8));
  }
  return out;
}

class ReplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset(), headless::ResetAudio();
    ASSERT_TRUE(platform::OpenAudio());
  }
  void TearDown() override {
    platform::ObserveSoundCalls(nullptr);
    headless::ResetAudio();
    g_steps.clear();
  }
};

TEST_F(ReplayTest, ASessionReplayedOnAFreshMixerSoundsTheSameAndMakesEveryBuffer) {
  using namespace platform;
  const SoundFormat mono{1, 1, 11025, 11025, 1, 8}, stereo{1, 2, 22050, 88200, 4, 16};
  const std::vector<uint8_t> low = Tone(220, 11025, 6000, false);
  const std::vector<uint8_t> high = Tone(660, 22050, 3000, true);
  std::vector<int16_t> heard;
  auto render = [&](size_t frames) {
    std::vector<int16_t> block = Render(frames, true);
    heard.insert(heard.end(), block.begin(), block.end());
  };

  ObserveSoundCalls(Record);
  SoundBuffer a = CreateSoundBuffer(mono, low.data(), low.size());
  SoundBuffer b = CreateSoundBuffer(stereo, high.data(), high.size());
  SoundBuffer c = DuplicateSoundBuffer(b);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(CreateSoundBuffer({1, 3, 22050, 0, 6, 16}, high.data(), high.size()), 0u);
  SetBufferGroup(a, SoundGroup::kMusic);
  PlayBuffer(a, true);
  PlayBuffer(b, false);
  render(3000);
  SetBufferRate(c, 33075);
  SetBufferRate(c, 5);  // refused: changes nothing
  PlayBuffer(c, false);
  SetGroupVolume(SoundGroup::kMusic, 4);
  render(2500);
  SetMuted(true);
  render(700);
  SetMuted(false);
  SetGroupVolume(SoundGroup::kEffects, 7);
  StopBuffer(b);
  PlayBuffer(b, true);
  render(4000);
  ReleaseBuffer(b);      // its duplicate plays on
  PlayBuffer(b, false);  // gone: nothing
  SoundBuffer d = DuplicateSoundBuffer(c);
  PlayBuffer(d, true);
  StopBuffer(a);
  render(5000);
  ObserveSoundCalls(nullptr);

  // Refused calls and calls on a gone buffer are not sent.
  size_t calls = 0;
  for (const Step& s : g_steps) calls += std::holds_alternative<Observed>(s);
  EXPECT_EQ(calls, 18u);

  const std::vector<Step> steps = g_steps;
  headless::ResetAudio();
  ASSERT_TRUE(OpenAudio());
  std::map<SoundBuffer, SoundBuffer> made;  // the first mixer's buffers as the second's
  auto as = [&](uint32_t buffer) { return made.count(buffer) ? made[buffer] : buffer; };
  std::vector<int16_t> replayed;
  for (const Step& s : steps) {
    if (const size_t* frames = std::get_if<size_t>(&s)) {
      std::vector<int16_t> block = Render(*frames, false);
      replayed.insert(replayed.end(), block.begin(), block.end());
      continue;
    }
    const Observed& o = std::get<Observed>(s);
    SoundCall call = o.call;
    bool makes = call.kind == SoundCallKind::kCreate || call.kind == SoundCallKind::kDuplicate;
    if (!makes && call.kind != SoundCallKind::kSetVolume && call.kind != SoundCallKind::kSetMuted)
      call.buffer = as(call.buffer);
    if (call.kind == SoundCallKind::kDuplicate) call.value = as(call.value);
    call.format = call.kind == SoundCallKind::kCreate ? &o.format : nullptr;
    call.bytes = o.bytes.data();
    SoundBuffer result = ReplaySoundCall(call);
    if (makes) {
      ASSERT_NE(result, 0u) << "call " << int(call.kind) << " made nothing";
      made[o.call.buffer] = result;
    } else {
      EXPECT_EQ(result, call.buffer);
    }
  }
  ASSERT_EQ(replayed.size(), heard.size());
  size_t differ = 0;
  for (size_t i = 0; i < heard.size(); ++i) differ += heard[i] != replayed[i];
  EXPECT_EQ(differ, 0u) << "of " << heard.size() << " samples";
  // The session was not silent: the comparison compared sound.
  size_t loud = 0;
  for (int16_t v : heard) loud += std::abs(v) > 1000;
  EXPECT_GT(loud, heard.size() / 4);
}

}  // namespace
}  // namespace quillorn
