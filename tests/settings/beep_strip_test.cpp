// What the options change, measured on the composed window: the pulse of the beep strip and
// the rumble's calls in the tick each beep sounds, at every distance, with or without a sound
// device; the game's picture the same whatever the options; the sound device resting while
// nothing sounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "frames.h"
#include "game_driver.h"
#include "platform/audio/audio.h"
#include "platform/audio/audio_rest.h"
#include "platform/headless/headless_audio.h"
#include "platform/settings/settings.h"

namespace quillorn::test {
namespace {

using namespace platform;

// The king on (1, 1) of the first room, standing; one person distance tiles away.
void StandAtDistance(int32_t distance) {
  PutKing(currentRoom, 1, 1);
  const int32_t dx = std::min(distance, 14);
  SetPeople({{3, 1 + dx, 1 + distance - dx}});
}

// The pulse, and the rumble when it is on (60 ms, stronger the nearer), in the tick of each
// beep and in no other, at every distance; without a sound device or muted, the same at the
// beep's rhythm (muted, with the rumble off: no rumble). The pulse is larger and brighter the
// nearer.
TEST(BeepStrip, ThePulseAndTheRumbleComeInTheTickOfEachBeepAtEveryDistanceWithOrWithoutSound) {
  enum { kSound, kNoDevice, kMuted };
  for (int sound : {kSound, kNoDevice, kMuted})
    for (int32_t d = 1; d <= kFarthestBeep; ++d) {
      SCOPED_TRACE(testing::Message() << "sound " << sound << ", distance " << d);
      StartNewGame(
          1000, sound != kNoDevice ? nullptr
                                   : +[] { headless::MakeFail(headless::Failure::kSoundDevice); });
      if (sound == kMuted) headless::KeyDownWith('M', true);
      headless::Command(kCmdVisualBeep);
      if (sound != kMuted) headless::Command(kCmdRumble);
      StandAtDistance(d);
      std::vector<int> pulses;  // the ticks that showed one
      for (int tick = 0; tick < 3 * (d + 1); ++tick) {
        const uint32_t starts = SoundSlotStarts(1);
        headless::Tick();
        const bool pulse = PulseDistance(headless::WindowFrame()) == d;
        const bool beeped = SoundSlotStarts(1) != starts;
        EXPECT_TRUE(pulse == beeped || sound != kSound) << "tick " << tick;
        if (!pulse) continue;
        pulses.push_back(tick);
        ASSERT_EQ(headless::RumbleCalls().size(), sound == kMuted ? 0 : pulses.size());
        if (sound == kMuted) continue;
        const headless::RumbleCall& r = headless::RumbleCalls().back();
        EXPECT_TRUE(r.at == GetTickCount() && r.ms == 60u && r.strength == float(20 - d) / 19);
      }
      EXPECT_EQ(headless::RumbleCalls().size(), sound == kMuted ? 0 : pulses.size());
      ASSERT_GE(pulses.size(), 2u);
      for (size_t i = 1; i < pulses.size(); ++i) EXPECT_EQ(pulses[i] - pulses[i - 1], d + 1);
      const PulseLook nearer = ProximityPulse(d - 1), farther = ProximityPulse(d);
      EXPECT_TRUE(d == 1 || (nearer.width > farther.width && nearer.height > farther.height &&
                             PixelRed(nearer.colour) + PixelGreen(nearer.colour) >
                                 PixelRed(farther.colour) + PixelGreen(farther.colour)));
    }
}

// One game's keys, the same each time: a walk, a survey, more walking and E.
std::vector<std::vector<Pixel>> PicturesOfAGame(void (*options)()) {
  StartNewGame(4242);
  options();
  std::vector<std::vector<Pixel>> pictures;
  const auto tick = [&](int n) {
    for (int i = 0; i < n; ++i) {
      headless::Tick();
      pictures.push_back(headless::WindowPicture().pixels);
      // The window's frame is its parts: the bar, the picture whole, the strip while shown.
      EXPECT_TRUE(headless::WindowFrame().pixels == ComposedFrame().pixels) << pictures.size();
    }
  };
  for (uint32_t key : {kKeyDown, kKeyUp, kKeyUp, kKeyUp, kKeyLeft, kKeyRight, kKeyRight}) {
    headless::KeyDown(key);
    tick(1);
    headless::KeyUp(key);
    tick(12);
    if (key == kKeyUp) Press(kKeyReturn), tick(40), Press(kKeyReturn), tick(3);
  }
  Press(kKeyE);
  tick(5);
  return pictures;
}

TEST(Options, TheGamesPictureIsTodaysWhateverTheyAreAndTheWindowIsItsPartsComposed) {
  const auto today = PicturesOfAGame([] {});
  // All options off: the window is 480 x 532, the menu bar over the picture.
  const Surface& f = headless::WindowFrame();
  ASSERT_EQ(std::vector<int32_t>({f.width, f.height}), std::vector<int32_t>({480, 532}));
  const auto withAll = PicturesOfAGame([] {
    for (uint32_t id : {uint32_t(kCmdVisualBeep), uint32_t(kCmdRumble), kCmdMusicVolume + 3u,
                        kCmdEffectsVolume + 8u})
      headless::Command(id);
    headless::KeyDownWith('M', true);
  });
  EXPECT_EQ(headless::WindowFrame().height, 532 + kCueStripHeight);
  ASSERT_EQ(withAll.size(), today.size());
  for (size_t i = 0; i < today.size(); ++i) EXPECT_TRUE(withAll[i] == today[i]) << "tick " << i;
}

size_t Count(const char* event) {
  const auto& e = headless::Events();
  return size_t(std::count(e.begin(), e.end(), std::string(event)));
}

TEST(SoundDevice, RestsAfterAWhileOfSilenceOrMutedAndWakesForTheNextSound) {
  StartAtTitle();
  headless::Tick(kQuietTicks - 3);
  EXPECT_EQ(Count("rest-audio"), 0u);
  headless::Tick(1);
  EXPECT_EQ(Count("rest-audio"), 1u);  // the title is silent
  Press(kKeyDown);
  EXPECT_EQ(Count("wake-audio"), 1u);  // at once, in the key's own handling
  const std::vector<int16_t> beep = headless::RenderAudio(480);
  EXPECT_GT(*std::max_element(beep.begin(), beep.end()), 8000);
  headless::Tick(kQuietTicks);
  EXPECT_EQ(Count("rest-audio"), 1u);  // still sounding: the beep lasts 27 ms
  headless::RenderAudio(48000);
  headless::Tick(kQuietTicks);
  EXPECT_EQ(Count("rest-audio"), 2u);
  // A beep every 20 ticks, the farthest there is, keeps it awake between two beeps.
  StartNewGame();
  SetPeople({{3, 14, 15}});  // 19 tiles from the king on (7, 3)
  for (int i = 0; i < 100; ++i) headless::RenderAudio(2592), headless::Tick();
  EXPECT_EQ(Count("rest-audio"), 0u);
  // Muted, a sound does not wake it; it rests after the same while.
  headless::KeyDownWith('M', true);
  headless::Tick(kQuietTicks);
  EXPECT_EQ(Count("rest-audio"), 1u);
  headless::Tick(60);
  EXPECT_EQ(Count("wake-audio"), 0u);
  headless::KeyDownWith('M', true);
  EXPECT_EQ(Count("wake-audio"), 1u);  // a beep stood waiting
}

}  // namespace
}  // namespace quillorn::test
