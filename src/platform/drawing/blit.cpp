#include "platform/drawing/blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quillorn::platform {

namespace {

// One row of a raster operation; count pixels from src into dest.
void CombineRow(Pixel* dest, const Pixel* src, int32_t count, RasterOp op) {
  switch (op) {
    case RasterOp::kSrcCopy:
      std::memmove(dest, src, size_t(count) * sizeof(Pixel));
      break;
    case RasterOp::kSrcAnd:
      for (int32_t i = 0; i < count; ++i) dest[i] &= src[i];
      break;
    case RasterOp::kSrcPaint:
      for (int32_t i = 0; i < count; ++i) dest[i] |= src[i];
      break;
  }
}

}  // namespace

void Blit(Surface& dest, int32_t destX, int32_t destY, int32_t width, int32_t height,
          const Surface& src, int32_t srcX, int32_t srcY, RasterOp op) {
  // Work in 64 bits so that extreme arguments cannot overflow while clipping.
  int64_t dx = destX, dy = destY, sx = srcX, sy = srcY, w = width, h = height;
  int64_t cut = std::max({int64_t(0), -dx, -sx});
  dx += cut, sx += cut, w -= cut;
  cut = std::max({int64_t(0), -dy, -sy});
  dy += cut, sy += cut, h -= cut;
  w = std::min({w, int64_t(dest.width) - dx, int64_t(src.width) - sx});
  h = std::min({h, int64_t(dest.height) - dy, int64_t(src.height) - sy});
  if (w <= 0 || h <= 0) return;

  const int32_t cw = int32_t(w), ch = int32_t(h);
  const int32_t cdx = int32_t(dx), cdy = int32_t(dy), csx = int32_t(sx), csy = int32_t(sy);
  // Within one surface, walk the rows bottom-up when the source lies above the
  // destination, so that no source row is overwritten before it is read; memmove and
  // the in-place AND/OR keep each row correct when only columns overlap.
  bool upward = &dest == &src && csy < cdy;
  if (&dest == &src && csy == cdy && op != RasterOp::kSrcCopy && csx < cdx) {
    // Same rows, source to the left: combine from a copy of the source row.
    std::vector<Pixel> row(static_cast<size_t>(cw));
    for (int32_t j = 0; j < ch; ++j) {
      std::memcpy(row.data(), src.Row(csy + j) + csx, size_t(cw) * sizeof(Pixel));
      CombineRow(dest.Row(cdy + j) + cdx, row.data(), cw, op);
    }
    return;
  }
  for (int32_t k = 0; k < ch; ++k) {
    int32_t j = upward ? ch - 1 - k : k;
    CombineRow(dest.Row(cdy + j) + cdx, src.Row(csy + j) + csx, cw, op);
  }
}

void StretchBlit(Surface& dest, int32_t destX, int32_t destY, int32_t scaleX, int32_t scaleY,
                 const Surface& src, int32_t srcX, int32_t srcY, int32_t srcWidth,
                 int32_t srcHeight, RasterOp op) {
  if (scaleX < 1 || scaleY < 1) return;
  // Clip the source rectangle to the source surface first; the blocks keep their places.
  int64_t sx0 = std::max<int64_t>(srcX, 0), sy0 = std::max<int64_t>(srcY, 0);
  int64_t sx1 = std::min<int64_t>(int64_t(srcX) + srcWidth, src.width);
  int64_t sy1 = std::min<int64_t>(int64_t(srcY) + srcHeight, src.height);
  if (sx0 >= sx1 || sy0 >= sy1) return;
  // Destination span covered by those source pixels, clipped to the destination.
  int64_t dx0 = int64_t(destX) + (sx0 - srcX) * scaleX;
  int64_t dy0 = int64_t(destY) + (sy0 - srcY) * scaleY;
  int64_t dx1 = int64_t(destX) + (sx1 - srcX) * scaleX;
  int64_t dy1 = int64_t(destY) + (sy1 - srcY) * scaleY;
  int64_t cx0 = std::max<int64_t>(dx0, 0), cy0 = std::max<int64_t>(dy0, 0);
  int64_t cx1 = std::min<int64_t>(dx1, dest.width), cy1 = std::min<int64_t>(dy1, dest.height);
  if (cx0 >= cx1 || cy0 >= cy1) return;

  // Within one surface the source rectangle is read out first, so that blocks written
  // early cannot change source pixels read later.
  const Surface* from = &src;
  Surface copy;
  if (&dest == &src) {
    copy = MakeSurface(int32_t(sx1 - sx0), int32_t(sy1 - sy0));
    Blit(copy, 0, 0, copy.width, copy.height, src, int32_t(sx0), int32_t(sy0), RasterOp::kSrcCopy);
    from = &copy;
    sx0 = 0, sy0 = 0;
  }

  const int32_t outWidth = int32_t(cx1 - cx0);
  std::vector<Pixel> wide(static_cast<size_t>(outWidth));
  int64_t lastSrcRow = -1;
  for (int64_t y = cy0; y < cy1; ++y) {
    int64_t srcRow = sy0 + (y - dy0) / scaleY;
    if (srcRow != lastSrcRow) {
      const Pixel* in = from->Row(int32_t(srcRow));
      for (int32_t i = 0; i < outWidth; ++i) wide[size_t(i)] = in[sx0 + (cx0 + i - dx0) / scaleX];
      lastSrcRow = srcRow;
    }
    CombineRow(dest.Row(int32_t(y)) + cx0, wide.data(), outWidth, op);
  }
}

void FillRect(Surface& dest, int32_t x, int32_t y, int32_t width, int32_t height, Pixel value) {
  int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
  int64_t x1 = std::min<int64_t>(int64_t(x) + width, dest.width);
  int64_t y1 = std::min<int64_t>(int64_t(y) + height, dest.height);
  for (int64_t row = y0; row < y1; ++row)
    std::fill(dest.Row(int32_t(row)) + x0, dest.Row(int32_t(row)) + x1, value);
}

}  // namespace quillorn::platform
