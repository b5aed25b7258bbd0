// Copies between surfaces: the three raster operations, clipping and the integral stretch.
#include "platform/drawing/blit.h"

#include <gtest/gtest.h>

#include "graphics/pixel_check.h"

namespace quillorn::platform {
namespace {

using test::ExpectPixels;

constexpr RasterOp kOps[] = {RasterOp::kSrcCopy, RasterOp::kSrcAnd, RasterOp::kSrcPaint};

Surface Pattern(int32_t w, int32_t h, uint32_t seed) {
  Surface s = MakeSurface(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      s.Row(y)[x] = (uint32_t(x) * 2654435761u) ^ (uint32_t(y) * 40503u) ^ seed;
  return s;
}

Pixel Apply(RasterOp op, Pixel s, Pixel d) {
  return op == RasterOp::kSrcCopy ? s : op == RasterOp::kSrcAnd ? (s & d) : (s | d);
}

TEST(BlitTest, RasterOpsCombineBitwiseWithinTheClippedRectangle) {
  EXPECT_EQ(uint32_t(RasterOp::kSrcCopy), 0x00CC0020u);
  EXPECT_EQ(uint32_t(RasterOp::kSrcAnd), 0x008800C6u);
  EXPECT_EQ(uint32_t(RasterOp::kSrcPaint), 0x00EE0086u);
  const Surface src = Pattern(16, 16, 7);
  struct Case {
    int32_t dx, dy, w, h, sx, sy;
  };
  const Case cases[] = {
      {1, 2, 8, 8, 0, 0},      // inside
      {-5, -3, 16, 16, 0, 0},  // hanging off the left and top: the source offset is kept
      {15, 18, 16, 16, 0, 0},  // off the right and bottom
      {0, 0, 20, 20, 10, -4},  // reaching past the source's edges: only what exists
      {20, 0, 16, 16, 0, 0},   // wholly outside or empty: nothing
      {-16, 0, 16, 16, 0, 0}, {0, 20, 16, 16, 0, 0}, {0, -16, 16, 16, 0, 0},
      {0, 0, 0, 16, 0, 0},    {0, 0, -5, -5, 0, 0},  {0, 0, 16, 16, 16, 0},
  };
  for (const Case& c : cases) {
    for (RasterOp op : kOps) {
      SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy << " op " << uint32_t(op));
      Surface dest = Pattern(20, 20, 0xABCD0000);
      const Surface before = dest;
      Blit(dest, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy, op);
      ExpectPixels(dest, [&](int32_t x, int32_t y) {
        int32_t sx = x - c.dx + c.sx, sy = y - c.dy + c.sy;
        bool inside = x >= c.dx && x < c.dx + c.w && y >= c.dy && y < c.dy + c.h && sx >= 0 &&
                      sx < 16 && sy >= 0 && sy < 16;
        return inside ? Apply(op, src.Row(sy)[sx], before.Row(y)[x]) : before.Row(y)[x];
      });
    }
  }
}

TEST(BlitTest, NullSurfacesAndExtremeArgumentsChangeNothing) {
  Surface src = Pattern(16, 16, 3);
  Surface dest = Pattern(20, 20, 9);
  const Surface before = dest;
  Blit(dest, 0, 0, 16, 16, Surface{}, 0, 0, RasterOp::kSrcCopy);
  Blit(dest, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, src, 0, 0, RasterOp::kSrcCopy);
  StretchBlit(dest, INT32_MAX, INT32_MIN, 2, 2, src, 0, 0, 16, 16, RasterOp::kSrcCopy);
  EXPECT_EQ(dest.pixels, before.pixels);
  Surface none;
  Blit(none, 0, 0, 16, 16, src, 0, 0, RasterOp::kSrcCopy);
  EXPECT_TRUE(none.pixels.empty());
}

TEST(BlitTest, OverlappingCopiesWithinOneSurface) {
  // Each direction of overlap reads every source pixel before it is overwritten.
  struct Move {
    int32_t dx, dy;
  };
  for (Move m : {Move{3, 0}, Move{-3, 0}, Move{0, 2}, Move{0, -2}, Move{2, 2}, Move{-2, -1}}) {
    for (RasterOp op : kOps) {
      SCOPED_TRACE(testing::Message() << "move " << m.dx << "," << m.dy << " op " << uint32_t(op));
      Surface s = Pattern(16, 16, 5);
      const Surface before = s;
      Blit(s, 4 + m.dx, 4 + m.dy, 8, 8, s, 4, 4, op);
      ExpectPixels(s, [&](int32_t x, int32_t y) {
        int32_t i = x - 4 - m.dx, j = y - 4 - m.dy;
        bool inside = i >= 0 && i < 8 && j >= 0 && j < 8;
        return inside ? Apply(op, before.Row(4 + j)[4 + i], before.Row(y)[x]) : before.Row(y)[x];
      });
    }
  }
}

TEST(BlitTest, StretchMakesExactBlocks) {
  Surface src = Pattern(5, 4, 11);
  Surface dest = Pattern(30, 30, 1);
  const Surface before = dest;
  StretchBlit(dest, 2, 3, 3, 2, src, 0, 0, 5, 4, RasterOp::kSrcCopy);
  ExpectPixels(dest, [&](int32_t x, int32_t y) {
    bool inside = x >= 2 && x < 17 && y >= 3 && y < 11;
    return inside ? src.Row((y - 3) / 2)[(x - 2) / 3] : before.Row(y)[x];
  });
}

TEST(BlitTest, StretchPaintsOverAndClips) {
  Surface src = MakeSurface(4, 4);
  src.Row(0)[0] = kWhite;
  src.Row(3)[3] = MakePixel(0, 0, 255);
  Surface dest = Pattern(10, 10, 0x01010101);
  const Surface before = dest;
  // Blocks hanging off the top-left: source pixel (0, 0)'s block lies wholly outside.
  StretchBlit(dest, -2, -2, 2, 2, src, 0, 0, 4, 4, RasterOp::kSrcPaint);
  ExpectPixels(dest, [&](int32_t x, int32_t y) {
    bool blue = x >= 4 && x < 6 && y >= 4 && y < 6;
    return before.Row(y)[x] | (blue ? MakePixel(0, 0, 255) : 0);
  });
  // A block cut by the right edge keeps its visible column.
  Surface narrow = MakeSurface(5, 2);
  StretchBlit(narrow, 3, 0, 2, 2, src, 0, 0, 2, 1, RasterOp::kSrcCopy);
  ExpectPixels(narrow, [](int32_t x, int32_t) { return x >= 3 ? kWhite : kBlack; });
}

TEST(BlitTest, StretchWithinOneSurface) {
  // The source strip below is enlarged into the area above, even where they overlap.
  Surface s = Pattern(12, 12, 21);
  const Surface before = s;
  StretchBlit(s, 0, 2, 2, 2, s, 0, 6, 6, 6, RasterOp::kSrcCopy);
  ExpectPixels(s, [&](int32_t x, int32_t y) {
    return y < 2 ? before.Row(y)[x] : before.Row(6 + (y - 2) / 2)[x / 2];
  });
}

TEST(BlitTest, FillRectClips) {
  Surface s = Pattern(6, 6, 1);
  const Surface before = s;
  FillRect(s, -2, 4, 5, 10, kWhite);
  ExpectPixels(s,
               [&](int32_t x, int32_t y) { return x < 3 && y >= 4 ? kWhite : before.Row(y)[x]; });
}

}  // namespace
}  // namespace quillorn::platform
