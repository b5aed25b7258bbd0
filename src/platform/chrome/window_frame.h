// The whole window as the player sees it, composed in memory at its own size: the client
// picture, an open drop-down, submenu or dialog over it, the menu bar above, and the beep
// strip below while it is shown. The SDL, web and headless backends keep one each and show
// the parts that change, each in its own way.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "platform/surface.h"

namespace quillorn::platform {

struct FrameOverlay {
  bool shown = false;
  Surface pixels;
  Rect where;  // frame coordinates
};

struct WindowFrame {
  Surface frame;  // the whole window: bar above, client, strip below
  int32_t barHeight = 0;
  int32_t stripHeight = 0;
  Surface bar;
  Surface strip;
  FrameOverlay dropDown;
  FrameOverlay submenu;
  FrameOverlay dialog;
};

Rect IntersectRects(const Rect& a, const Rect& b);

// Sizes the frame for a client area of width x height with the bar and the strip as they now
// are; true when its size changed (the frame is then black until composed).
bool SizeWindowFrame(WindowFrame& f, int32_t clientWidth, int32_t clientHeight);
// The strip's rectangle in frame coordinates (empty when it is not shown).
Rect StripArea(const WindowFrame& f);

// Draws the bar and any open drop-down, submenu or dialog anew.
void RedrawChrome(WindowFrame& f);
// Draws the beep strip anew.
void RedrawStrip(WindowFrame& f);

// Brings the frame up to date inside area (frame coordinates) from the window's picture, the
// chrome and the strip.
void ComposeWindowFrame(WindowFrame& f, const Rect& area);

}  // namespace quillorn::platform
