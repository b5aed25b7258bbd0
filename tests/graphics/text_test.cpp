// The 14-pixel font: Shift-JIS decoding, measuring, and hollow boxes for codes without a glyph.
#include "platform/drawing/text.h"

#include <gtest/gtest.h>

#include "graphics_support.h"
#include "platform/drawing/font_decode.h"

namespace quillorn::test {
namespace {

TEST(Text, LeadBytesTakeTwoBytesAndALoneOneStopsAtTheEnd) {
  for (int b = 1; b < 256; ++b) {
    const char text[] = {char(b), 0x40, 0};
    platform::TextChar c = platform::NextChar(text);
    bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    ASSERT_EQ(std::tuple(c.length, c.advance, c.code),
              std::tuple(lead ? 2 : 1, lead ? 14 : 7, lead ? (b << 8 | 0x40) : b))
        << b;
  }
  const char lone[] = {'A', char(0x82), 0, char(0xA0), 0};  // the byte after the end is not read
  EXPECT_EQ(platform::MeasureText(lone).width, 14);
  EXPECT_EQ(platform::MeasureText("Aあ bｱ漢").width, 7 + 14 + 7 + 7 + 7 + 14);
}

TEST(Text, CodesWithoutAGlyphDrawHollowBoxesOfTheirWidthClipped) {
  for (auto [text, width] : {std::pair{"\x85\x40", 14},
                             {"\xFC\xFC", 14},
                             {"\x81\x10", 14},
                             {"\x80", 7},
                             {"\xFD", 7},
                             {"\t", 7},
                             {"\x88", 7}}) {
    SCOPED_TRACE(int(uint8_t(text[0])));
    for (int32_t at : {0, -3}) {
      Surface s = platform::MakeSurface(28, 14);
      platform::DrawText(s, at, at, text, kWhite);
      ExpectPixels(s, [&](int32_t x, int32_t y) {
        x -= at, y -= at;
        return x < width && y < 14 && (x == 0 || x == width - 1 || y == 0 || y == 13) ? kWhite
                                                                                      : kBlack;
      });
    }
  }
  Surface s = platform::MakeSurface(28, 14);
  platform::DrawText(s, 0, 0, "ｱ漢", kWhite);  // glyphs, not boxes
  EXPECT_EQ(std::pair(s.Row(13)[0], s.Row(0)[7]), std::pair(kBlack, kBlack));
}

}  // namespace
}  // namespace quillorn::test
