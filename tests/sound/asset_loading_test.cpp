// The asset loader fills the five slots: the music, the beep and its second voice, the
// game-over jingle and the flower sparkle.
#include <gtest/gtest.h>

#include "shell/load_assets.h"
#include "sound_support.h"

namespace quillorn::soundtest {
namespace {

TEST_F(SoundTest, AssetLoaderFillsEverySlot) {
  // Output frames each slot's sound lasts at its recorded rate (to within a frame).
  constexpr size_t kLasts[5] = {960004, 1800, 1800, 67500, 43680};
  LoadAssets();
  for (int32_t slot = 0; slot < 5; ++slot) {
    PlaySoundSlot(slot, 0, 0);
    Mix mix = Render(kLasts[slot] + 100);
    StopAllSounds();
    EXPECT_GT(Rms(mix.left, 0, kLasts[slot]), 500) << slot;
    EXPECT_TRUE(Silent(mix.left, kLasts[slot] + 2)) << slot;
  }
  // Slot 2 is the beep itself.
  PlaySoundSlot(1, 0, 30000);
  Mix one = Render(1500);
  PlaySoundSlot(2, 0, 30000);
  EXPECT_EQ(Render(1500).left, one.left);
}

TEST_F(SoundTest, AssetLoaderWithoutTheMapLoadsNoSound) {
  headless::HideResource("MAP", "MAP");
  LoadAssets();
  for (int32_t slot = 0; slot < 5; ++slot) PlaySoundSlot(slot, 0, 0);
  EXPECT_TRUE(Silent(Render(4000).left));
}

}  // namespace
}  // namespace quillorn::soundtest
