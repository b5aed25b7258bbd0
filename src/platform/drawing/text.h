// Text in the platform's 14-pixel Japanese bitmap font. Texts are Shift-JIS (code page 932)
// byte strings ended by a zero byte. A full-width character is 14 x 14 and advances 14
// pixels, a half-width one advances 7. A code without a glyph draws a hollow box.
#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace quillorn::platform {

constexpr int32_t kFontHeight = 14;

struct TextSize {
  int32_t width = 0;
  int32_t height = 0;
};

// Sets every lit glyph pixel to color, with the top-left corner of the first character cell
// at (x, y); the background is left alone. Pixels outside the surface are not drawn.
void DrawText(Surface& dest, int32_t x, int32_t y, const char* text, Pixel color);

// The size of the text's cells: the sum of the advances, and the font height.
TextSize MeasureText(const char* text);

}  // namespace quillorn::platform
