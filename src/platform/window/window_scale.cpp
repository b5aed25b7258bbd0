#include "platform/window/window_scale.h"

#include <algorithm>
#include <cmath>

namespace quillorn::platform {

namespace {

// Division rounding towards minus infinity: the border left of the frame maps below 0.
int32_t FloorDiv(int32_t a, int32_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

bool Fits(int32_t scale, int32_t width, int32_t height, int32_t areaWidth, int32_t areaHeight) {
  if (areaWidth <= 0 || areaHeight <= 0) return true;  // unknown: anything goes
  return width * scale <= areaWidth && height * scale <= areaHeight;
}

}  // namespace

int32_t FittingScale(int32_t width, int32_t height, int32_t areaWidth, int32_t areaHeight) {
  if (width <= 0 || height <= 0) return 1;
  return std::max<int32_t>(1, std::min(areaWidth / width, areaHeight / height));
}

int32_t WindowScaleThatFits(int32_t requested, int32_t width, int32_t height, int32_t usableWidth,
                            int32_t usableHeight) {
  int32_t scale = std::clamp<int32_t>(requested, 1, kMaxWindowScale);
  while (scale > 1 && !Fits(scale, width, height, usableWidth, usableHeight)) --scale;
  return scale;
}

int32_t StartScale(float dpi, int32_t width, int32_t height, int32_t usableWidth,
                   int32_t usableHeight) {
  if (!(dpi > 0.0f)) return 1;
  int32_t wanted = int32_t(std::min(std::floor(dpi / kPlainDpi + 0.5f), float(kMaxWindowScale)));
  return WindowScaleThatFits(wanted, width, height, usableWidth, usableHeight);
}

FramePlacement PlaceFrame(int32_t width, int32_t height, int32_t targetWidth,
                          int32_t targetHeight) {
  FramePlacement p;
  p.scale = FittingScale(width, height, targetWidth, targetHeight);
  p.left = std::max<int32_t>(0, (targetWidth - width * p.scale) / 2);
  p.top = std::max<int32_t>(0, (targetHeight - height * p.scale) / 2);
  return p;
}

void TargetToFrame(const FramePlacement& p, int32_t x, int32_t y, int32_t& frameX,
                   int32_t& frameY) {
  frameX = FloorDiv(x - p.left, p.scale);
  frameY = FloorDiv(y - p.top, p.scale);
}

Rect FrameToTarget(const FramePlacement& p, const Rect& area) {
  return {p.left + area.left * p.scale, p.top + area.top * p.scale, p.left + area.right * p.scale,
          p.top + area.bottom * p.scale};
}

void ScaleUp(const Surface& src, const Rect& area, int32_t scale, Surface& dest) {
  Rect r{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, src.width),
         std::min(area.bottom, src.height)};
  if (r.right <= r.left || r.bottom <= r.top) return;
  for (int32_t y = r.top; y < r.bottom; ++y) {
    const Pixel* in = src.Row(y);
    Pixel* first = dest.Row(y * scale);
    for (int32_t x = r.left; x < r.right; ++x) std::fill_n(first + x * scale, scale, in[x]);
    // The other rows of the block repeat the first.
    for (int32_t k = 1; k < scale; ++k)
      std::copy(first + r.left * scale, first + r.right * scale,
                dest.Row(y * scale + k) + r.left * scale);
  }
}

}  // namespace quillorn::platform
