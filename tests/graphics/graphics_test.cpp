// The graphics objects made from the sheet resource "PAT", the refusal of bad sheets, and the
// drawing primitives and doubled text, each compared over the whole surface with what the raw
// sheet's bytes say it must hold.
#include "graphics/graphics.h"

#include <gtest/gtest.h>

#include "platform/drawing/text.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace quillorn {
namespace {

using platform::kBlack;
using platform::kWhite;
using platform::Pixel;
using platform::Surface;
using Bytes = std::vector<uint8_t>;

// The sheet's bytes, its colour index at (x, y) from the top, and that colour.
Bytes RawSheet() {
  platform::Resource r;
  EXPECT_TRUE(platform::FindResource("BITMAP", "PAT", r));
  return {r.data, r.data + r.size};
}
const Bytes kSheet = RawSheet();
int IndexAt(int32_t x, int32_t y) {
  return kSheet[1064 + size_t(703 - y) * 640 + size_t(x)];
}
Pixel Colour(const Bytes& dib, int index, size_t header = 40) {
  const uint8_t* c = &dib[header + 4 * size_t(index)];
  return platform::MakePixel(c[2], c[1], c[0]);
}

// A colour that depends on the place, never black or white.
void PaintBackground(Surface& s) {
  for (int32_t y = 0; y < s.height; ++y)
    for (int32_t x = 0; x < s.width; ++x)
      s.Row(y)[x] = platform::MakePixel(uint8_t(40 + x % 100), uint8_t(30 + y % 150), 77);
}

// A headless window, and the graphics made from the sheet given.
int OpenWithSheet(const Bytes& sheet) {
  FreeGraphics();
  headless::Reset();
  platform::WindowDesc desc;
  desc.className = desc.title = "QuillornGraphicsTest";
  desc.clientWidth = kFrameWidth, desc.clientHeight = kFrameHeight,
  desc.proc = platform::DefWindowProc;
  EXPECT_TRUE(platform::CreateMainWindow(desc));
  headless::OverrideResource("BITMAP", "PAT", sheet);
  return InitGraphics();
}

// A copy of the sheet with a 32-bit field at offset set to value.
Bytes With(size_t offset, uint32_t value, Bytes dib = kSheet) {
  for (size_t i = 0; i < 4; ++i) dib.at(offset + i) = uint8_t(value >> (8 * i));
  return dib;
}

TEST(Graphics, TheSheetIsReadThroughItsColourTableBottomRowFirst) {
  ASSERT_EQ(OpenWithSheet(kSheet), 1);
  for (int32_t y = 0; y < 704; ++y)
    for (int32_t x = 0; x < 640; ++x)
      ASSERT_EQ(SpriteSheet.Row(y)[x], Colour(kSheet, IndexAt(x, y))) << x << "," << y;
  for (int i = 0; i < 256; ++i) {  // entries 10-245 from the table, flagged 4; the others zero
    const PaletteEntry& e = GamePalette.entries[i];
    Pixel want = i >= 10 && i <= 245 ? (Colour(kSheet, i) & 0xFFFFFF) | 4u << 24 : 0;
    EXPECT_EQ((platform::MakePixel(e.red, e.green, e.blue) & 0xFFFFFF) | uint32_t(e.flags) << 24,
              want)
        << i;
  }
}

TEST(Graphics, RefusedSheetsLeaveOnlyTheBuffersAndNothingIsDrawn) {
  Bytes huge = With(4, 0x7FFFFFFF, With(8, 0x7FFFFFFF));
  const Bytes cases[] = {With(12, 0x40001),
                         With(12, 0x180001),
                         With(4, 0),
                         With(8, 0),
                         With(4, uint32_t(-640)),
                         With(8, uint32_t(-704)),
                         With(0, 12),
                         With(0, 12, With(4, 0)),
                         huge,
                         Bytes(kSheet.begin(), kSheet.end() - 1),
                         Bytes(kSheet.begin(), kSheet.begin() + 39),
                         {}};
  for (const Bytes& bytes : cases) {
    SCOPED_TRACE(&bytes - cases);
    ASSERT_EQ(OpenWithSheet(kSheet), 1);
    headless::OverrideResource("BITMAP", "PAT", bytes);
    EXPECT_EQ(InitGraphics(), 0);  // after a success: no stale sheet, palette or font
    EXPECT_TRUE(SurfaceExists(BackBuffer) && SurfaceExists(RoomBuffer));
    EXPECT_FALSE(SurfaceExists(SpriteSheet) || GamePalette.exists || MessageFont.exists);
    EXPECT_EQ(DrawTextDoubled(10, 10, "あ"), 28);  // nothing drawn, but the pen still moves
    DrawSpriteToBack(0, 0, 32, 32, 0, 192);
    EXPECT_TRUE(std::all_of(BackBuffer.pixels.begin(), BackBuffer.pixels.end(),
                            [](Pixel p) { return p == kBlack; }));
    FreeGraphics();
    EXPECT_FALSE(SurfaceExists(BackBuffer) || SurfaceExists(RoomBuffer));
    CopyRoomToBack(), ClearBackBuffer(), PaintWindow();  // harmless once freed
  }
}

// Puts the sheet's 32 x 32 block at (sx, sy) into ref at (left, top) as the primitives must:
// masked, only the pixels its mask (256 to the right) covers; opaque, every pixel.
void Put(Surface& ref, int32_t left, int32_t top, int32_t sx, int32_t sy, bool masked) {
  for (int32_t y = std::max(top, 0); y < std::min(top + 32, ref.height); ++y)
    for (int32_t x = std::max(left, 0); x < std::min(left + 32, ref.width); ++x)
      if (!masked || IndexAt(sx + x - left + 256, sy + y - top) == 0)
        ref.Row(y)[x] = Colour(kSheet, IndexAt(sx + x - left, sy + y - top));
}

TEST(Graphics, ThePrimitivesComposeTheFrameExactly) {
  ASSERT_EQ(OpenWithSheet(kSheet), 1);
  PaintBackground(BackBuffer), PaintBackground(RoomBuffer);
  Surface room = RoomBuffer, back = BackBuffer;
  DrawSheetToRoom(64, 96, 32, 32, 0, 192, 1), DrawSheetToRoom(460, 490, 32, 32, 96, 32, 0);
  Put(room, 64, 96, 0, 192, true), Put(room, 460, 490, 96, 32, false);
  EXPECT_EQ(RoomBuffer.pixels, room.pixels);
  EXPECT_EQ(BackBuffer.pixels, back.pixels);
  CopyRoomToBack();  // the visible frame only, never the scratch rows
  for (int32_t y = 0; y < 512; ++y) std::copy_n(room.Row(y), 480, back.Row(y));
  // The king, hanging off each edge (into the scratch rows too) and wholly outside.
  for (auto [x, y] : {std::pair{100, 60}, {-16, 200}, {300, -20}, {465, 530}, {480, 0}, {-32, 9}})
    DrawSpriteToBack(x, y, 32, 32, 128, 192), Put(back, x, y, 128, 192, true);
  for (auto [x, y] : {std::pair{7, 9}, {-20, 300}, {400, 500}, {0, 552}})
    CopySheetToBack(x, y, 32, 32, 96, 32), Put(back, x, y, 96, 32, false);
  EXPECT_EQ(BackBuffer.pixels, back.pixels);
  ClearBackBuffer();
  std::fill_n(back.pixels.begin(), 480 * 512, kBlack);  // the scratch rows stay
  EXPECT_EQ(BackBuffer.pixels, back.pixels);
}

TEST(Graphics, DoubledTextIsItsGlyphsInTwoByTwoBlocksOverTheFrame) {
  ASSERT_EQ(OpenWithSheet(kSheet), 1);
  for (auto [text, width] :
       {std::pair{"漢", 28}, {"A", 14}, {"あな", 56}, {"", 0}, {" ", 14}, {"\x85\x40", 28}}) {
    PaintBackground(BackBuffer);
    DrawTextDoubled(300, 400, "漢");  // leaves its glyph in the scratch square
    Surface want = BackBuffer, glyphs = platform::MakeSurface(28, 14);
    EXPECT_EQ(DrawTextDoubled(100, 200, text), width);
    platform::DrawText(glyphs, 0, 0, text, kWhite);
    for (int32_t j = 0; j < 28; ++j)  // font pixel (i, j) at (102 + 2i, 202 + 2j), doubled
      for (int32_t i = 0; i < width; ++i)
        if (glyphs.Row(j / 2)[i / 2] == kWhite) want.Row(202 + j)[102 + i] = kWhite;
    EXPECT_TRUE(
        std::equal(want.pixels.begin(), want.pixels.begin() + 480 * 512, BackBuffer.pixels.begin()))
        << text;
  }
}

}  // namespace
}  // namespace quillorn
