// The beep strip: a band of the platform's own below the client area, there only while the
// player has asked to see the beep (「ピッを表示」). Each proximity beep is a pulse in its
// middle, drawn in the tick the beep sounds: the nearer the person, the larger and brighter.
// A voice and a tune get a small mark at either end. With no sound, nothing is drawn. The
// game's picture is never touched: the window grows by the strip.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/surface.h"

namespace quillorn::platform {

constexpr int32_t kCueStripHeight = 24;
constexpr int32_t kFarthestBeep = 19;  // the beep is heard from 1 to 19 tiles

// The strip's height below the client area: 0 while the beep is not shown.
int32_t CueStripHeight();

// A proximity beep's pulse, a bar centred in the strip. The tick after the beep it shows at
// half this brightness, the tick after that at a quarter, for as many ticks as the distance
// allows (1 at 1 tile, where the next beep comes two ticks later; 3 at most).
struct PulseLook {
  int32_t width = 0, height = 0;
  Pixel colour = kBlack;
};
PulseLook ProximityPulse(int32_t distance);
int32_t PulseTicks(int32_t distance);
// Where the marks of the other cues stand in a strip of that width.
Rect VoiceMark(int32_t stripWidth);
Rect TuneMark(int32_t stripWidth);
constexpr Pixel kStripLineColour = MakePixel(48, 48, 48);  // its top row, under the picture
constexpr Pixel kVoiceMarkColour = MakePixel(150, 190, 255);
constexpr Pixel kTuneMarkColour = MakePixel(255, 150, 190);

// After each timer tick: the pulse and the marks of earlier ticks fade and go.
void CueStripTick();
// Draws the strip as it stands into a surface kCueStripHeight high.
void DrawCueStrip(Surface& strip);
// Forgets every pulse and mark.
void ResetCueStrip();

}  // namespace quillorn::platform
