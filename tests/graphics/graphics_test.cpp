// The graphics objects made from the sheet resource, the refusal of bad sheets, the drawing
// primitives and doubled text (each compared over the whole surface), and painting.
#include <gtest/gtest.h>

#include "graphics_support.h"
#include "platform/drawing/text.h"

namespace quillorn::test {
namespace {

TEST(Graphics, TheSheetIsReadThroughItsColourTableBottomRowFirst) {
  for (auto [shape, index] :
       {std::pair{DibShape{}, &SheetIndex},
        // 3 x 2: each row padded; a colour table after a longer header
        {DibShape{3, 2, 8, 56}, [](int32_t x, int32_t y) { return uint8_t(10 + x + 3 * y); }}}) {
    OpenWithSheet(MakeDib(shape, index));
    ASSERT_EQ(InitGraphics(), 1);
    ExpectPixels(SpriteSheet, [&](int32_t x, int32_t y) { return IndexPixel(index(x, y)); });
    EXPECT_EQ(std::pair(SpriteSheet.width, SpriteSheet.height),
              std::pair(shape.width, shape.height));
  }
  EXPECT_EQ(std::pair(BackBuffer.width, BackBuffer.height), std::pair(480, 552));
  EXPECT_EQ(std::pair(RoomBuffer.width, RoomBuffer.height), std::pair(480, 512));
  EXPECT_TRUE(MessageFont.exists && MessageFont.height == 14 && MessageFont.charSet == 128);
  for (int i = 0; i < 256; ++i) {  // entries 10-245 from the table, the reserved ones zero
    const PaletteEntry& e = GamePalette.entries[i];
    Pixel want = i >= 10 && i <= 245 ? IndexPixel(i) & 0xFFFFFF : 0;
    EXPECT_EQ(platform::MakePixel(e.red, e.green, e.blue) & 0xFFFFFF, want) << i;
    EXPECT_EQ(e.flags, i >= 10 && i <= 245 ? 4 : 0) << i;
  }
}

TEST(Graphics, RefusedSheetsLeaveOnlyTheBuffersAndNothingIsDrawn) {
  std::vector<uint8_t> full = MakeDib({}, SheetIndex), huge = MakeDib({16, 16}, SheetIndex);
  for (int at : {4, 5, 6, 8, 9, 10}) huge[size_t(at)] = 0xFF;  // 2^31 - 1 by 2^31 - 1
  huge[7] = huge[11] = 0x7F;
  const std::vector<uint8_t> cases[] = {MakeDib({.bitCount = 4}, SheetIndex),
                                        MakeDib({.bitCount = 24}, SheetIndex),
                                        {full.begin(), full.end() - 1},
                                        {full.begin(), full.begin() + 39},
                                        {},
                                        MakeDib({.width = 0}, SheetIndex),
                                        MakeDib({.height = 0}, SheetIndex),
                                        MakeDib({.width = -640}, SheetIndex),
                                        MakeDib({.height = -704}, SheetIndex),
                                        MakeDib({.headerSize = 12}, SheetIndex),
                                        MakeDib({.width = 0, .headerSize = 12}, SheetIndex),
                                        huge};
  for (const std::vector<uint8_t>& bytes : cases) {
    SCOPED_TRACE(&bytes - cases);
    OpenWithSheet(full);
    ASSERT_EQ(InitGraphics(), 1);
    headless::OverrideResource("BITMAP", "PAT", bytes);
    EXPECT_EQ(InitGraphics(), 0);  // after a success: no stale sheet, palette or font
    EXPECT_TRUE(SurfaceExists(BackBuffer) && SurfaceExists(RoomBuffer));
    EXPECT_FALSE(SurfaceExists(SpriteSheet) || GamePalette.exists || MessageFont.exists);
    PaintBackground(BackBuffer);
    const Surface before = BackBuffer;
    EXPECT_EQ(DrawTextDoubled(10, 10, "あ"), 28);  // the pen still moves
    DrawSpriteToBack(0, 0, 32, 32, kSpriteX, kSpriteY);
    CopySheetToBack(0, 0, 32, 32, 40, 40);
    EXPECT_EQ(BackBuffer.pixels, before.pixels);
    FreeGraphics();
    EXPECT_FALSE(SurfaceExists(BackBuffer) || SurfaceExists(RoomBuffer));
    CopyRoomToBack(), ClearBackBuffer(), PaintWindow();  // harmless once freed
  }
}

// Draws the sheet's 32 x 32 block at (sx, sy) into ref at (left, top) the way the primitives
// must: masked, only the pixels the mask covers; opaque, every pixel.
void Put(Surface& ref, int32_t left, int32_t top, int32_t sx, int32_t sy, bool masked) {
  for (int32_t j = 0; j < 32; ++j)
    for (int32_t i = 0; i < 32; ++i)
      if (left + i >= 0 && left + i < ref.width && top + j >= 0 && top + j < ref.height &&
          (!masked || SheetIndex(sx + i + kSheetMaskOffset, sy + j) == 0))
        ref.Row(top + j)[left + i] = IndexPixel(SheetIndex(sx + i, sy + j));
}

TEST(Graphics, ThePrimitivesComposeTheFrameExactly) {
  OpenWithSheet(MakeDib({}, SheetIndex));
  ASSERT_EQ(InitGraphics(), 1);
  PaintBackground(BackBuffer), PaintBackground(RoomBuffer);
  Surface room = RoomBuffer, back = BackBuffer;
  DrawSheetToRoom(64, 96, 32, 32, kSpriteX, kSpriteY, 1);
  DrawSheetToRoom(460, 490, 32, 32, 100, 40, 0);
  Put(room, 64, 96, kSpriteX, kSpriteY, true), Put(room, 460, 490, 100, 40, false);
  ExpectPixels(RoomBuffer, [&](int32_t x, int32_t y) { return room.Row(y)[x]; });
  EXPECT_EQ(BackBuffer.pixels, back.pixels);
  CopyRoomToBack();  // the visible frame only, never the scratch rows
  for (int32_t y = 0; y < 512; ++y) std::copy_n(room.Row(y), 480, back.Row(y));
  // Sprites inside, hanging off each edge (into the scratch rows too), and wholly outside.
  for (auto [x, y] : {std::pair{100, 60}, {-16, 200}, {300, -20}, {465, 530}, {480, 0}, {-32, 9}}) {
    DrawSpriteToBack(x, y, 32, 32, kSpriteX, kSpriteY);
    Put(back, x, y, kSpriteX, kSpriteY, true);
  }
  for (auto [x, y] : {std::pair{7, 9}, {-20, 300}, {400, 500}, {0, 552}}) {
    CopySheetToBack(x, y, 32, 32, 100, 40);
    Put(back, x, y, 100, 40, false);
  }
  ExpectPixels(BackBuffer, [&](int32_t x, int32_t y) { return back.Row(y)[x]; });
  ClearBackBuffer();
  ExpectPixels(BackBuffer, [&](int32_t x, int32_t y) { return y < 512 ? kBlack : back.Row(y)[x]; });
}

TEST(Graphics, DoubledTextIsItsGlyphsInTwoByTwoBlocksOverTheFrame) {
  OpenWithSheet(MakeDib({}, SheetIndex));
  ASSERT_EQ(InitGraphics(), 1);
  for (auto [text, width] :
       {std::pair{"漢", 28}, {"A", 14}, {"あな", 56}, {"", 0}, {" ", 14}, {"\x85\x40", 28}}) {
    SCOPED_TRACE(width);
    PaintBackground(BackBuffer);
    DrawTextDoubled(300, 400, "漢");  // leaves its glyph in the scratch square
    const Surface before = BackBuffer;
    EXPECT_EQ(DrawTextDoubled(100, 200, text), width);
    Surface glyphs = platform::MakeSurface(28, 14);
    platform::DrawText(glyphs, 0, 0, text, kWhite);
    ExpectPixels(
        BackBuffer,
        [&](int32_t x, int32_t y) {  // font pixel (i, j) at (102 + 2i, 202 + 2j)
          int32_t i = (x - 102) >> 1, j = (y - 202) >> 1;
          bool lit = x >= 102 && y >= 202 && i < width / 2 && j < 14 && glyphs.Row(j)[i] == kWhite;
          return lit ? kWhite : before.Row(y)[x];
        },
        512);
  }
}

TEST(Graphics, PaintingCopiesTheFrameClippedToTheInvalidPart) {
  OpenWithSheet(MakeDib({}, SheetIndex), 552);  // taller than the frame
  platform::InvalidateRect(nullptr);
  PaintWindow();  // no back buffer yet: nothing drawn, the request acknowledged
  ASSERT_EQ(InitGraphics(), 1);
  PaintBackground(BackBuffer);
  PaintWindow();
  ExpectPixels(headless::WindowPicture(), [](int32_t, int32_t) { return kBlack; });
  platform::InvalidateRect(nullptr);
  PaintWindow();
  std::fill(BackBuffer.pixels.begin(), BackBuffer.pixels.end(), kWhite);
  platform::Rect part{100, 200, 132, 240};
  platform::InvalidateRect(&part);
  PaintWindow();
  ExpectPixels(headless::WindowPicture(), [](int32_t x, int32_t y) {
    return y >= 512                                     ? kBlack
           : x >= 100 && x < 132 && y >= 200 && y < 240 ? kWhite
                                                        : BackgroundAt(x, y);
  });
}

}  // namespace
}  // namespace quillorn::test
