#include "platform/drawing/text.h"

#include "platform/drawing/font_decode.h"
#include "platform/drawing/font_glyphs.h"

namespace quillorn::platform {

namespace {

void Plot(Surface& dest, int32_t x, int32_t y, Pixel color) {
  if (x >= 0 && y >= 0 && x < dest.width && y < dest.height) dest.Row(y)[x] = color;
}

// A code the font lacks shows as the outline of its cell.
void DrawHollowBox(Surface& dest, int32_t x, int32_t y, int32_t width, Pixel color) {
  for (int32_t i = 0; i < width; ++i) {
    Plot(dest, x + i, y, color);
    Plot(dest, x + i, y + kFontHeight - 1, color);
  }
  for (int32_t j = 1; j < kFontHeight - 1; ++j) {
    Plot(dest, x, y + j, color);
    Plot(dest, x + width - 1, y + j, color);
  }
}

void DrawGlyph(Surface& dest, int32_t x, int32_t y, const FontGlyph& glyph, Pixel color) {
  for (int32_t row = 0; row < kGlyphRows; ++row) {
    uint32_t bits = glyph.rows[row];
    if (bits == 0) continue;
    int32_t py = y + row;
    if (py < 0 || py >= dest.height) continue;
    for (int32_t col = 0; bits != 0; ++col, bits = (bits << 1) & 0xFFFF) {
      if (bits & 0x8000) Plot(dest, x + col, py, color);
    }
  }
}

}  // namespace

void DrawText(Surface& dest, int32_t x, int32_t y, const char* text, Pixel color) {
  for (TextChar c = NextChar(text); c.length != 0; c = NextChar(text)) {
    const FontGlyph* glyph = FindGlyph(c.code);  // a lone lead byte has none
    if (glyph)
      DrawGlyph(dest, x, y, *glyph, color);
    else
      DrawHollowBox(dest, x, y, c.advance, color);
    x += c.advance;
    text += c.length;
  }
}

TextSize MeasureText(const char* text) {
  TextSize size{0, kFontHeight};
  for (TextChar c = NextChar(text); c.length != 0; c = NextChar(text)) {
    size.width += c.advance;
    text += c.length;
  }
  return size;
}

}  // namespace quillorn::platform
