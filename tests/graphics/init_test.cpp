// Creating the graphics objects from the sheet resource, refusing bad sheets, clearing
// the frame, painting it and deleting everything.
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/graphics_fixture.h"
#include "graphics/sheet_dib.h"

namespace quillorn::test {
namespace {

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

TEST_F(GraphicsTest, SheetPixelsComeFromTheColorTable) {
  // Every pixel, with the stored rows turned top-down.
  for (int32_t y = 0; y < 704; ++y)
    for (int32_t x = 0; x < 640; ++x)
      ASSERT_EQ(SpriteSheet.Row(y)[x], IndexPixel(SheetIndex(x, y))) << x << "," << y;
  // Index 0 is black and 255 white in the sheet's colour table.
  EXPECT_EQ(SpriteSheet.Row(320)[512], platform::kBlack);
  EXPECT_EQ(SpriteSheet.Row(kSpriteY)[kSpriteX + kSheetMaskOffset], platform::kWhite);
}

TEST(GraphicsInitTest, FirstStoredRowBecomesTheBottomRow) {
  headless::Reset();
  // Stored row k (bottom-up) has index 10 + k % 161 in every pixel.
  std::vector<uint8_t> bytes =
      MakeDib({}, [](int32_t, int32_t y) { return uint8_t(10 + (703 - y) % 161); });
  EXPECT_EQ(bytes[40 + 1024], 10);  // the first stored pixel
  headless::OverrideResource("BITMAP", "PAT", bytes);
  ASSERT_EQ(InitGraphics(), 1);
  EXPECT_EQ(SpriteSheet.Row(703)[0], IndexPixel(10));
  EXPECT_EQ(SpriteSheet.Row(703)[639], IndexPixel(10));
  EXPECT_EQ(SpriteSheet.Row(702)[5], IndexPixel(11));
  EXPECT_EQ(SpriteSheet.Row(0)[0], IndexPixel(10 + 703 % 161));
  FreeGraphics();
}

TEST_F(GraphicsTest, PaletteTakesEntries10To245FromTheSheet) {
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry& e = GamePalette.entries[i];
    if (i >= 10 && i <= 245) {
      Rgb c = TableColor(i);
      EXPECT_EQ(e.red, c.r) << i;
      EXPECT_EQ(e.green, c.g) << i;
      EXPECT_EQ(e.blue, c.b) << i;
      EXPECT_EQ(e.flags, 4) << i;
    } else {
      // No system palette here: the reserved entries stay zero.
      EXPECT_EQ(e.red | e.green | e.blue | e.flags, 0) << i;
    }
  }
}

TEST(GraphicsInitTest, SheetIsFoundWhateverTheCaseOfItsName) {
  headless::Reset();
  headless::OverrideResource("bitmap", "Pat", MakeTestSheet());
  EXPECT_EQ(InitGraphics(), 1);
  EXPECT_TRUE(SurfaceExists(SpriteSheet));
  FreeGraphics();
}

TEST(GraphicsInitTest, RefusedSheetsLeaveOnlyTheBuffers) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> full = MakeTestSheet();
  std::vector<uint8_t> shortByOne(full.begin(), full.end() - 1);
  std::vector<uint8_t> headerOnly(full.begin(), full.begin() + 40);
  std::vector<uint8_t> tooShortForHeader(full.begin(), full.begin() + 39);
  DibShape four, twentyFour, one, zeroWidth, zeroHeight, negWidth, negHeight, smallHeader;
  four.bitCount = 4;
  twentyFour.bitCount = 24;
  one.bitCount = 1;
  zeroWidth.width = 0;
  zeroHeight.height = 0;
  negWidth.width = -640;
  negHeight.height = -704;
  smallHeader.headerSize = 12;
  std::vector<uint8_t> huge = MakeDib({16, 16, 8, 40}, [](int32_t, int32_t) { return 1; });
  huge[4] = 0xFF, huge[5] = 0xFF, huge[6] = 0xFF, huge[7] = 0x7F;  // width 2^31 - 1
  huge[8] = 0xFF, huge[9] = 0xFF, huge[10] = 0xFF, huge[11] = 0x7F;
  std::vector<Case> cases = {
      {"4 bits", MakeTestSheet(four)},
      {"24 bits", MakeTestSheet(twentyFour)},
      {"1 bit", MakeTestSheet(one)},
      {"one byte short", shortByOne},
      {"header only", headerOnly},
      {"shorter than a header", tooShortForHeader},
      {"empty", {}},
      {"zero width", MakeTestSheet(zeroWidth)},
      {"zero height", MakeTestSheet(zeroHeight)},
      {"negative width", MakeTestSheet(negWidth)},
      {"negative (top-down) height", MakeTestSheet(negHeight)},
      {"header smaller than 40", MakeTestSheet(smallHeader)},
      {"huge sizes", huge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    headless::Reset();
    headless::OverrideResource("BITMAP", "PAT", c.bytes);
    EXPECT_EQ(InitGraphics(), 0);
    ExpectOnlyBuffersExist();
    FreeGraphics();
    ExpectNothingExists();
  }
  // And without any sheet at all.
  headless::Reset();
  headless::HideResource("BITMAP", "PAT");
  EXPECT_EQ(InitGraphics(), 0);
  ExpectOnlyBuffersExist();
  FreeGraphics();
  ExpectNothingExists();
}

TEST(GraphicsInitTest, ARefusalAfterASuccessLeavesNoStaleSheet) {
  headless::Reset();
  headless::OverrideResource("BITMAP", "PAT", MakeTestSheet());
  ASSERT_EQ(InitGraphics(), 1);
  DibShape four;
  four.bitCount = 4;
  headless::OverrideResource("BITMAP", "PAT", MakeTestSheet(four));
  EXPECT_EQ(InitGraphics(), 0);
  ExpectOnlyBuffersExist();
  FreeGraphics();
}

TEST(SheetDibTest, RowsArePaddedToFourBytes) {
  // 3 x 2 pixels: each stored row holds 3 indices and one fill byte.
  std::vector<uint8_t> bytes =
      MakeDib({3, 2, 8, 40}, [](int32_t x, int32_t y) { return uint8_t(10 + x + 3 * y); });
  ASSERT_EQ(bytes.size(), 40u + 1024u + 8u);
  SheetDib dib;
  ASSERT_TRUE(ReadSheetDib(bytes.data(), bytes.size(), dib));
  EXPECT_EQ(dib.stride, 4u);
  platform::Surface s = ConvertSheetDib(dib);
  ASSERT_EQ(s.width, 3);
  ASSERT_EQ(s.height, 2);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(s.Row(y)[x], IndexPixel(10 + x + 3 * y));
  // Exactly long enough is accepted; the fill byte of the last row is required.
  EXPECT_FALSE(ReadSheetDib(bytes.data(), bytes.size() - 1, dib));
  EXPECT_FALSE(ReadSheetDib(nullptr, 0, dib));
}

TEST(SheetDibTest, ColorTableFollowsALargerHeader) {
  // The colour table starts biSize bytes in and the pixels 1024 bytes after that.
  std::vector<uint8_t> bytes =
      MakeDib({4, 1, 8, 56}, [](int32_t x, int32_t) { return uint8_t(x == 0 ? 0 : 100 + x); });
  SheetDib dib;
  ASSERT_TRUE(ReadSheetDib(bytes.data(), bytes.size(), dib));
  platform::Surface s = ConvertSheetDib(dib);
  EXPECT_EQ(s.Row(0)[0], platform::kBlack);
  EXPECT_EQ(s.Row(0)[3], IndexPixel(103));
}

TEST_F(GraphicsTest, ClearBackBufferLeavesTheScratchStrip) {
  PaintBackground(BackBuffer);
  ClearBackBuffer();
  for (int32_t y = 0; y < 552; ++y)
    for (int32_t x = 0; x < 480; ++x)
      ASSERT_EQ(BackBuffer.Row(y)[x], y < 512 ? platform::kBlack : BackgroundAt(x, y))
          << x << "," << y;
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
  const platform::Surface& picture = headless::WindowPicture();
  ASSERT_EQ(picture.height, 552);
  for (int32_t y = 0; y < 552; ++y)
    for (int32_t x = 0; x < 480; ++x)
      ASSERT_EQ(picture.Row(y)[x], y < 512 ? BackgroundAt(x, y) : platform::kBlack)
          << x << "," << y;
  FreeGraphics();
}

TEST_F(GraphicsTest, PaintCopiesTheFrameClippedToTheInvalidPart) {
  PaintBackground(BackBuffer);
  platform::InvalidateRect(nullptr);
  PaintWindow();
  // Change the whole frame, invalidate a small part: only that part is updated.
  for (platform::Pixel& p : BackBuffer.pixels) p = platform::kWhite;
  platform::Rect part{100, 200, 132, 240};
  platform::InvalidateRect(&part);
  PaintWindow();
  const platform::Surface& picture = headless::WindowPicture();
  for (int32_t y = 0; y < 512; ++y)
    for (int32_t x = 0; x < 480; ++x) {
      bool inside = x >= 100 && x < 132 && y >= 200 && y < 240;
      ASSERT_EQ(picture.Row(y)[x], inside ? platform::kWhite : BackgroundAt(x, y)) << x << "," << y;
    }
}

TEST(GraphicsPaintTest, WithoutABackBufferPaintingDrawsNothing) {
  headless::Reset();
  OpenTestWindow();
  platform::InvalidateRect(nullptr);
  PaintWindow();  // before InitGraphics: no back buffer yet
  const platform::Surface& picture = headless::WindowPicture();
  for (platform::Pixel p : picture.pixels) ASSERT_EQ(p, platform::kBlack);
  // The request was acknowledged: the invalid region is empty, so a later paint that
  // has something to show finds nothing left to update.
  headless::OverrideResource("BITMAP", "PAT", MakeTestSheet());
  ASSERT_EQ(InitGraphics(), 1);
  PaintBackground(BackBuffer);
  PaintWindow();
  for (platform::Pixel p : picture.pixels) ASSERT_EQ(p, platform::kBlack);
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
