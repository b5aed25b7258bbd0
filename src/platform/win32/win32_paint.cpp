// Painting: the game's picture goes to the window from memory by SetDIBitsToDevice (or
// StretchDIBits at a larger scale), clipped by Windows to the invalid region; the beep strip
// below it the same way, at the end of each paint.
#include <algorithm>

#include "platform/cues/cue_strip.h"
#include "platform/surface.h"
#include "platform/win32/win32_window.h"

namespace quillorn::platform {

namespace {

using win32::Main;

PAINTSTRUCT g_paint;
bool g_painting = false;

}  // namespace

void InvalidateRect(const Rect* rect) {
  win32::MainWindow& w = Main();
  if (!w.hwnd) return;
  if (!rect) {
    ::InvalidateRect(w.hwnd, nullptr, FALSE);
    return;
  }
  Rect on = FrameToTarget(w.placement, *rect);
  RECT r{on.left, on.top, on.right, on.bottom};
  ::InvalidateRect(w.hwnd, &r, FALSE);
}

Rect BeginPaint() {
  win32::MainWindow& w = Main();
  if (!w.hwnd || g_painting) return {};
  ::BeginPaint(w.hwnd, &g_paint);
  g_painting = true;
  // The invalid box in the game's picture, rounded outwards.
  const FramePlacement& p = w.placement;
  const RECT& r = g_paint.rcPaint;
  int32_t k = p.scale;
  Rect box{(r.left - p.left) / k, (r.top - p.top) / k, (r.right - p.left + k - 1) / k,
           (r.bottom - p.top + k - 1) / k};
  box.left = std::max(box.left, 0);
  box.top = std::max(box.top, 0);
  box.right = std::min(box.right, w.clientWidth);
  box.bottom = std::min(box.bottom, w.clientHeight);
  return box;
}

namespace {

// Copies a part of src to the client area at (destX, destY) of the picture's frame, k times
// larger as the window is.
void Show(HDC dc, const Surface& src, int32_t srcX, int32_t srcY, int32_t width, int32_t height,
          int32_t destX, int32_t destY) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = src.width;
  info.bmiHeader.biHeight = -src.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;  // the top byte of a pixel is not looked at
  info.bmiHeader.biCompression = BI_RGB;
  const FramePlacement& p = Main().placement;
  int32_t k = p.scale;
  if (k == 1) {
    // Bottom-up numbering of source rows, as SetDIBitsToDevice counts them for any DIB.
    ::SetDIBitsToDevice(dc, p.left + destX, p.top + destY, DWORD(width), DWORD(height), srcX,
                        src.height - (srcY + height), 0, UINT(src.height), src.pixels.data(), &info,
                        DIB_RGB_COLORS);
  } else {
    ::SetStretchBltMode(dc, COLORONCOLOR);  // nearest neighbour: whole pixels repeated
    ::StretchDIBits(dc, p.left + destX * k, p.top + destY * k, width * k, height * k, srcX,
                    src.height - (srcY + height), width, height, src.pixels.data(), &info,
                    DIB_RGB_COLORS, SRCCOPY);
  }
}

}  // namespace

void PaintFromSurface(const Surface& src, int32_t srcX, int32_t srcY, int32_t width, int32_t height,
                      int32_t destX, int32_t destY) {
  if (!g_painting || src.pixels.empty()) return;
  // Clipped to the source; Windows clips to the invalid region.
  if (srcX < 0) width += srcX, destX -= srcX, srcX = 0;
  if (srcY < 0) height += srcY, destY -= srcY, srcY = 0;
  width = std::min(width, src.width - srcX);
  height = std::min(height, src.height - srcY);
  if (width <= 0 || height <= 0) return;
  // Never below the picture: that is the strip's.
  height = std::min(height, Main().clientHeight - destY);
  if (height <= 0) return;
  Show(g_paint.hdc, src, srcX, srcY, width, height, destX, destY);
}

namespace win32 {

void PaintStrip(HDC dc) {
  const MainWindow& w = Main();
  if (w.stripHeight == 0) return;
  Surface strip = MakeSurface(w.clientWidth, w.stripHeight);
  DrawCueStrip(strip);
  Show(dc, strip, 0, 0, strip.width, strip.height, 0, w.clientHeight);
}

}  // namespace win32

void EndPaint() {
  if (!g_painting) return;
  win32::PaintStrip(g_paint.hdc);
  ::EndPaint(Main().hwnd, &g_paint);
  g_painting = false;
}

}  // namespace quillorn::platform
