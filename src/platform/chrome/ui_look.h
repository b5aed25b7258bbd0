// The look the platform's own menu bar and dialogs share: light system greys, a blue
// highlight, one-pixel frames.
#pragma once

#include <algorithm>

#include "platform/platform.h"
#include "platform/surface.h"

namespace quillorn::platform {

constexpr Pixel kFaceColor = MakePixel(240, 240, 240);    // bar and dialog background
constexpr Pixel kMenuColor = MakePixel(249, 249, 249);    // drop-down background
constexpr Pixel kEdgeColor = MakePixel(200, 200, 200);    // light lines and separators
constexpr Pixel kShadowColor = MakePixel(128, 128, 128);  // outer frames
constexpr Pixel kDarkColor = MakePixel(64, 64, 64);
constexpr Pixel kTextColor = MakePixel(0, 0, 0);
constexpr Pixel kHotColor = MakePixel(204, 232, 255);  // an open title on the bar
constexpr Pixel kHotEdgeColor = MakePixel(153, 209, 255);
constexpr Pixel kSelectColor = MakePixel(0, 120, 215);  // the highlighted entry
constexpr Pixel kSelectTextColor = MakePixel(255, 255, 255);
constexpr Pixel kCaptionColor = MakePixel(0, 84, 166);  // a dialog's title bar
constexpr Pixel kCaptionTextColor = MakePixel(255, 255, 255);
constexpr int32_t kFrameBorder = 1;

inline void FillBox(Surface& s, Rect r, Pixel color) {
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, s.width);
  r.bottom = std::min(r.bottom, s.height);
  if (r.left >= r.right) return;  // wholly left or right of the surface, or empty
  for (int32_t y = r.top; y < r.bottom; ++y)
    std::fill(s.Row(y) + r.left, s.Row(y) + r.right, color);
}

// A one-pixel outline just inside r.
inline void FrameBox(Surface& s, const Rect& r, Pixel color) {
  FillBox(s, {r.left, r.top, r.right, r.top + 1}, color);
  FillBox(s, {r.left, r.bottom - 1, r.right, r.bottom}, color);
  FillBox(s, {r.left, r.top, r.left + 1, r.bottom}, color);
  FillBox(s, {r.right - 1, r.top, r.right, r.bottom}, color);
}

}  // namespace quillorn::platform
