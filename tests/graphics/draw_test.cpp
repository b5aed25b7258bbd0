// The drawing primitives: opaque and masked sheet copies, the room copy and doubled text.
#include <gtest/gtest.h>

#include "graphics/graphics_fixture.h"
#include "platform/text.h"

namespace quillorn::test {
namespace {

using platform::kBlack;
using platform::kWhite;
using platform::Pixel;
using platform::Surface;

// The pixel a masked draw of the test sprite gives over a background pixel.
Pixel MaskedSpritePixel(int32_t sx, int32_t sy, Pixel background) {
  return SpriteCovers(sx, sy) ? IndexPixel(SpriteIndex(sx, sy)) : background;
}

TEST_F(GraphicsTest, MaskedCopyShowsBackgroundAndExactSpriteColours) {
  PaintBackground(BackBuffer);
  DrawSpriteToBack(100, 60, 32, 32, kSpriteX, kSpriteY);
  int covered = 0, blackCovered = 0;
  for (int32_t y = 0; y < 552; ++y)
    for (int32_t x = 0; x < 480; ++x) {
      bool inside = x >= 100 && x < 132 && y >= 60 && y < 92;
      Pixel want =
          inside ? MaskedSpritePixel(x - 100, y - 60, BackgroundAt(x, y)) : BackgroundAt(x, y);
      ASSERT_EQ(BackBuffer.Row(y)[x], want) << x << "," << y;
      if (inside && SpriteCovers(x - 100, y - 60)) {
        ++covered;
        if (want == kBlack) ++blackCovered;
      }
    }
  EXPECT_GT(covered, 700);
  EXPECT_GE(blackCovered, 10);  // a black sprite pixel under black mask draws black
}

TEST_F(GraphicsTest, OpaqueCopiesOverwriteEverything) {
  PaintBackground(BackBuffer);
  CopySheetToBack(7, 9, 32, 32, kOpaqueX, kOpaqueY);
  PaintBackground(RoomBuffer);
  DrawSheetToRoom(440, 480, 32, 32, kOpaqueX, kOpaqueY, 0);
  int black = 0;
  for (int32_t j = 0; j < 32; ++j)
    for (int32_t i = 0; i < 32; ++i) {
      Pixel want = IndexPixel(SheetIndex(kOpaqueX + i, kOpaqueY + j));
      ASSERT_EQ(BackBuffer.Row(9 + j)[7 + i], want);
      ASSERT_EQ(RoomBuffer.Row(480 + j)[440 + i], want);
      black += want == kBlack;
    }
  EXPECT_GT(black, 100);  // black sheet pixels overwrite too
  EXPECT_EQ(BackBuffer.Row(8)[7], BackgroundAt(7, 8));
  EXPECT_EQ(BackBuffer.Row(9)[39], BackgroundAt(39, 9));
  EXPECT_EQ(RoomBuffer.Row(479)[440], BackgroundAt(440, 479));
}

TEST_F(GraphicsTest, MaskedCopyIntoTheRoom) {
  PaintBackground(RoomBuffer);
  const Surface back = BackBuffer;
  DrawSheetToRoom(64, 96, 32, 32, kSpriteX, kSpriteY, 1);
  for (int32_t y = 0; y < 512; ++y)
    for (int32_t x = 0; x < 480; ++x) {
      bool inside = x >= 64 && x < 96 && y >= 96 && y < 128;
      Pixel want =
          inside ? MaskedSpritePixel(x - 64, y - 96, BackgroundAt(x, y)) : BackgroundAt(x, y);
      ASSERT_EQ(RoomBuffer.Row(y)[x], want) << x << "," << y;
    }
  EXPECT_EQ(BackBuffer.pixels, back.pixels);  // the frame is not touched
}

TEST_F(GraphicsTest, SpritesAreClippedAtTheFrameEdges) {
  PaintBackground(BackBuffer);
  // Half off the left edge: the sprite's right half lands in columns 0-15.
  DrawSpriteToBack(-16, 200, 32, 32, kSpriteX, kSpriteY);
  for (int32_t y = 0; y < 552; ++y)
    for (int32_t x = 0; x < 480; ++x) {
      bool inside = x < 16 && y >= 200 && y < 232;
      Pixel want =
          inside ? MaskedSpritePixel(x + 16, y - 200, BackgroundAt(x, y)) : BackgroundAt(x, y);
      ASSERT_EQ(BackBuffer.Row(y)[x], want) << x << "," << y;
    }
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
  for (int32_t y = 0; y < 552; ++y)
    for (int32_t x = 0; x < 480; ++x)
      ASSERT_EQ(BackBuffer.Row(y)[x], y < 512 ? RoomBuffer.Row(y)[x] : BackgroundAt(x, y))
          << x << "," << y;
}

// Pixels of the frame (rows 0-511) that differ from a copy.
struct Changes {
  int count = 0;
  int32_t minX = 1 << 20, minY = 1 << 20, maxX = -1, maxY = -1;
};
Changes FrameChanges(const Surface& before) {
  Changes c;
  for (int32_t y = 0; y < 512; ++y)
    for (int32_t x = 0; x < 480; ++x) {
      if (BackBuffer.Row(y)[x] == before.Row(y)[x]) continue;
      ++c.count;
      c.minX = std::min(c.minX, x), c.maxX = std::max(c.maxX, x);
      c.minY = std::min(c.minY, y), c.maxY = std::max(c.maxY, y);
    }
  return c;
}

TEST_F(GraphicsTest, DoubledCharacterIsItsGlyphInTwoByTwoBlocks) {
  PaintBackground(BackBuffer);
  const Surface before = BackBuffer;
  EXPECT_EQ(DrawTextDoubled(100, 200, "漢"), 28);
  Surface glyph = platform::MakeSurface(14, 14);
  platform::DrawText(glyph, 0, 0, "漢", kWhite);
  // Each font pixel (i, j) is the 2 x 2 block at (x + 2 + 2i, y + 2 + 2j); the rest of the
  // 34 x 34 box, and all outside it, keep the frame's colours.
  for (int32_t y = 0; y < 512; ++y)
    for (int32_t x = 0; x < 480; ++x) {
      int32_t i = (x - 102) >> 1, j = (y - 202) >> 1;
      bool lit = x >= 102 && y >= 202 && i < 14 && j < 14 && glyph.Row(j)[i] == kWhite;
      ASSERT_EQ(BackBuffer.Row(y)[x], lit ? kWhite : before.Row(y)[x]) << x << "," << y;
    }
  Changes c = FrameChanges(before);
  EXPECT_GT(c.count, 4 * 40);
  EXPECT_GE(c.minX, 100);
  EXPECT_LT(c.maxX, 134);
  EXPECT_GE(c.minY, 200);
  EXPECT_LT(c.maxY, 234);
}

TEST_F(GraphicsTest, DoubledTextWidthsAndBoxes) {
  PaintBackground(BackBuffer);
  Surface before = BackBuffer;
  EXPECT_EQ(DrawTextDoubled(10, 10, "A"), 14);  // half-width: box 20 x 34
  Changes c = FrameChanges(before);
  EXPECT_GT(c.count, 0);
  EXPECT_GE(c.minX, 10);
  EXPECT_LT(c.maxX, 30);
  EXPECT_LT(c.maxY, 44);
  EXPECT_EQ(DrawTextDoubled(0, 100, "！"), 28);
  EXPECT_EQ(DrawTextDoubled(0, 100, "あな"), 56);
  EXPECT_EQ(DrawTextDoubled(0, 100, ""), 0);
  EXPECT_EQ(DrawTextDoubled(0, 100, "\x85\x40"), 28);  // no glyph: a box, full width
}

TEST_F(GraphicsTest, ScratchIsErasedBeforeEachText) {
  PaintBackground(BackBuffer);
  // A character leaves its glyph in the scratch square; a space drawn next lights nothing.
  EXPECT_EQ(DrawTextDoubled(100, 100, "漢"), 28);
  const Surface before = BackBuffer;
  EXPECT_EQ(DrawTextDoubled(300, 300, " "), 14);
  EXPECT_EQ(FrameChanges(before).count, 0);
  // The square is black again: nothing of the earlier glyph remains there.
  for (int32_t y = 516; y < 552; ++y)
    for (int32_t x = 0; x < 36; ++x) ASSERT_EQ(BackBuffer.Row(y)[x], kBlack) << x << "," << y;
  // The rest of the strip, and rows 512-515, are never erased.
  for (int32_t y = 512; y < 552; ++y)
    for (int32_t x = 36; x < 480; ++x)
      ASSERT_EQ(BackBuffer.Row(y)[x], BackgroundAt(x, y)) << x << "," << y;
  for (int32_t y = 512; y < 516; ++y)
    for (int32_t x = 0; x < 36; ++x) ASSERT_EQ(BackBuffer.Row(y)[x], BackgroundAt(x, y));
}

TEST_F(GraphicsTest, TypewriterSpacingMakesBoxesAbut) {
  // Consecutive characters at pen + w + 6: each box starts where the last one ended, so
  // every lit pixel of character k lies inside its own box.
  ClearBackBuffer();
  const char* chars[] = {"あ", "な", "た", "っ", "！", "A"};
  int32_t pen = 20;
  for (const char* ch : chars) {
    const Surface before = BackBuffer;
    int32_t w = DrawTextDoubled(pen, 50, ch);
    Changes c = FrameChanges(before);
    ASSERT_GT(c.count, 0) << ch;
    EXPECT_GE(c.minX, pen) << ch;
    EXPECT_LT(c.maxX, pen + w + 6) << ch;
    pen += w + 6;
  }
  EXPECT_EQ(pen, 20 + 5 * 34 + 20);
}

TEST(GraphicsDrawTest, WithoutSheetAndFontTextDrawsNothing) {
  headless::Reset();
  headless::HideResource("BITMAP", "PAT");
  ASSERT_EQ(InitGraphics(), 0);
  PaintBackground(BackBuffer);
  const Surface before = BackBuffer;
  EXPECT_EQ(DrawTextDoubled(10, 10, "あ"), 28);
  DrawSpriteToBack(0, 0, 32, 32, kSpriteX, kSpriteY);
  CopySheetToBack(0, 0, 32, 32, kOpaqueX, kOpaqueY);
  DrawSheetToRoom(0, 0, 32, 32, kSpriteX, kSpriteY, 1);
  for (int32_t y = 0; y < 552; ++y)
    for (int32_t x = 0; x < 480; ++x)
      ASSERT_EQ(BackBuffer.Row(y)[x], before.Row(y)[x]) << x << "," << y;
  FreeGraphics();
}

}  // namespace
}  // namespace quillorn::test
