// The whole window as the player sees it, composed in memory at its own size: the client
// picture, an open drop-down or dialog over it, the menu bar above. The SDL and web backends
// keep one each and show the parts that change, each in its own way.
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
  Surface frame;  // the whole window: bar above, client below
  int32_t barHeight = 0;
  Surface bar;
  FrameOverlay dropDown;
  FrameOverlay dialog;
};

Rect IntersectRects(const Rect& a, const Rect& b);

// Draws the bar and any open drop-down or dialog anew.
void RedrawChrome(WindowFrame& f);

// Brings the frame up to date inside area (frame coordinates) from the window's picture and
// the chrome.
void ComposeWindowFrame(WindowFrame& f, const Rect& area);

}  // namespace quillorn::platform
