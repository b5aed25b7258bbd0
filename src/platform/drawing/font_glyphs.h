// The glyph table of the 14-pixel font, generated at build time from the Shinonome bitmap
// fonts and keyed by Shift-JIS code: single-byte codes below 0x100, double-byte codes as
// lead byte * 256 + trail byte. Sorted by code.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillorn::platform {

constexpr int32_t kGlyphRows = 14;

struct FontGlyph {
  uint16_t code;
  uint8_t advance;            // 7 for half-width, 14 for full-width
  uint16_t rows[kGlyphRows];  // top row first; bit 15 is the leftmost pixel
};

extern const FontGlyph kFontGlyphs[];
extern const size_t kFontGlyphCount;

// The glyph of a Shift-JIS code, or null when the font has none.
const FontGlyph* FindGlyph(uint16_t code);

}  // namespace quillorn::platform
