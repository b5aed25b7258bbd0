// The web backend's window: the canvas, whose top strip is the menu bar, then the client area,
// then the beep strip while it is shown. The frame is composed in memory at its own size (the
// client picture, an open drop-down or dialog over it, the bar, the strip) and the changed
// part goes to the canvas with putImageData; the page scales the canvas by a whole number.
#include <emscripten.h>

#include <algorithm>

#include "platform/backend.h"
#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/chrome/window_frame.h"
#include "platform/settings/settings.h"
#include "platform/web/web.h"
#include "platform/window/window_state.h"

namespace quillorn::platform {

namespace {

struct WebWindow : WindowFrame {
  bool exists = false;
  int32_t clientWidth = 0, clientHeight = 0;
  std::vector<uint32_t> rgba;  // the part being put on the canvas, as the canvas wants it
};

WebWindow g_web;

// clang-format off
EM_JS(void, PageCreateCanvas, (int width, int height), {
  quillornCanvas.create(width, height);
});
EM_JS(void, PageResizeCanvas, (int width, int height), {
  quillornSettings.resizeCanvas(width, height);
});
EM_JS(void, PageSetScale, (int scale), { quillornSettings.setScale(scale); });
EM_JS(int, PageFullscreen, (), { return quillornSettings.fullscreen(); });
EM_JS(void, PageToggleFullscreenNow, (), { quillornCanvas.toggleFullscreen(); });
EM_JS(void, PageFullscreenAtFirstGesture, (), { quillornSettings.fullscreenAtFirstGesture(); });
EM_JS(void, PagePutPixels, (const void* rgba, int width, int height, int x, int y), {
  quillornCanvas.putPixels(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height, x, y);
});
// clang-format on

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
  area = IntersectRects(area, {0, 0, s.frame.width, s.frame.height});
  if (RectEmpty(area)) return;
  ComposeWindowFrame(s, area);
  Show(area);
}

}  // namespace

namespace web {

void RedrawAll() {
  WebWindow& s = g_web;
  if (!s.exists) return;
  RedrawChrome(s);
  Compose({0, 0, s.frame.width, s.frame.height});
}

Settings ApplySettings(const Settings& wanted, const Settings& before) {
  WebWindow& s = g_web;
  if (!s.exists) return wanted;
  if (SizeWindowFrame(s, s.clientWidth, s.clientHeight))
    PageResizeCanvas(s.frame.width, s.frame.height);
  if (wanted.scale != before.scale) PageSetScale(wanted.scale);
  // The page follows the browser's own fullscreen key too: only a change asks for one.
  if (wanted.fullscreen != bool(PageFullscreen())) PageToggleFullscreenNow();
  if (wanted.muted != before.muted) MuteSound(wanted.muted);
  MenuBarCheckSettings();
  RedrawAll();
  return wanted;
}

void StripChanged() {
  WebWindow& s = g_web;
  if (!s.exists || s.stripHeight == 0) return;
  RedrawStrip(s);
  Compose(StripArea(s));
}

}  // namespace web

namespace backend {

bool CreateWindow(const WindowDesc& desc) {
  MenuBarLoad(desc.menuName);
  WebWindow& s = g_web;
  s.clientWidth = desc.clientWidth;
  s.clientHeight = desc.clientHeight;
  SizeWindowFrame(s, s.clientWidth, s.clientHeight);
  PageCreateCanvas(s.frame.width, s.frame.height);
  PageSetScale(CurrentSettings().scale);
  if (CurrentSettings().fullscreen) PageFullscreenAtFirstGesture();
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
