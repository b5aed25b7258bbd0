// Creating the graphics objects from the sheet resource, refusing bad sheets, clearing
// the frame, painting it and deleting everything.
#include <gtest/gtest.h>

#include "graphics/graphics_fixture.h"
#include "graphics/pixel_check.h"
#include "graphics/sheet_dib.h"

namespace quillorn::test {
namespace {

using platform::kBlack;
using platform::kWhite;

void ExpectOnlyBuffersExist() {
  EXPECT_EQ(BackBuffer.width, 480);
  EXPECT_EQ(BackBuffer.height, 552);
  EXPECT_EQ(BackBuffer.pixels.size(), 480u * 552u);
  EXPECT_EQ(RoomBuffer.width, 480);
  EXPECT_EQ(RoomBuffer.height, 512);
  EXPECT_EQ(RoomBuffer.pixels.size(), 480u * 512u);
  EXPECT_FALSE(SurfaceExists(SpriteSheet));
  EXPECT_FALSE(GamePalette.exists);
  EXPECT_FALSE(MessageFont.exists);
}

void ExpectNothingExists() {
  EXPECT_FALSE(SurfaceExists(BackBuffer));
  EXPECT_FALSE(SurfaceExists(RoomBuffer));
  EXPECT_FALSE(SurfaceExists(SpriteSheet));
  EXPECT_FALSE(GamePalette.exists);
  EXPECT_FALSE(MessageFont.exists);
}

TEST_F(GraphicsTest, CreatesAllObjects) {
  EXPECT_EQ(BackBuffer.width, 480);
  EXPECT_EQ(BackBuffer.height, 552);
  EXPECT_EQ(RoomBuffer.width, 480);
  EXPECT_EQ(RoomBuffer.height, 512);
  EXPECT_EQ(SpriteSheet.width, 640);
  EXPECT_EQ(SpriteSheet.height, 704);
  EXPECT_TRUE(GamePalette.exists);
  EXPECT_EQ(GamePalette.version, 0x300);
  ASSERT_TRUE(MessageFont.exists);
  EXPECT_EQ(MessageFont.height, 14);
  EXPECT_EQ(MessageFont.width, 0);
  EXPECT_EQ(MessageFont.weight, 0);
  EXPECT_EQ(MessageFont.italic, 0);
  EXPECT_EQ(MessageFont.charSet, 128);
  EXPECT_EQ(MessageFont.outPrecision, 4);
  EXPECT_EQ(MessageFont.clipPrecision, 0);
  EXPECT_EQ(MessageFont.quality, 2);
  EXPECT_EQ(MessageFont.pitchAndFamily, 0x31);
  ASSERT_NE(MessageFont.faceName, nullptr);
  EXPECT_STREQ(MessageFont.faceName,
               "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");
}

TEST_F(GraphicsTest, SheetPixelsComeFromTheColorTableBottomRowFirst) {
  EXPECT_EQ(MakeTestSheet()[40 + 1024], SheetIndex(0, 703));  // the first stored pixel
  ExpectPixels(SpriteSheet, [](int32_t x, int32_t y) { return IndexPixel(SheetIndex(x, y)); });
  EXPECT_EQ(SpriteSheet.Row(320)[512], kBlack);                               // index 0
  EXPECT_EQ(SpriteSheet.Row(kSpriteY)[kSpriteX + kSheetMaskOffset], kWhite);  // index 255
}

TEST_F(GraphicsTest, PaletteTakesEntries10To245FromTheSheet) {
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry& e = GamePalette.entries[i];
    // No system palette here: the reserved entries stay zero.
    Rgb c = i >= 10 && i <= 245 ? TableColor(i) : Rgb{0, 0, 0};
    EXPECT_EQ(e.red, c.r) << i;
    EXPECT_EQ(e.green, c.g) << i;
    EXPECT_EQ(e.blue, c.b) << i;
    EXPECT_EQ(e.flags, i >= 10 && i <= 245 ? 4 : 0) << i;
  }
}

TEST(GraphicsInitTest, RefusedSheetsLeaveOnlyTheBuffers) {
  std::vector<uint8_t> full = MakeTestSheet();
  std::vector<uint8_t> huge = MakeDib({16, 16, 8, 40}, [](int32_t, int32_t) { return 1; });
  for (int at : {4, 5, 6, 8, 9, 10}) huge[at] = 0xFF;  // width and height 2^31 - 1
  huge[7] = huge[11] = 0x7F;
  const std::pair<const char*, std::vector<uint8_t>> cases[] = {
      {"4 bits", MakeTestSheet({.bitCount = 4})},
      {"24 bits", MakeTestSheet({.bitCount = 24})},
      {"1 bit", MakeTestSheet({.bitCount = 1})},
      {"one byte short", {full.begin(), full.end() - 1}},
      {"header only", {full.begin(), full.begin() + 40}},
      {"shorter than a header", {full.begin(), full.begin() + 39}},
      {"empty", {}},
      {"zero width", MakeTestSheet({.width = 0})},
      {"zero height", MakeTestSheet({.height = 0})},
      {"negative width", MakeTestSheet({.width = -640})},
      {"negative (top-down) height", MakeTestSheet({.height = -704})},
      {"header smaller than 40", MakeTestSheet({.headerSize = 12})},
      {"huge sizes", huge},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    // A refusal after a success leaves no stale sheet.
    headless::Reset();
    headless::OverrideResource("BITMAP", "PAT", full);
    ASSERT_EQ(InitGraphics(), 1);
    headless::OverrideResource("BITMAP", "PAT", bytes);
    EXPECT_EQ(InitGraphics(), 0);
    ExpectOnlyBuffersExist();
    FreeGraphics();
    ExpectNothingExists();
  }
}

TEST(GraphicsInitTest, WithoutASheetNothingIsDrawn) {
  headless::Reset();
  headless::HideResource("BITMAP", "PAT");
  EXPECT_EQ(InitGraphics(), 0);
  ExpectOnlyBuffersExist();
  PaintBackground(BackBuffer);
  const platform::Surface before = BackBuffer;
  EXPECT_EQ(DrawTextDoubled(10, 10, "あ"), 28);  // the pen still moves
  DrawSpriteToBack(0, 0, 32, 32, kSpriteX, kSpriteY);
  CopySheetToBack(0, 0, 32, 32, kOpaqueX, kOpaqueY);
  DrawSheetToRoom(0, 0, 32, 32, kSpriteX, kSpriteY, 1);
  EXPECT_EQ(BackBuffer.pixels, before.pixels);
  FreeGraphics();
  ExpectNothingExists();
}

TEST(SheetDibTest, RowsArePaddedToFourBytesAndTheTableFollowsTheHeader) {
  // 3 x 2 pixels: each stored row holds 3 indices and one fill byte.
  std::vector<uint8_t> bytes =
      MakeDib({3, 2, 8, 40}, [](int32_t x, int32_t y) { return uint8_t(10 + x + 3 * y); });
  ASSERT_EQ(bytes.size(), 40u + 1024u + 8u);
  SheetDib dib;
  ASSERT_TRUE(ReadSheetDib(bytes.data(), bytes.size(), dib));
  EXPECT_EQ(dib.stride, 4u);
  ExpectPixels(ConvertSheetDib(dib),
               [](int32_t x, int32_t y) { return IndexPixel(10 + x + 3 * y); });
  // Exactly long enough is accepted; the fill byte of the last row is required.
  EXPECT_FALSE(ReadSheetDib(bytes.data(), bytes.size() - 1, dib));
  EXPECT_FALSE(ReadSheetDib(nullptr, 0, dib));
  // The colour table starts biSize bytes in and the pixels 1024 bytes after that.
  bytes = MakeDib({4, 1, 8, 56}, [](int32_t x, int32_t) { return uint8_t(x == 0 ? 0 : 100 + x); });
  ASSERT_TRUE(ReadSheetDib(bytes.data(), bytes.size(), dib));
  ExpectPixels(ConvertSheetDib(dib),
               [](int32_t x, int32_t) { return x == 0 ? kBlack : IndexPixel(100 + x); });
}

TEST_F(GraphicsTest, ClearBackBufferLeavesTheScratchStrip) {
  PaintBackground(BackBuffer);
  ClearBackBuffer();
  ExpectPixels(BackBuffer,
               [](int32_t x, int32_t y) { return y < 512 ? kBlack : BackgroundAt(x, y); });
}

TEST(GraphicsPaintTest, OnlyTheVisibleFrameReachesTheWindow) {
  headless::Reset();
  // A window taller than the frame shows that the scratch rows are never copied.
  OpenTestWindow(480, 552);
  headless::OverrideResource("BITMAP", "PAT", MakeTestSheet());
  ASSERT_EQ(InitGraphics(), 1);
  PaintBackground(BackBuffer);
  platform::InvalidateRect(nullptr);
  PaintWindow();
  ASSERT_EQ(headless::WindowPicture().height, 552);
  ExpectPixels(headless::WindowPicture(),
               [](int32_t x, int32_t y) { return y < 512 ? BackgroundAt(x, y) : kBlack; });
  FreeGraphics();
}

TEST_F(GraphicsTest, PaintCopiesTheFrameClippedToTheInvalidPart) {
  PaintBackground(BackBuffer);
  platform::InvalidateRect(nullptr);
  PaintWindow();
  // Change the whole frame, invalidate a small part: only that part is updated.
  for (platform::Pixel& p : BackBuffer.pixels) p = kWhite;
  platform::Rect part{100, 200, 132, 240};
  platform::InvalidateRect(&part);
  PaintWindow();
  ExpectPixels(headless::WindowPicture(), [](int32_t x, int32_t y) {
    return x >= 100 && x < 132 && y >= 200 && y < 240 ? kWhite : BackgroundAt(x, y);
  });
}

TEST(GraphicsPaintTest, WithoutABackBufferPaintingDrawsNothing) {
  headless::Reset();
  OpenTestWindow();
  platform::InvalidateRect(nullptr);
  PaintWindow();  // before InitGraphics: no back buffer yet
  auto black = [](int32_t, int32_t) { return kBlack; };
  ExpectPixels(headless::WindowPicture(), black);
  // The request was acknowledged: the invalid region is empty, so a later paint that
  // has something to show finds nothing left to update.
  headless::OverrideResource("BITMAP", "PAT", MakeTestSheet());
  ASSERT_EQ(InitGraphics(), 1);
  PaintBackground(BackBuffer);
  PaintWindow();
  ExpectPixels(headless::WindowPicture(), black);
  FreeGraphics();
}

TEST_F(GraphicsTest, FreeGraphicsDeletesEverything) {
  FreeGraphics();
  ExpectNothingExists();
  // Drawing and painting after that do nothing and do not fail.
  CopySheetToBack(0, 0, 32, 32, 0, 0);
  DrawSpriteToBack(0, 0, 32, 32, 0, 192);
  DrawSheetToRoom(0, 0, 32, 32, 0, 0, 1);
  CopyRoomToBack();
  EXPECT_EQ(DrawTextDoubled(0, 0, "あ"), 28);
  ClearBackBuffer();
  PaintWindow();
  ExpectNothingExists();
}

}  // namespace
}  // namespace quillorn::test
