#include "platform/drawing/font_glyphs.h"

#include <algorithm>

namespace quillorn::platform {

const FontGlyph* FindGlyph(uint16_t code) {
  const FontGlyph* end = kFontGlyphs + kFontGlyphCount;
  const FontGlyph* it = std::lower_bound(kFontGlyphs, end, code,
                                         [](const FontGlyph& g, uint16_t c) { return g.code < c; });
  return it != end && it->code == code ? it : nullptr;
}

}  // namespace quillorn::platform
