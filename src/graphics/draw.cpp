// The drawing primitives every scene composes its frames with.
#include "graphics/graphics.h"
#include "platform/drawing/blit.h"
#include "platform/drawing/text.h"

namespace quillorn {

namespace {

using platform::RasterOp;

// Mask first (white keeps the destination, black clears it), then the sprite ORed in.
void DrawMasked(platform::Surface& dest, int32_t destX, int32_t destY, int32_t width,
                int32_t height, int32_t srcX, int32_t srcY) {
  platform::Blit(dest, destX, destY, width, height, SpriteSheet, srcX + kSheetMaskOffset, srcY,
                 RasterOp::kSrcAnd);
  platform::Blit(dest, destX, destY, width, height, SpriteSheet, srcX, srcY, RasterOp::kSrcPaint);
}

}  // namespace

void CopySheetToBack(int32_t destX, int32_t destY, int32_t width, int32_t height, int32_t srcX,
                     int32_t srcY) {
  platform::Blit(BackBuffer, destX, destY, width, height, SpriteSheet, srcX, srcY,
                 RasterOp::kSrcCopy);
}

void DrawSpriteToBack(int32_t destX, int32_t destY, int32_t width, int32_t height, int32_t srcX,
                      int32_t srcY) {
  DrawMasked(BackBuffer, destX, destY, width, height, srcX, srcY);
}

void DrawSheetToRoom(int32_t destX, int32_t destY, int32_t width, int32_t height, int32_t srcX,
                     int32_t srcY, int32_t masked) {
  if (masked != 0)
    DrawMasked(RoomBuffer, destX, destY, width, height, srcX, srcY);
  else
    platform::Blit(RoomBuffer, destX, destY, width, height, SpriteSheet, srcX, srcY,
                   RasterOp::kSrcCopy);
}

void CopyRoomToBack() {
  platform::Blit(BackBuffer, 0, 0, kFrameWidth, kFrameHeight, RoomBuffer, 0, 0, RasterOp::kSrcCopy);
}

int32_t DrawTextDoubled(int32_t x, int32_t y, const char* text) {
  platform::TextSize size = platform::MeasureText(text);
  // Without the font (the sheet was refused) no text is drawn, but the pen still moves.
  if (!MessageFont.exists) return 2 * size.width;
  // The text is drawn at its own size into the scratch square below the frame, then
  // enlarged into the frame; black scratch pixels leave the frame as it was.
  platform::Blit(BackBuffer, kScratchX, kScratchY, kScratchSize, kScratchSize, SpriteSheet,
                 kSheetBlackX, kSheetBlackY, RasterOp::kSrcCopy);
  platform::DrawText(BackBuffer, kScratchX + 1, kScratchY + 1, text, platform::kWhite);
  platform::StretchBlit(BackBuffer, x, y, 2, 2, BackBuffer, kScratchX, kScratchY, size.width + 3,
                        size.height + 3, RasterOp::kSrcPaint);
  return 2 * size.width;  // not the padded box: callers add the padding themselves
}

}  // namespace quillorn
