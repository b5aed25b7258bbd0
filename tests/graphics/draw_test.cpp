// The drawing primitives: opaque and masked sheet copies, the room copy and doubled text.
#include <gtest/gtest.h>

#include "graphics/graphics_fixture.h"
#include "graphics/pixel_check.h"
#include "platform/drawing/text.h"

namespace quillorn::test {
namespace {

using platform::kBlack;
using platform::kWhite;
using platform::Pixel;
using platform::Surface;

// Every pixel of s: the test sprite drawn masked at (left, top) over the background.
void ExpectSpriteOverBackground(const Surface& s, int32_t left, int32_t top) {
  ExpectPixels(s, [&](int32_t x, int32_t y) {
    int32_t sx = x - left, sy = y - top;
    bool covered = sx >= 0 && sx < 32 && sy >= 0 && sy < 32 && SpriteCovers(sx, sy);
    return covered ? IndexPixel(SpriteIndex(sx, sy)) : BackgroundAt(x, y);
  });
}

TEST_F(GraphicsTest, MaskedCopiesShowTheBackgroundAndExactSpriteColours) {
  PaintBackground(BackBuffer);
  PaintBackground(RoomBuffer);
  const Surface room = RoomBuffer;
  DrawSpriteToBack(100, 60, 32, 32, kSpriteX, kSpriteY);
  ExpectSpriteOverBackground(BackBuffer, 100, 60);
  // Sprite pixel (0, 1) is black under a black mask: it draws black.
  EXPECT_EQ(BackBuffer.Row(61)[100], kBlack);
  EXPECT_EQ(RoomBuffer.pixels, room.pixels);
  const Surface back = BackBuffer;
  DrawSheetToRoom(64, 96, 32, 32, kSpriteX, kSpriteY, 1);
  ExpectSpriteOverBackground(RoomBuffer, 64, 96);
  EXPECT_EQ(BackBuffer.pixels, back.pixels);
}

TEST_F(GraphicsTest, OpaqueCopiesOverwriteEverything) {
  PaintBackground(BackBuffer);
  PaintBackground(RoomBuffer);
  CopySheetToBack(7, 9, 32, 32, kOpaqueX, kOpaqueY);
  DrawSheetToRoom(440, 480, 32, 32, kOpaqueX, kOpaqueY, 0);
  // The picture's black pixels overwrite too.
  auto opaqueAt = [](int32_t left, int32_t top) {
    return [=](int32_t x, int32_t y) {
      bool inside = x >= left && x < left + 32 && y >= top && y < top + 32;
      return inside ? IndexPixel(SheetIndex(kOpaqueX + x - left, kOpaqueY + y - top))
                    : BackgroundAt(x, y);
    };
  };
  ExpectPixels(BackBuffer, opaqueAt(7, 9));
  ExpectPixels(RoomBuffer, opaqueAt(440, 480));
  EXPECT_EQ(BackBuffer.Row(9 + 3)[7 + 1], kBlack);
}

TEST_F(GraphicsTest, SpritesAreClippedAtTheFrameEdges) {
  PaintBackground(BackBuffer);
  // Half off the left edge: the sprite's right half lands in columns 0-15.
  DrawSpriteToBack(-16, 200, 32, 32, kSpriteX, kSpriteY);
  ExpectSpriteOverBackground(BackBuffer, -16, 200);
  // Wholly outside: nothing changes.
  const Surface before = BackBuffer;
  DrawSpriteToBack(480, 0, 32, 32, kSpriteX, kSpriteY);
  DrawSpriteToBack(-32, 100, 32, 32, kSpriteX, kSpriteY);
  DrawSpriteToBack(100, -32, 32, 32, kSpriteX, kSpriteY);
  DrawSpriteToBack(100, 552, 32, 32, kSpriteX, kSpriteY);
  CopySheetToBack(-40, 0, 32, 32, kOpaqueX, kOpaqueY);
  CopySheetToBack(0, 600, 32, 32, kOpaqueX, kOpaqueY);
  EXPECT_EQ(BackBuffer.pixels, before.pixels);
}

TEST_F(GraphicsTest, CopyRoomToBackReplacesOnlyTheVisibleFrame) {
  PaintBackground(BackBuffer);
  for (int32_t y = 0; y < 512; ++y)
    for (int32_t x = 0; x < 480; ++x) RoomBuffer.Row(y)[x] = IndexPixel(10 + (x ^ y) % 161);
  CopyRoomToBack();
  ExpectPixels(BackBuffer, [](int32_t x, int32_t y) {
    return y < 512 ? RoomBuffer.Row(y)[x] : BackgroundAt(x, y);
  });
}

TEST_F(GraphicsTest, DoubledTextIsItsGlyphsInTwoByTwoBlocks) {
  const std::pair<const char*, int32_t> texts[] = {
      {"漢", 28},   {"A", 14}, {"！", 28},
      {"あな", 56}, {"", 0},   {"\x85\x40", 28},  // no glyph: a box
  };
  for (const auto& [text, width] : texts) {
    SCOPED_TRACE(width);
    PaintBackground(BackBuffer);
    const Surface before = BackBuffer;
    EXPECT_EQ(DrawTextDoubled(100, 200, text), width);
    Surface glyphs = platform::MakeSurface(28, 14);
    platform::DrawText(glyphs, 0, 0, text, kWhite);
    // Each font pixel (i, j) is the 2 x 2 block at (x + 2 + 2i, y + 2 + 2j); the rest of the
    // (2w + 6) x 34 box, and all outside it, keep the frame's colours.
    ExpectPixels(
        BackBuffer,
        [&](int32_t x, int32_t y) {
          int32_t i = (x - 102) >> 1, j = (y - 202) >> 1;
          bool lit = x >= 102 && y >= 202 && i < width / 2 && j < 14 && glyphs.Row(j)[i] == kWhite;
          return lit ? kWhite : before.Row(y)[x];
        },
        512);
  }
}

TEST_F(GraphicsTest, ScratchIsErasedBeforeEachText) {
  PaintBackground(BackBuffer);
  // A character leaves its glyph in the scratch square; a space drawn next lights nothing.
  EXPECT_EQ(DrawTextDoubled(100, 100, "漢"), 28);
  const Surface before = BackBuffer;
  EXPECT_EQ(DrawTextDoubled(300, 300, " "), 14);
  // The frame is unchanged. The square (36 x 36 from row 516) is black again; the rest of the
  // strip, and rows 512-515, are never erased.
  ExpectPixels(BackBuffer, [&](int32_t x, int32_t y) {
    return y >= 516 && x < 36 ? kBlack : y >= 512 ? BackgroundAt(x, y) : before.Row(y)[x];
  });
}

}  // namespace
}  // namespace quillorn::test
