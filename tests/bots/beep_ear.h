// The listening bot's ear: it hears the game's mixed sound one tick at a time and tells
// when a proximity beep begins and, from its pitch, how far away the nearest person is.
#pragma once

#include <cstdint>
#include <vector>

namespace quillorn::bots {

class BeepEar {
 public:
  // Renders the sound of the tick that has just run (54 ms at the headless device's rate).
  // Returns the distance in tiles (1 to 19) told by a beep that began in it, or 0.
  int32_t HearTick();

  // The beep's pitch for a distance, and the distance for a pitch: the beep is a tone of
  // 1500 Hz recorded at 22050 frames a second and played at 36000 - 1800 n frames a second
  // (2000 from 19 tiles on).
  static double ToneHz(int32_t distance);
  static int32_t DistanceFor(double hz);

 private:
  double soundingHz_ = 0;  // pitch of the beep heard at the end of the last tick, 0: quiet
  int32_t quietRun_ = 1 << 20;
};

}  // namespace quillorn::bots
