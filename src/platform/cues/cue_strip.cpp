// The sounds the game reports, turned into the beep strip's pulse and marks and into the
// controller's rumble, as far as the player has asked for them.
#include "platform/cues/cue_strip.h"

#include <algorithm>

#include "platform/chrome/ui_look.h"
#include "platform/settings/settings.h"
#include "platform/settings/settings_backend.h"

namespace quillorn::platform {

namespace {

constexpr uint32_t kRumbleMs = 60;  // shorter than the quickest beeps' 108 ms apart

// A pulse or a mark: shown from its cue until its last tick; fresh until the end of the tick
// it came in, so that it is whole in that tick's frame.
struct Shown {
  bool on = false, fresh = false;
  int32_t age = 0, ticks = 1;
};

struct Strip {
  Shown pulse, voice, tune;
  int32_t distance = 0;
};
Strip g_strip;

void Start(Shown& s, int32_t ticks) {
  s = {true, true, 0, ticks};
}

// One tick on: true when the look changed.
bool Age(Shown& s) {
  if (!s.on) return false;
  if (s.fresh) {
    s.fresh = false;
    return false;
  }
  if (++s.age >= s.ticks) s.on = false;
  return true;
}

Pixel Dimmed(Pixel p, int32_t age) {
  return MakePixel(uint8_t(PixelRed(p) >> age), uint8_t(PixelGreen(p) >> age),
                   uint8_t(PixelBlue(p) >> age));
}

}  // namespace

int32_t CueStripHeight() {
  return CurrentSettings().visualBeep ? kCueStripHeight : 0;
}

PulseLook ProximityPulse(int32_t distance) {
  const int32_t near = kFarthestBeep - std::clamp(distance, 1, kFarthestBeep);  // 0 to 18
  const int32_t level = 95 + near * 160 / 18;                                   // 95 to 255
  return {16 + 24 * near, 4 + near,
          MakePixel(uint8_t(level), uint8_t(level * 13 / 16), uint8_t(level * 3 / 8))};
}

int32_t PulseTicks(int32_t distance) {
  return std::clamp(distance, 1, 3);
}

Rect VoiceMark(int32_t) {
  return {2, 9, 8, 15};
}
Rect TuneMark(int32_t stripWidth) {
  return {stripWidth - 8, 9, stripWidth - 2, 15};
}

void ShowSoundCue(SoundCue cue, int32_t distance) {
  const Settings& s = CurrentSettings();
  distance = std::clamp(distance, 1, kFarthestBeep);
  if (cue == SoundCue::kProximityBeep && s.rumble)
    settings_backend::Rumble(float(kFarthestBeep + 1 - distance) / kFarthestBeep, kRumbleMs);
  if (!s.visualBeep) return;
  switch (cue) {
    case SoundCue::kProximityBeep:
      Start(g_strip.pulse, PulseTicks(distance));
      g_strip.distance = distance;
      break;
    case SoundCue::kVoice:
      Start(g_strip.voice, 1);
      break;
    case SoundCue::kTune:
      Start(g_strip.tune, 1);
      break;
  }
  settings_backend::CueStripChanged();
}

void CueStripTick() {
  bool changed = Age(g_strip.pulse);
  changed = Age(g_strip.voice) || changed;
  changed = Age(g_strip.tune) || changed;
  if (changed && CueStripHeight() > 0) settings_backend::CueStripChanged();
}

void DrawCueStrip(Surface& strip) {
  FillBox(strip, {0, 0, strip.width, strip.height}, kBlack);
  FillBox(strip, {0, 0, strip.width, 1}, kStripLineColour);
  const int32_t middle = 1 + (kCueStripHeight - 1) / 2;
  if (g_strip.pulse.on) {
    const PulseLook look = ProximityPulse(g_strip.distance);
    const int32_t left = (strip.width - look.width) / 2, top = middle - look.height / 2;
    FillBox(strip, {left, top, left + look.width, top + look.height},
            Dimmed(look.colour, g_strip.pulse.age));
  }
  if (g_strip.voice.on) FillBox(strip, VoiceMark(strip.width), kVoiceMarkColour);
  if (g_strip.tune.on) FillBox(strip, TuneMark(strip.width), kTuneMarkColour);
}

void ResetCueStrip() {
  g_strip = Strip();
}

}  // namespace quillorn::platform
