// A test sprite sheet (a DIB laid out like "PAT", every colour-table entry distinct), a
// headless window, and a whole-surface comparison.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "graphics/graphics.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace quillorn::test {

using platform::kBlack;
using platform::kWhite;
using platform::Pixel;
using platform::Surface;

inline Pixel IndexPixel(int i) {
  return i == 0     ? kBlack
         : i == 255 ? kWhite
                    : platform::MakePixel(uint8_t(i * 7 + 3), uint8_t(255 - i), uint8_t(i));
}

struct DibShape {
  int32_t width = kSheetWidth, height = kSheetHeight;
  uint16_t bitCount = 8;
  uint32_t headerSize = 40;
};

// indexAt(x, y) gives the colour index at (x, y) from the top; rows are stored bottom-up,
// padded to four bytes.
inline std::vector<uint8_t> MakeDib(const DibShape& shape,
                                    const std::function<uint8_t(int32_t, int32_t)>& indexAt) {
  auto put32 = [](std::vector<uint8_t>& v, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) v[at + size_t(i)] = uint8_t(value >> (8 * i));
  };
  size_t stride = shape.width > 0 ? (size_t(shape.width) + 3) & ~size_t(3) : 0;
  size_t rows = shape.height > 0 ? size_t(shape.height) : 0, pixels = shape.headerSize + 1024;
  std::vector<uint8_t> bytes(pixels + stride * rows, 0);
  put32(bytes, 0, shape.headerSize), put32(bytes, 4, uint32_t(shape.width));
  put32(bytes, 8, uint32_t(shape.height)), put32(bytes, 32, 256);
  bytes[12] = 1, bytes[14] = uint8_t(shape.bitCount), bytes[15] = uint8_t(shape.bitCount >> 8);
  for (int i = 0; i < 256; ++i)
    put32(bytes, shape.headerSize + 4 * size_t(i), IndexPixel(i) & 0xFFFFFF);
  for (size_t stored = 0; stored < rows; ++stored)
    for (int32_t x = 0; x < shape.width; ++x)
      bytes[pixels + stored * stride + size_t(x)] = indexAt(x, int32_t(rows - 1 - stored));
  return bytes;
}

// The test sheet: a 32 x 32 sprite at (0, 192) with its mask at (256, 192), black under its
// clear pixels and in its top-left corner; the black area at (512, 320); colours elsewhere.
constexpr int32_t kSpriteX = 0, kSpriteY = 192;
inline bool SpriteCovers(int32_t x, int32_t y) {
  return (x + 2 * y) % 5 != 0;
}
inline uint8_t SheetIndex(int32_t x, int32_t y) {
  if (x >= 512 && y >= 320 && y < 480) return 0;
  int32_t sy = y - kSpriteY, sx = x % kSheetMaskOffset;
  if (sy >= 0 && sy < 32 && sx < 32 && x < 2 * kSheetMaskOffset) {
    bool covers = SpriteCovers(sx, sy), corner = sx < 4 && sy < 4;
    return x >= kSheetMaskOffset ? (covers ? 0 : 255)
           : covers && !corner   ? 10 + (sx * 5 + sy * 3) % 161
                                 : 0;
  }
  return uint8_t(x % 7 == 0 ? 0 : 10 + (x * 3 + y * 7) % 161);
}

// A colour that depends on the place, never black or white.
inline Pixel BackgroundAt(int32_t x, int32_t y) {
  return platform::MakePixel(uint8_t(40 + x % 100), uint8_t(30 + y % 150), 77);
}
inline void PaintBackground(Surface& s) {
  for (int32_t y = 0; y < s.height; ++y)
    for (int32_t x = 0; x < s.width; ++x) s.Row(y)[x] = BackgroundAt(x, y);
}

inline void ExpectPixels(const Surface& s, const std::function<Pixel(int32_t, int32_t)>& want,
                         int32_t rows = -1) {
  for (int32_t y = 0; y < (rows < 0 ? s.height : rows); ++y)
    for (int32_t x = 0; x < s.width; ++x) ASSERT_EQ(s.Row(y)[x], want(x, y)) << x << "," << y;
}

// A headless window of the given client size and the graphics made from a sheet.
inline void OpenWithSheet(std::vector<uint8_t> sheet, int32_t height = kFrameHeight) {
  FreeGraphics();
  headless::Reset();
  platform::WindowDesc desc;
  desc.className = desc.title = "QuillornGraphicsTest";
  desc.clientWidth = kFrameWidth, desc.clientHeight = height;
  desc.proc = platform::DefWindowProc;
  ASSERT_TRUE(platform::CreateMainWindow(desc));
  headless::OverrideResource("BITMAP", "PAT", std::move(sheet));
}

}  // namespace quillorn::test
