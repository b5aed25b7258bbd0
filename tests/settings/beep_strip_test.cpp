// What the options change, measured on the composed window: the pulse of the beep strip and
// the rumble's calls in the tick each beep sounds, at every distance, with or without a sound
// device; the game's picture the same whatever the options; the sound device resting while
// nothing sounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "game_driver.h"
#include "platform/audio/audio.h"
#include "platform/audio/audio_rest.h"
#include "platform/chrome/menu_bar.h"
#include "platform/cues/cue_strip.h"
#include "platform/headless/headless_audio.h"
#include "platform/settings/settings.h"
#include "shell/main_window.h"

namespace quillorn::test {
namespace {

using namespace platform;

// The pulse in the strip of the composed window: its width and the colour at its middle.
struct Pulse {
  int32_t width = 0;
  Pixel colour = kBlack;
  bool operator==(const Pulse&) const = default;
};
Pulse StripPulse() {
  const Surface& f = headless::WindowFrame();
  EXPECT_EQ(f.height, kMenuBarHeight + 512 + kCueStripHeight);
  const Pixel* row = f.Row(f.height - kCueStripHeight + kCueStripHeight / 2);
  int32_t left = -1, right = -1;
  for (int32_t x = 12; x < f.width - 12; ++x)
    if (row[x] != kBlack) right = x, left = left < 0 ? x : left;
  if (left < 0) return {};
  return {right - left + 1, row[(left + right) / 2]};
}
Pulse Whole(int32_t distance) {
  const PulseLook look = ProximityPulse(distance);
  return {look.width, look.colour};
}

// The king on (1, 1) of the first room, standing; one person distance tiles away.
void StandAtDistance(int32_t distance) {
  PutKing(currentRoom, 1, 1);
  const int32_t dx = std::min(distance, 14);
  SetPeople({{3, 1 + dx, 1 + distance - dx}});
}

// The pulse, and the rumble when it is on, in the tick of each beep and in no other: 60 ms,
// stronger the nearer.
TEST(BeepStrip, ThePulseAndTheRumbleComeInTheTickEachBeepSoundsAtEveryDistanceAndNeverWithout) {
  for (int32_t d = 1; d <= kFarthestBeep; ++d) {
    SCOPED_TRACE(d);
    StartNewGame();
    headless::Command(kCmdVisualBeep);
    headless::Command(kCmdRumble);
    StandAtDistance(d);
    size_t beeps = 0;
    for (int tick = 0; tick < 3 * (d + 1); ++tick) {
      const uint32_t starts = SoundSlotStarts(1);
      headless::Tick();
      const bool beeped = SoundSlotStarts(1) != starts;
      beeps += beeped;
      if (beeped) {
        EXPECT_EQ(SoundSlotRate(1), d == 19 ? 2000u : 36000u - 1800u * uint32_t(d));
        ASSERT_EQ(headless::RumbleCalls().size(), beeps);
        const headless::RumbleCall& r = headless::RumbleCalls().back();
        EXPECT_TRUE(r.at == GetTickCount() && r.ms == 60u && r.strength == float(20 - d) / 19);
      }
      EXPECT_EQ(StripPulse() == Whole(d), beeped) << "tick " << tick;
    }
    EXPECT_GE(beeps, 2u);
    EXPECT_EQ(headless::RumbleCalls().size(), beeps);
  }
  // Larger and brighter the nearer.
  for (int32_t d = 2; d <= kFarthestBeep; ++d) {
    const PulseLook nearer = ProximityPulse(d - 1), farther = ProximityPulse(d);
    EXPECT_GT(nearer.width, farther.width);
    EXPECT_GT(nearer.height, farther.height);
    EXPECT_GT(PixelRed(nearer.colour) + PixelGreen(nearer.colour),
              PixelRed(farther.colour) + PixelGreen(farther.colour));
  }
}

// A player without sound hardware, or with the sound off, sees the same: a beep every
// distance + 1 ticks.
TEST(BeepStrip, WithoutASoundDeviceOrMutedThePulseKeepsTheBeepsRhythm) {
  for (bool device : {false, true}) {
    for (int32_t d : {1, 4, 11, 19}) {
      SCOPED_TRACE(testing::Message() << "device " << device << ", distance " << d);
      headless::Reset(1000);
      if (!device) headless::MakeFail(headless::Failure::kSoundDevice);
      ASSERT_TRUE(StartUp());
      headless::SetActive(true);
      headless::Tick(2);
      Press(kKeyReturn);
      if (device) headless::KeyDownWith('M', true);
      headless::Command(kCmdVisualBeep);
      StandAtDistance(d);
      std::vector<int> at;
      for (int tick = 0; tick < 4 * (d + 1); ++tick) {
        headless::Tick();
        if (StripPulse() == Whole(d)) at.push_back(tick);
      }
      ASSERT_GE(at.size(), 3u);
      for (size_t i = 1; i < at.size(); ++i) EXPECT_EQ(at[i] - at[i - 1], d + 1);
    }
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
      // The window's frame holds the picture whole, under the bar, whatever is below it.
      const Surface& f = headless::WindowFrame();
      for (int32_t y = 0; y < 512; ++y)
        EXPECT_EQ(std::memcmp(f.Row(kMenuBarHeight + y), headless::WindowPicture().Row(y), 480 * 4),
                  0);
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

TEST(Options, TheGamesPictureIsTodaysWhateverTheyAreAndOffTheWindowIsTheBarOverThePicture) {
  const auto today = PicturesOfAGame([] {});
  // All options off: the window is 480 x 532, the menu bar as drawn over the picture.
  const Surface& f = headless::WindowFrame();
  ASSERT_EQ(std::vector<int32_t>({f.width, f.height}), std::vector<int32_t>({480, 532}));
  Surface bar = MakeSurface(480, kMenuBarHeight);
  MenuBarDraw(bar);
  for (int32_t y = 0; y < kMenuBarHeight; ++y)
    EXPECT_EQ(std::memcmp(f.Row(y), bar.Row(y), 480 * 4), 0) << y;
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

// The survey's voices, and a beep with the rumble off, ask the controller for nothing.
TEST(Rumble, OnlyAProximityBeepAsksForIt) {
  StartNewGame();
  headless::Command(kCmdRumble);
  Press(kKeyReturn);
  headless::Tick(40);
  headless::Command(kCmdRumble);
  StandAtDistance(3);
  headless::Tick(12);
  EXPECT_GE(SoundSlotStarts(1), 3u);
  EXPECT_TRUE(headless::RumbleCalls().empty());
}

int32_t Peak(const std::vector<int16_t>& samples) {
  int32_t peak = 0;
  for (int16_t s : samples) peak = std::max(peak, std::abs(int32_t(s)));
  return peak;
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
  EXPECT_GT(Peak(headless::RenderAudio(480)), 8000);
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
