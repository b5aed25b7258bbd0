// Creating, clearing, showing and deleting the graphics objects.
#include "graphics/graphics.h"

#include "graphics/sheet_dib.h"
#include "platform/drawing/blit.h"
#include "platform/platform.h"

namespace quillorn {

platform::Surface SpriteSheet;
platform::Surface BackBuffer;
platform::Surface RoomBuffer;
Palette GamePalette;
Font MessageFont;

namespace {

// Entries 10-245 come from the sheet's colour table; the rest would be the system's
// reserved colours, and there are none here, so they stay zero.
Palette BuildPalette(const SheetDib& dib) {
  Palette palette;
  palette.exists = true;
  palette.version = 0x300;
  for (int i = 10; i <= 245; ++i) {
    const uint8_t* c = dib.colorTable + 4 * i;
    palette.entries[i] = {c[2], c[1], c[0], kPaletteNoCollapse};
  }
  return palette;
}

Font CreateMessageFont() {
  Font font;
  font.exists = true;
  font.height = 14;
  font.charSet = 128;          // Shift-JIS
  font.outPrecision = 4;       // TrueType preferred
  font.clipPrecision = 0;      // default
  font.quality = 2;            // proof
  font.pitchAndFamily = 0x31;  // fixed pitch, modern
  font.faceName = "ＭＳ Ｐゴシック";
  return font;
}

}  // namespace

int InitGraphics() {
  // Every object starts out null; only what is created below exists afterwards.
  SpriteSheet = {};
  GamePalette = {};
  MessageFont = {};
  BackBuffer = platform::MakeSurface(kFrameWidth, kBackBufferHeight);
  RoomBuffer = platform::MakeSurface(kFrameWidth, kFrameHeight);

  platform::Resource res;
  SheetDib dib;
  if (!platform::FindResource("BITMAP", "pat", res) || !ReadSheetDib(res.data, res.size, dib))
    return 0;
  GamePalette = BuildPalette(dib);
  SpriteSheet = ConvertSheetDib(dib);
  MessageFont = CreateMessageFont();
  return 1;
}

void FreeGraphics() {
  // Each only if it exists. Deleted objects become null, so a stray draw does nothing.
  if (SurfaceExists(BackBuffer)) BackBuffer = {};
  if (SurfaceExists(SpriteSheet)) SpriteSheet = {};
  if (SurfaceExists(RoomBuffer)) RoomBuffer = {};
  if (GamePalette.exists) GamePalette = {};
  if (MessageFont.exists) MessageFont = {};
}

void ClearBackBuffer() {
  platform::FillRect(BackBuffer, 0, 0, kFrameWidth, kFrameHeight, platform::kBlack);
}

void PaintWindow() {
  platform::BeginPaint();
  // The whole frame, whatever part was invalid: the platform clips to the invalid region.
  if (SurfaceExists(BackBuffer))
    platform::PaintFromSurface(BackBuffer, 0, 0, kFrameWidth, kFrameHeight, 0, 0);
  platform::EndPaint();
}

}  // namespace quillorn
