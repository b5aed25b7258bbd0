// Off-screen bitmaps in the one pixel format of the platform: 32 bits, 0xXXRRGGBB, where
// XX is red AND green AND blue, so that black has all bits clear and white all bits set.
// Masked drawing combines pixels bitwise and relies on that.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillorn::platform {

using Pixel = uint32_t;

constexpr Pixel MakePixel(uint8_t r, uint8_t g, uint8_t b) {
  return (Pixel(r & g & b) << 24) | (Pixel(r) << 16) | (Pixel(g) << 8) | Pixel(b);
}
constexpr uint8_t PixelRed(Pixel p) {
  return uint8_t(p >> 16);
}
constexpr uint8_t PixelGreen(Pixel p) {
  return uint8_t(p >> 8);
}
constexpr uint8_t PixelBlue(Pixel p) {
  return uint8_t(p);
}

constexpr Pixel kBlack = MakePixel(0, 0, 0);
constexpr Pixel kWhite = MakePixel(255, 255, 255);
static_assert(kBlack == 0u && kWhite == 0xFFFFFFFFu);

struct Surface {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<Pixel> pixels;  // row-major, top row first

  Pixel* Row(int32_t y) { return pixels.data() + size_t(y) * size_t(width); }
  const Pixel* Row(int32_t y) const { return pixels.data() + size_t(y) * size_t(width); }
};

// A new surface's contents are black.
inline Surface MakeSurface(int32_t width, int32_t height) {
  Surface s;
  s.width = width;
  s.height = height;
  s.pixels.assign(size_t(width) * size_t(height), kBlack);
  return s;
}

}  // namespace quillorn::platform
