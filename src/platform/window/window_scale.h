// Whole-number scales of the window. The frame (menu bar and client area) is always composed
// at its own size and shown k times larger by repeating pixels, so the game, the menu bar and
// the dialogs never learn the scale and stay sharp at every one.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/surface.h"

namespace quillorn::platform {

constexpr int32_t kMaxWindowScale = 3;
constexpr float kPlainDpi = 96.0f;  // the screen density at which the window is meant to be 1x

// Where the frame goes on a target of some size: k times larger, its top-left corner at
// (left, top) of the target.
struct FramePlacement {
  int32_t scale = 1;
  int32_t left = 0;
  int32_t top = 0;
};

// The largest whole scale (at least 1) at which a width x height frame fits an area.
int32_t FittingScale(int32_t width, int32_t height, int32_t areaWidth, int32_t areaHeight);

// The requested scale (clamped to 1..kMaxWindowScale), lowered until the window fits the
// usable area of its screen; an unknown area (0) lowers nothing.
int32_t WindowScaleThatFits(int32_t requested, int32_t width, int32_t height, int32_t usableWidth,
                            int32_t usableHeight);

// The scale the window starts at on a screen of dpi dots per inch: the one that keeps it
// closest to its size at 96 dpi (halves round up), so 144 dpi and above starts at 2x and
// 240 dpi and above at 3x. An unknown density (0 or less) starts at 1x.
int32_t StartScale(float dpi, int32_t width, int32_t height, int32_t usableWidth,
                   int32_t usableHeight);

// The frame on a target: the largest whole scale that fits, centred, the rest left black.
// In a window of exactly k times the frame's size this is scale k at (0, 0).
FramePlacement PlaceFrame(int32_t width, int32_t height, int32_t targetWidth, int32_t targetHeight);

// A target position (the mouse) as a frame position; positions in the black border fall
// outside the frame (negative or beyond its size).
void TargetToFrame(const FramePlacement& p, int32_t x, int32_t y, int32_t& frameX, int32_t& frameY);

// The area of the frame as it appears on the target.
Rect FrameToTarget(const FramePlacement& p, const Rect& area);

// Copies area of src into dest (sized scale times src) with every pixel repeated into a
// scale x scale block: nearest neighbour, nothing blended.
void ScaleUp(const Surface& src, const Rect& area, int32_t scale, Surface& dest);

}  // namespace quillorn::platform
