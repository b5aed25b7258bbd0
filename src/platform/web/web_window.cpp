// The web backend's window: the canvas, whose top strip is the menu bar and whose rest is the
// client area. The frame is composed in memory at its own size (the client picture, then an
// open drop-down or dialog over it, then the bar) and the changed part goes to the canvas
// with putImageData; the page scales the canvas by a whole number.
#include <emscripten.h>

#include <algorithm>

#include "platform/backend.h"
#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/web/web.h"
#include "platform/window/window_state.h"

namespace quillorn::platform {

namespace {

struct Overlay {
  bool shown = false;
  Surface pixels;
  Rect where;  // frame coordinates
};

struct WebWindow {
  bool exists = false;
  Surface frame;  // the whole canvas: bar above, client below
  int32_t barHeight = 0;
  Surface bar;
  Overlay dropDown;
  Overlay dialog;
  std::vector<uint32_t> rgba;  // the part being put on the canvas, as the canvas wants it
};

WebWindow g_web;

// clang-format off
EM_JS(void, PageCreateCanvas, (int width, int height), {
  quillornPage.createCanvas(width, height);
});
EM_JS(void, PagePutPixels, (const void* rgba, int width, int height, int x, int y), {
  quillornPage.putPixels(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height, x, y);
});
// clang-format on

Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

void CopyRect(Surface& dest, const Surface& src, int32_t srcX, int32_t srcY, const Rect& to) {
  for (int32_t y = to.top; y < to.bottom; ++y) {
    const Pixel* in = src.Row(y - to.top + srcY) + srcX;
    std::copy(in, in + (to.right - to.left), dest.Row(y) + to.left);
  }
}

void ComposeOverlay(const Overlay& o, const Rect& area) {
  if (!o.shown) return;
  Rect r = Intersect(area, o.where);
  if (RectEmpty(r)) return;
  CopyRect(g_web.frame, o.pixels, r.left - o.where.left, r.top - o.where.top, r);
}

// Puts area of the frame on the canvas: bytes red, green, blue, opaque alpha.
void Show(const Rect& area) {
  WebWindow& s = g_web;
  int32_t width = area.right - area.left, height = area.bottom - area.top;
  s.rgba.resize(size_t(width) * size_t(height));
  uint32_t* out = s.rgba.data();
  for (int32_t y = area.top; y < area.bottom; ++y) {
    const Pixel* in = s.frame.Row(y) + area.left;
    for (int32_t x = 0; x < width; ++x)
      *out++ = 0xFF000000u | (uint32_t(PixelBlue(in[x])) << 16) |
               (uint32_t(PixelGreen(in[x])) << 8) | PixelRed(in[x]);
  }
  PagePutPixels(s.rgba.data(), width, height, area.left, area.top);
}

// Brings the frame up to date inside area (frame coordinates) and shows that part.
void Compose(Rect area) {
  WebWindow& s = g_web;
  if (!s.exists) return;
  area = Intersect(area, {0, 0, s.frame.width, s.frame.height});
  if (RectEmpty(area)) return;
  const WindowState& w = Window();
  Rect r = Intersect(area, {0, s.barHeight, s.frame.width, s.frame.height});
  if (!RectEmpty(r) && w.picture.width == s.frame.width)
    CopyRect(s.frame, w.picture, r.left, r.top - s.barHeight, r);
  ComposeOverlay(s.dropDown, area);
  ComposeOverlay(s.dialog, area);
  Rect barArea = Intersect(area, {0, 0, s.frame.width, s.barHeight});
  if (!RectEmpty(barArea)) CopyRect(s.frame, s.bar, barArea.left, barArea.top, barArea);
  Show(area);
}

}  // namespace

namespace web {

void RedrawAll() {
  WebWindow& s = g_web;
  if (!s.exists) return;
  s.bar = MakeSurface(s.frame.width, s.barHeight);
  MenuBarDraw(s.bar);
  s.dropDown.shown = MenuBarDrawDropDown(s.dropDown.pixels, s.dropDown.where);
  s.dialog.shown = DialogDraw(s.dialog.pixels, s.dialog.where);
  if (s.dialog.shown) {
    s.dialog.where.top += s.barHeight;  // client to frame coordinates
    s.dialog.where.bottom += s.barHeight;
  }
  Compose({0, 0, s.frame.width, s.frame.height});
}

}  // namespace web

namespace backend {

bool CreateWindow(const WindowDesc& desc) {
  MenuBarLoad(desc.menuName);
  WebWindow& s = g_web;
  s.barHeight = MenuBarHeight();
  s.frame = MakeSurface(desc.clientWidth, desc.clientHeight + s.barHeight);
  PageCreateCanvas(s.frame.width, s.frame.height);
  s.exists = true;
  return true;
}

void ShowWindow() {
  web::RedrawAll();
  web::StartGamepads();
}

void DestroyWindow() {
  web::StopGamepads();
  g_web = WebWindow();
}

void Present(const Surface&, const Rect& dirty) {
  Compose({dirty.left, dirty.top + g_web.barHeight, dirty.right, dirty.bottom + g_web.barHeight});
}

void ChromeChanged() {
  web::RedrawAll();
}

}  // namespace backend

}  // namespace quillorn::platform
