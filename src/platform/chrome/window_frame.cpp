#include "platform/chrome/window_frame.h"

#include <algorithm>

#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/cues/cue_strip.h"
#include "platform/window/window_state.h"

namespace quillorn::platform {

namespace {

void CopyRect(Surface& dest, const Surface& src, int32_t srcX, int32_t srcY, const Rect& to) {
  for (int32_t y = to.top; y < to.bottom; ++y) {
    const Pixel* in = src.Row(y - to.top + srcY) + srcX;
    std::copy(in, in + (to.right - to.left), dest.Row(y) + to.left);
  }
}

void ComposeOverlay(Surface& frame, const FrameOverlay& o, const Rect& area) {
  if (!o.shown) return;
  Rect r = IntersectRects(area, o.where);
  r = IntersectRects(r, {0, 0, frame.width, frame.height});
  if (RectEmpty(r)) return;
  CopyRect(frame, o.pixels, r.left - o.where.left, r.top - o.where.top, r);
}

}  // namespace

Rect IntersectRects(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

bool SizeWindowFrame(WindowFrame& f, int32_t clientWidth, int32_t clientHeight) {
  f.barHeight = MenuBarHeight();
  f.stripHeight = CueStripHeight();
  const int32_t height = f.barHeight + clientHeight + f.stripHeight;
  if (f.frame.width == clientWidth && f.frame.height == height) return false;
  f.frame = MakeSurface(clientWidth, height);
  return true;
}

Rect StripArea(const WindowFrame& f) {
  return {0, f.frame.height - f.stripHeight, f.frame.width, f.frame.height};
}

void RedrawChrome(WindowFrame& f) {
  f.bar = MakeSurface(f.frame.width, f.barHeight);
  MenuBarDraw(f.bar);
  f.dropDown.shown = MenuBarDrawDropDown(f.dropDown.pixels, f.dropDown.where);
  f.submenu.shown = MenuBarDrawSubmenu(f.submenu.pixels, f.submenu.where);
  f.dialog.shown = DialogDraw(f.dialog.pixels, f.dialog.where);
  if (f.dialog.shown) {
    f.dialog.where.top += f.barHeight;  // client to frame coordinates
    f.dialog.where.bottom += f.barHeight;
  }
  RedrawStrip(f);
}

void RedrawStrip(WindowFrame& f) {
  f.strip = MakeSurface(f.frame.width, f.stripHeight);
  if (f.stripHeight > 0) DrawCueStrip(f.strip);
}

void ComposeWindowFrame(WindowFrame& f, const Rect& area) {
  const WindowState& w = Window();
  const Rect strip = StripArea(f);
  Rect r = IntersectRects(area, {0, f.barHeight, f.frame.width, strip.top});
  if (!RectEmpty(r) && w.picture.width == f.frame.width &&
      w.picture.height == strip.top - f.barHeight)
    CopyRect(f.frame, w.picture, r.left, r.top - f.barHeight, r);
  Rect s = IntersectRects(area, strip);
  if (!RectEmpty(s) && f.strip.height == f.stripHeight)
    CopyRect(f.frame, f.strip, s.left, s.top - strip.top, s);
  // The menu's boxes may reach down over the strip, as over the picture.
  ComposeOverlay(f.frame, f.dropDown, area);
  ComposeOverlay(f.frame, f.submenu, area);
  ComposeOverlay(f.frame, f.dialog, area);
  Rect barArea = IntersectRects(area, {0, 0, f.frame.width, f.barHeight});
  if (!RectEmpty(barArea)) CopyRect(f.frame, f.bar, barArea.left, barArea.top, barArea);
}

}  // namespace quillorn::platform
