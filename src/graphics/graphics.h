// The graphics objects: the sprite sheet, the back buffer that holds the frame, the room
// buffer that holds the static picture of a room, the palette and the message font, and
// the primitives that draw with them. Scenes draw into BackBuffer (or RoomBuffer), then
// invalidate the window; PaintWindow copies the frame out.
#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace quillorn {

// Sizes and places in pixels.
constexpr int32_t kFrameWidth = 480;  // the visible frame: BackBuffer rows 0-511
constexpr int32_t kFrameHeight = 512;
constexpr int32_t kBackBufferHeight = 552;  // rows 516-551 are the text scratch strip
constexpr int32_t kScratchX = 0;
constexpr int32_t kScratchY = 516;
constexpr int32_t kScratchSize = 36;  // only this square of the strip is ever erased
constexpr int32_t kSheetWidth = 640;
constexpr int32_t kSheetHeight = 704;
constexpr int32_t kSheetMaskOffset = 256;  // a masked sprite's mask lies this far right
constexpr int32_t kSheetBlackX = 512;      // an all-black area of the sheet
constexpr int32_t kSheetBlackY = 320;

struct PaletteEntry {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t flags = 0;
};
constexpr uint8_t kPaletteNoCollapse = 4;

struct Palette {
  bool exists = false;
  uint16_t version = 0;
  PaletteEntry entries[256] = {};
};

// The message font as it is asked for. The platform draws every text with its own
// 14-pixel Japanese font, which stands in for the named face.
struct Font {
  bool exists = false;
  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 0;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  const char* faceName = nullptr;  // Shift-JIS
};

// The five program-wide objects, created by InitGraphics and deleted by FreeGraphics. A
// surface that does not exist is empty (no pixels); drawing from or into it does nothing.
extern platform::Surface SpriteSheet;  // 640 x 704, all the art; only read after set-up
extern platform::Surface BackBuffer;   // 480 x 552, the frame being composed
extern platform::Surface RoomBuffer;   // 480 x 512, the static picture of the room
extern Palette GamePalette;
extern Font MessageFont;

inline bool SurfaceExists(const platform::Surface& s) {
  return !s.pixels.empty();
}

int InitGraphics();  // 0 when the sheet could not be loaded, else 1
void FreeGraphics();
void ClearBackBuffer();  // rows 0-511 black; the scratch strip is left alone
void PaintWindow();      // the paint handler: copies rows 0-511 of BackBuffer out

// Sheet rectangles into the frame: an opaque copy, and a masked copy whose mask lies
// kSheetMaskOffset pixels to the right of the sprite.
void CopySheetToBack(int32_t destX, int32_t destY, int32_t width, int32_t height, int32_t srcX,
                     int32_t srcY);
void DrawSpriteToBack(int32_t destX, int32_t destY, int32_t width, int32_t height, int32_t srcX,
                      int32_t srcY);
// The same into the room picture: masked when masked is not 0, opaque when it is.
void DrawSheetToRoom(int32_t destX, int32_t destY, int32_t width, int32_t height, int32_t srcX,
                     int32_t srcY, int32_t masked);
// All of RoomBuffer over the visible frame.
void CopyRoomToBack();
// Draws a Shift-JIS text in white at twice its size, its doubled box's top-left corner at
// (x, y), over whatever the frame holds. Returns twice the text's natural width.
int32_t DrawTextDoubled(int32_t x, int32_t y, const char* text);

}  // namespace quillorn
