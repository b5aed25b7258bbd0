// Copies between surfaces, combining each source pixel with the destination pixel by one
// of three bitwise raster operations. Every copy is clipped to both surfaces: only pixels
// whose source and destination both lie inside their surfaces are touched. Nothing is
// kept between calls.
#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace quillorn::platform {

// Codes as the classic graphics interface numbers them.
enum class RasterOp : uint32_t {
  kSrcCopy = 0x00CC0020,   // dest = src
  kSrcAnd = 0x008800C6,    // dest = src & dest
  kSrcPaint = 0x00EE0086,  // dest = src | dest
};

// Copies width x height pixels from src at (srcX, srcY) to dest at (destX, destY). Source
// and destination may be the same surface, even with overlapping rectangles.
void Blit(Surface& dest, int32_t destX, int32_t destY, int32_t width, int32_t height,
          const Surface& src, int32_t srcX, int32_t srcY, RasterOp op);

// Exact integral enlargement: every source pixel of the srcWidth x srcHeight rectangle at
// (srcX, srcY) becomes a scaleX x scaleY block, the block of source pixel (i, j) at
// (destX + i * scaleX, destY + j * scaleY). No smoothing. Scales below 1 draw nothing.
void StretchBlit(Surface& dest, int32_t destX, int32_t destY, int32_t scaleX, int32_t scaleY,
                 const Surface& src, int32_t srcX, int32_t srcY, int32_t srcWidth,
                 int32_t srcHeight, RasterOp op);

// Sets the rectangle to one pixel value, clipped to the surface.
void FillRect(Surface& dest, int32_t x, int32_t y, int32_t width, int32_t height, Pixel value);

}  // namespace quillorn::platform
