// The graphics objects made from the sheet resource, the refusal of bad sheets, the drawing
// primitives and doubled text, each compared over the whole surface.
#include "graphics/graphics.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/drawing/text.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace quillorn {
namespace {

using platform::kBlack;
using platform::kWhite;
using platform::Pixel;
using platform::Surface;
using IndexAt = uint8_t (*)(int32_t, int32_t);

// Colour-table entry i: every one distinct, 0 black and 255 white.
Pixel TableColour(int i) {
  return i == 0     ? kBlack
         : i == 255 ? kWhite
                    : platform::MakePixel(uint8_t(i * 7 + 3), uint8_t(255 - i), uint8_t(i));
}

// A bottom-up 8-bit DIB whose pixel (x, y) from the top is index(x, y), rows padded to 4.
std::vector<uint8_t> Dib(IndexAt index, int32_t w = 640, int32_t h = 704, uint16_t bits = 8,
                         uint32_t header = 40) {
  size_t stride = (size_t(std::max(w, 0)) + 3) & ~size_t(3), rows = size_t(std::max(h, 0));
  std::vector<uint8_t> d(header + 1024 + stride * rows, 0);
  auto put = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) d[at + size_t(i)] = uint8_t(v >> (8 * i));
  };
  put(0, header), put(4, uint32_t(w)), put(8, uint32_t(h)), put(12, 1u | uint32_t(bits) << 16),
      put(32, 256);
  for (int i = 0; i < 256; ++i) put(header + 4 * size_t(i), TableColour(i) & 0xFFFFFF);
  for (size_t r = 0; r < rows; ++r)
    for (int32_t x = 0; x < w; ++x)
      d[header + 1024 + r * stride + size_t(x)] = index(x, int32_t(rows - 1 - r));
  return d;
}

// The test sheet: a 32 x 32 sprite at (0, 192), its mask at (256, 192) white where the sprite
// is clear and the sprite black there and in its top-left corner; the black area at
// (512, 320); elsewhere colours with black every seventh column.
uint8_t SheetIndex(int32_t x, int32_t y) {
  int32_t sx = x % 256, sy = y - 192;
  if (sy >= 0 && sy < 32 && sx < 32 && x < 512) {
    bool covers = (sx + 2 * sy) % 5 != 0;
    return x >= 256                         ? (covers ? 0 : 255)
           : covers && (sx >= 4 || sy >= 4) ? uint8_t(10 + (sx * 5 + sy * 3) % 161)
                                            : 0;
  }
  return (x >= 512 && y >= 320 && y < 480) || x % 7 == 0 ? 0 : uint8_t(10 + (x * 3 + y * 7) % 161);
}

Pixel BackgroundAt(int32_t x, int32_t y) {  // never black or white
  return platform::MakePixel(uint8_t(40 + x % 100), uint8_t(30 + y % 150), 77);
}
void PaintBackground(Surface& s) {
  for (int32_t y = 0; y < s.height; ++y)
    for (int32_t x = 0; x < s.width; ++x) s.Row(y)[x] = BackgroundAt(x, y);
}

void ExpectPixels(const Surface& s, const std::function<Pixel(int32_t, int32_t)>& want,
                  int32_t rows = 9999) {
  for (int32_t y = 0; y < std::min(rows, s.height); ++y)
    for (int32_t x = 0; x < s.width; ++x) ASSERT_EQ(s.Row(y)[x], want(x, y)) << x << "," << y;
}

// A headless window, and the graphics made from a sheet.
int OpenWithSheet(std::vector<uint8_t> sheet) {
  FreeGraphics();
  headless::Reset();
  platform::WindowDesc desc;
  desc.className = desc.title = "QuillornGraphicsTest";
  desc.clientWidth = kFrameWidth, desc.clientHeight = kFrameHeight,
  desc.proc = platform::DefWindowProc;
  EXPECT_TRUE(platform::CreateMainWindow(desc));
  headless::OverrideResource("BITMAP", "PAT", std::move(sheet));
  return InitGraphics();
}

TEST(Graphics, TheSheetIsReadThroughItsColourTableBottomRowFirst) {
  IndexAt small = [](int32_t x, int32_t y) { return uint8_t(10 + x + 3 * y); };
  ASSERT_EQ(OpenWithSheet(Dib(small, 3, 2, 8, 56)), 1);  // padded rows after a longer header
  ExpectPixels(SpriteSheet, [&](int32_t x, int32_t y) { return TableColour(small(x, y)); });
  ASSERT_EQ(OpenWithSheet(Dib(SheetIndex)), 1);
  ExpectPixels(SpriteSheet, [](int32_t x, int32_t y) { return TableColour(SheetIndex(x, y)); });
  EXPECT_EQ(SpriteSheet.width * SpriteSheet.height + BackBuffer.height + RoomBuffer.height,
            640 * 704 + 552 + 512);
  EXPECT_TRUE(MessageFont.exists && MessageFont.height == 14 && MessageFont.charSet == 128);
  for (int i = 0; i < 256; ++i) {  // entries 10-245 from the table, the reserved ones zero
    const PaletteEntry& e = GamePalette.entries[i];
    bool taken = i >= 10 && i <= 245;
    EXPECT_EQ(platform::MakePixel(e.red, e.green, e.blue) & 0xFFFFFF,
              taken ? TableColour(i) & 0xFFFFFF : 0)
        << i;
    EXPECT_EQ(e.flags, taken ? 4 : 0) << i;
  }
}

TEST(Graphics, RefusedSheetsLeaveOnlyTheBuffersAndNothingIsDrawn) {
  std::vector<uint8_t> full = Dib(SheetIndex), huge = Dib(SheetIndex, 16, 16);
  for (int at : {4, 5, 6, 8, 9, 10}) huge[size_t(at)] = 0xFF;  // 2^31 - 1 by 2^31 - 1
  huge[7] = huge[11] = 0x7F;
  const std::vector<uint8_t> cases[] = {Dib(SheetIndex, 640, 704, 4),
                                        Dib(SheetIndex, 640, 704, 24),
                                        {full.begin(), full.end() - 1},
                                        {full.begin(), full.begin() + 39},
                                        {},
                                        Dib(SheetIndex, 0),
                                        Dib(SheetIndex, 640, 0),
                                        Dib(SheetIndex, -640),
                                        Dib(SheetIndex, 640, -704),
                                        Dib(SheetIndex, 640, 704, 8, 12),
                                        huge};
  for (const std::vector<uint8_t>& bytes : cases) {
    SCOPED_TRACE(&bytes - cases);
    ASSERT_EQ(OpenWithSheet(full), 1);
    headless::OverrideResource("BITMAP", "PAT", bytes);
    EXPECT_EQ(InitGraphics(), 0);  // after a success: no stale sheet, palette or font
    EXPECT_TRUE(SurfaceExists(BackBuffer) && SurfaceExists(RoomBuffer));
    EXPECT_FALSE(SurfaceExists(SpriteSheet) || GamePalette.exists || MessageFont.exists);
    PaintBackground(BackBuffer);
    const Surface before = BackBuffer;
    EXPECT_EQ(DrawTextDoubled(10, 10, "あ"), 28);  // the pen still moves
    DrawSpriteToBack(0, 0, 32, 32, 0, 192), CopySheetToBack(0, 0, 32, 32, 40, 40);
    EXPECT_EQ(BackBuffer.pixels, before.pixels);
    FreeGraphics();
    EXPECT_FALSE(SurfaceExists(BackBuffer) || SurfaceExists(RoomBuffer));
    CopyRoomToBack(), ClearBackBuffer(), PaintWindow();  // harmless once freed
  }
}

// Puts the sheet's 32 x 32 block at (sx, sy) into ref at (left, top) as the primitives must:
// masked, only the pixels its mask covers; opaque, every pixel.
void Put(Surface& ref, int32_t left, int32_t top, int32_t sx, int32_t sy, bool masked) {
  for (int32_t y = std::max(top, 0); y < std::min(top + 32, ref.height); ++y)
    for (int32_t x = std::max(left, 0); x < std::min(left + 32, ref.width); ++x)
      if (!masked || SheetIndex(sx + x - left + 256, sy + y - top) == 0)
        ref.Row(y)[x] = TableColour(SheetIndex(sx + x - left, sy + y - top));
}

TEST(Graphics, ThePrimitivesComposeTheFrameExactly) {
  ASSERT_EQ(OpenWithSheet(Dib(SheetIndex)), 1);
  PaintBackground(BackBuffer), PaintBackground(RoomBuffer);
  Surface room = RoomBuffer, back = BackBuffer;
  DrawSheetToRoom(64, 96, 32, 32, 0, 192, 1), DrawSheetToRoom(460, 490, 32, 32, 100, 40, 0);
  Put(room, 64, 96, 0, 192, true), Put(room, 460, 490, 100, 40, false);
  EXPECT_EQ(RoomBuffer.pixels, room.pixels);
  EXPECT_EQ(BackBuffer.pixels, back.pixels);
  CopyRoomToBack();  // the visible frame only, never the scratch rows
  for (int32_t y = 0; y < 512; ++y) std::copy_n(room.Row(y), 480, back.Row(y));
  // Sprites inside, hanging off each edge (into the scratch rows too), and wholly outside.
  for (auto [x, y] : {std::pair{100, 60}, {-16, 200}, {300, -20}, {465, 530}, {480, 0}, {-32, 9}})
    DrawSpriteToBack(x, y, 32, 32, 0, 192), Put(back, x, y, 0, 192, true);
  for (auto [x, y] : {std::pair{7, 9}, {-20, 300}, {400, 500}, {0, 552}})
    CopySheetToBack(x, y, 32, 32, 100, 40), Put(back, x, y, 100, 40, false);
  ExpectPixels(BackBuffer, [&](int32_t x, int32_t y) { return back.Row(y)[x]; });
  ClearBackBuffer();
  ExpectPixels(BackBuffer, [&](int32_t x, int32_t y) { return y < 512 ? kBlack : back.Row(y)[x]; });
}

TEST(Graphics, DoubledTextIsItsGlyphsInTwoByTwoBlocksOverTheFrame) {
  ASSERT_EQ(OpenWithSheet(Dib(SheetIndex)), 1);
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
          return x >= 102 && y >= 202 && i < width / 2 && j < 14 && glyphs.Row(j)[i] == kWhite
                     ? kWhite
                     : before.Row(y)[x];
        },
        512);
  }
}

}  // namespace
}  // namespace quillorn
