// Copies between surfaces: the three raster operations, clipping and the integral stretch.
#include "platform/blit.h"

#include <gtest/gtest.h>

namespace quillorn::platform {
namespace {

Surface Pattern(int32_t w, int32_t h, uint32_t seed) {
  Surface s = MakeSurface(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      s.Row(y)[x] = (uint32_t(x) * 2654435761u) ^ (uint32_t(y) * 40503u) ^ seed;
  return s;
}

TEST(BlitTest, RasterOpsCombineBitwise) {
  Surface src = Pattern(8, 8, 0x1234);
  for (RasterOp op : {RasterOp::kSrcCopy, RasterOp::kSrcAnd, RasterOp::kSrcPaint}) {
    Surface dest = Pattern(10, 10, 0xABCD0000);
    const Surface before = dest;
    Blit(dest, 1, 2, 8, 8, src, 0, 0, op);
    for (int32_t y = 0; y < 10; ++y) {
      for (int32_t x = 0; x < 10; ++x) {
        Pixel d = before.Row(y)[x];
        Pixel want = d;
        if (x >= 1 && x < 9 && y >= 2 && y < 10) {
          Pixel s = src.Row(y - 2)[x - 1];
          want = op == RasterOp::kSrcCopy ? s : op == RasterOp::kSrcAnd ? (s & d) : (s | d);
        }
        ASSERT_EQ(dest.Row(y)[x], want) << "op " << uint32_t(op) << " at " << x << "," << y;
      }
    }
  }
  EXPECT_EQ(uint32_t(RasterOp::kSrcCopy), 0x00CC0020u);
  EXPECT_EQ(uint32_t(RasterOp::kSrcAnd), 0x008800C6u);
  EXPECT_EQ(uint32_t(RasterOp::kSrcPaint), 0x00EE0086u);
}

TEST(BlitTest, ClipsToDestinationAndSource) {
  Surface src = Pattern(16, 16, 7);
  Surface dest = MakeSurface(20, 20);
  // Hanging off the left and top: only the lower-right part lands, source offset kept.
  Blit(dest, -5, -3, 16, 16, src, 0, 0, RasterOp::kSrcCopy);
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 20; ++x) {
      Pixel want = (x < 11 && y < 13) ? src.Row(y + 3)[x + 5] : kBlack;
      ASSERT_EQ(dest.Row(y)[x], want) << x << "," << y;
    }
  // Hanging off the right and bottom of the destination.
  dest = MakeSurface(20, 20);
  Blit(dest, 15, 18, 16, 16, src, 0, 0, RasterOp::kSrcCopy);
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 20; ++x) {
      Pixel want = (x >= 15 && y >= 18) ? src.Row(y - 18)[x - 15] : kBlack;
      ASSERT_EQ(dest.Row(y)[x], want) << x << "," << y;
    }
  // A source rectangle reaching past the source's edges copies only what exists.
  dest = MakeSurface(20, 20);
  Blit(dest, 0, 0, 20, 20, src, 10, -4, RasterOp::kSrcCopy);
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 20; ++x) {
      Pixel want = (x < 6 && y >= 4) ? src.Row(y - 4)[x + 10] : kBlack;
      ASSERT_EQ(dest.Row(y)[x], want) << x << "," << y;
    }
}

TEST(BlitTest, NothingOutsideOrEmptyChangesAnything) {
  Surface src = Pattern(16, 16, 3);
  Surface dest = Pattern(20, 20, 9);
  const Surface before = dest;
  Blit(dest, 20, 0, 16, 16, src, 0, 0, RasterOp::kSrcCopy);
  Blit(dest, -16, 0, 16, 16, src, 0, 0, RasterOp::kSrcCopy);
  Blit(dest, 0, 20, 16, 16, src, 0, 0, RasterOp::kSrcCopy);
  Blit(dest, 0, -16, 16, 16, src, 0, 0, RasterOp::kSrcCopy);
  Blit(dest, 0, 0, 0, 16, src, 0, 0, RasterOp::kSrcCopy);
  Blit(dest, 0, 0, -5, -5, src, 0, 0, RasterOp::kSrcCopy);
  Blit(dest, 0, 0, 16, 16, src, 16, 0, RasterOp::kSrcCopy);
  Blit(dest, 0, 0, 16, 16, Surface{}, 0, 0, RasterOp::kSrcCopy);  // a null source
  Blit(dest, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, src, 0, 0, RasterOp::kSrcCopy);
  EXPECT_EQ(dest.pixels, before.pixels);
  Surface none;
  Blit(none, 0, 0, 16, 16, src, 0, 0, RasterOp::kSrcCopy);  // a null destination
  EXPECT_TRUE(none.pixels.empty());
}

TEST(BlitTest, OverlappingCopiesWithinOneSurface) {
  // Each direction of overlap reads every source pixel before it is overwritten.
  struct Move {
    int32_t dx, dy;
  };
  for (Move m : {Move{3, 0}, Move{-3, 0}, Move{0, 2}, Move{0, -2}, Move{2, 2}, Move{-2, -1}}) {
    for (RasterOp op : {RasterOp::kSrcCopy, RasterOp::kSrcPaint, RasterOp::kSrcAnd}) {
      Surface s = Pattern(16, 16, 5);
      const Surface before = s;
      Blit(s, 4 + m.dx, 4 + m.dy, 8, 8, s, 4, 4, op);
      for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x) {
          Pixel src = before.Row(4 + y)[4 + x];
          Pixel d = before.Row(4 + m.dy + y)[4 + m.dx + x];
          Pixel want = op == RasterOp::kSrcCopy  ? src
                       : op == RasterOp::kSrcAnd ? (src & d)
                                                 : (src | d);
          ASSERT_EQ(s.Row(4 + m.dy + y)[4 + m.dx + x], want)
              << "move " << m.dx << "," << m.dy << " op " << uint32_t(op);
        }
    }
  }
}

TEST(BlitTest, StretchMakesExactBlocks) {
  Surface src = Pattern(5, 4, 11);
  Surface dest = MakeSurface(30, 30);
  StretchBlit(dest, 2, 3, 3, 2, src, 0, 0, 5, 4, RasterOp::kSrcCopy);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 30; ++x) {
      bool inside = x >= 2 && x < 17 && y >= 3 && y < 11;
      Pixel want = inside ? src.Row((y - 3) / 2)[(x - 2) / 3] : kBlack;
      ASSERT_EQ(dest.Row(y)[x], want) << x << "," << y;
    }
}

TEST(BlitTest, StretchPaintsOverAndClips) {
  Surface src = MakeSurface(4, 4);
  src.Row(0)[0] = kWhite;
  src.Row(3)[3] = MakePixel(0, 0, 255);
  Surface dest = Pattern(10, 10, 0x01010101);
  const Surface before = dest;
  // Blocks hanging off the top-left: source pixel (0, 0)'s block lies wholly outside.
  StretchBlit(dest, -2, -2, 2, 2, src, 0, 0, 4, 4, RasterOp::kSrcPaint);
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 10; ++x) {
      Pixel want = before.Row(y)[x];
      if (x >= 4 && x < 6 && y >= 4 && y < 6) want |= MakePixel(0, 0, 255);
      ASSERT_EQ(dest.Row(y)[x], want) << x << "," << y;
    }
  // A block cut by the right edge keeps its visible column.
  Surface narrow = MakeSurface(5, 2);
  StretchBlit(narrow, 3, 0, 2, 2, src, 0, 0, 2, 1, RasterOp::kSrcCopy);
  EXPECT_EQ(narrow.Row(1)[3], kWhite);
  EXPECT_EQ(narrow.Row(1)[4], kWhite);
  EXPECT_EQ(narrow.Row(1)[2], kBlack);
}

TEST(BlitTest, StretchWithinOneSurface) {
  // The source strip below is enlarged into the area above, even where they overlap.
  Surface s = Pattern(12, 12, 21);
  const Surface before = s;
  StretchBlit(s, 0, 2, 2, 2, s, 0, 6, 6, 6, RasterOp::kSrcCopy);
  for (int32_t y = 2; y < 12; ++y)
    for (int32_t x = 0; x < 12; ++x)
      ASSERT_EQ(s.Row(y)[x], before.Row(6 + (y - 2) / 2)[x / 2]) << x << "," << y;
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 12; ++x) ASSERT_EQ(s.Row(y)[x], before.Row(y)[x]);
}

TEST(BlitTest, FillRectClips) {
  Surface s = Pattern(6, 6, 1);
  const Surface before = s;
  FillRect(s, -2, 4, 5, 10, kWhite);
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 6; ++x)
      ASSERT_EQ(s.Row(y)[x], (x < 3 && y >= 4) ? kWhite : before.Row(y)[x]);
}

}  // namespace
}  // namespace quillorn::platform
