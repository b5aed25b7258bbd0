// Sprite sheets built by the tests: device-independent bitmaps in the layout of the "PAT"
// resource, with a colour table whose every entry is a distinct colour (0 black, 255 white).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "graphics/graphics.h"
#include "platform/surface.h"

namespace quillorn::test {

struct Rgb {
  uint8_t r, g, b;
};

inline Rgb TableColor(int index) {
  if (index == 0) return {0, 0, 0};
  if (index == 255) return {255, 255, 255};
  return {uint8_t(index * 7 + 3), uint8_t(255 - index), uint8_t(index)};
}
inline platform::Pixel IndexPixel(int index) {
  Rgb c = TableColor(index);
  return platform::MakePixel(c.r, c.g, c.b);
}

struct DibShape {
  int32_t width = kSheetWidth;
  int32_t height = kSheetHeight;
  uint16_t bitCount = 8;
  uint32_t headerSize = 40;
};

// indexAt(x, y) gives the colour index of the picture's pixel, y counted from the top; the
// rows are stored bottom-up and padded to four bytes.
inline std::vector<uint8_t> MakeDib(const DibShape& shape,
                                    const std::function<uint8_t(int32_t, int32_t)>& indexAt) {
  auto put32 = [](std::vector<uint8_t>& v, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) v[at + size_t(i)] = uint8_t(value >> (8 * i));
  };
  size_t stride = shape.width > 0 ? (size_t(shape.width) + 3) & ~size_t(3) : 0;
  size_t rows = shape.height > 0 ? size_t(shape.height) : 0;
  std::vector<uint8_t> bytes(shape.headerSize + 1024 + stride * rows, 0);
  put32(bytes, 0, shape.headerSize);
  put32(bytes, 4, uint32_t(shape.width));
  put32(bytes, 8, uint32_t(shape.height));
  bytes[12] = 1;
  bytes[14] = uint8_t(shape.bitCount);
  bytes[15] = uint8_t(shape.bitCount >> 8);
  put32(bytes, 32, 256);
  for (int i = 0; i < 256; ++i) {
    Rgb c = TableColor(i);
    size_t at = shape.headerSize + 4 * size_t(i);
    bytes[at] = c.b;
    bytes[at + 1] = c.g;
    bytes[at + 2] = c.r;
  }
  size_t pixels = shape.headerSize + 1024;
  for (size_t stored = 0; stored < rows; ++stored)
    for (int32_t x = 0; x < shape.width; ++x)
      bytes[pixels + stored * stride + size_t(x)] = indexAt(x, int32_t(rows - 1 - stored));
  return bytes;
}

// The test sheet: tiles of varied colours, a 32 x 32 sprite at (0, 192) with its mask at
// (256, 192), an opaque 32 x 32 picture with black pixels at (32, 480), the black area at
// (512, 320), and colours elsewhere.
constexpr int32_t kSpriteX = 0, kSpriteY = 192;
constexpr int32_t kOpaqueX = 32, kOpaqueY = 480;

// Which sprite pixels the mask covers, and the sprite's colour there. The sprite's top-left
// 4 x 4 corner is black under a black mask.
inline bool SpriteCovers(int32_t x, int32_t y) {
  return (x + 2 * y) % 5 != 0;
}
inline uint8_t SpriteIndex(int32_t x, int32_t y) {
  if (x < 4 && y < 4) return 0;
  return uint8_t(10 + (x * 5 + y * 3) % 161);
}

inline uint8_t SheetIndex(int32_t x, int32_t y) {
  if (x >= 512 && y >= 320 && y < 480) return 0;
  if (y >= kSpriteY && y < kSpriteY + 32) {
    if (x >= kSpriteX && x < kSpriteX + 32) {
      int32_t sx = x - kSpriteX, sy = y - kSpriteY;
      return SpriteCovers(sx, sy) ? SpriteIndex(sx, sy) : 0;
    }
    int32_t mx = x - kSpriteX - kSheetMaskOffset;
    if (mx >= 0 && mx < 32) return SpriteCovers(mx, y - kSpriteY) ? 0 : 255;
  }
  if (y >= kOpaqueY && y < kOpaqueY + 32 && x >= kOpaqueX && x < kOpaqueX + 32)
    return (x + y) % 4 == 0 ? 0 : uint8_t(20 + (x + y) % 100);
  return uint8_t(10 + (x * 3 + y * 7) % 161);
}

inline std::vector<uint8_t> MakeTestSheet(const DibShape& shape = {}) {
  return MakeDib(shape, SheetIndex);
}

}  // namespace quillorn::test
