// The 14-pixel font: Shift-JIS decoding, measuring and the glyphs it draws.
#include "platform/drawing/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/pixel_check.h"
#include "platform/drawing/font_decode.h"
#include "platform/drawing/font_glyphs.h"

namespace quillorn::platform {
namespace {

std::vector<uint8_t> Bytes(const char* s) {
  return {s, s + std::strlen(s)};
}

TEST(ShiftJisTest, SourceTextsBecomeShiftJisBytes) {
  EXPECT_EQ(Bytes("あなたっ！"),
            (std::vector<uint8_t>{0x82, 0xA0, 0x82, 0xC8, 0x82, 0xBD, 0x82, 0xC1, 0x81, 0x49}));
  EXPECT_EQ(Bytes("ｱｰ"), (std::vector<uint8_t>{0xB1, 0xB0}));  // half-width: one byte each
}

TEST(ShiftJisTest, LeadBytesTakeTwoBytes) {
  for (int b = 1; b < 256; ++b) {
    const char text[] = {char(b), 0x40, 0};
    TextChar c = NextChar(text);
    bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    ASSERT_EQ(c.length, lead ? 2 : 1) << "byte " << b;
    ASSERT_EQ(c.advance, lead ? 14 : 7) << "byte " << b;
    ASSERT_EQ(c.code, lead ? (b << 8 | 0x40) : b) << "byte " << b;
  }
  EXPECT_EQ(NextChar("").length, 0);
}

TEST(ShiftJisTest, LoneLeadByteStopsAtTheEnd) {
  // The byte after the terminator must not be taken as a trail byte.
  const char text[] = {'A', char(0x82), 0, char(0xA0), 0};
  TextChar first = NextChar(text);
  TextChar second = NextChar(text + first.length);
  EXPECT_EQ(second.length, 1);
  EXPECT_EQ(second.advance, 7);
  EXPECT_EQ(NextChar(text + first.length + second.length).length, 0);
  EXPECT_EQ(MeasureText(text).width, 14);

  Surface s = MakeSurface(40, 14);
  DrawText(s, 0, 0, text, kWhite);
  for (int32_t y = 0; y < 14; ++y)
    for (int32_t x = 14; x < 40; ++x) ASSERT_EQ(s.Row(y)[x], kBlack) << x << "," << y;
}

TEST(TextTest, MeasuresAdvances) {
  EXPECT_EQ(MeasureText("").width, 0);
  EXPECT_EQ(MeasureText("").height, 14);
  EXPECT_EQ(MeasureText("あなたっ！").width, 70);
  EXPECT_EQ(MeasureText("Aあ bｱ").width, 7 + 14 + 7 + 7 + 7);
  EXPECT_EQ(MeasureText("\x85\x40").width, 14);  // no glyph, still a full-width cell
  EXPECT_EQ(MeasureText("\x80\xFD").width, 14);  // two single bytes without glyphs
}

// The lit pixels of one character drawn at (0, 0).
struct Lit {
  int32_t count = 0, minX = 99, maxX = -1, minY = 99, maxY = -1;
};
Lit Render(const char* text, Surface* out = nullptr) {
  Surface s = MakeSurface(28, 14);
  DrawText(s, 0, 0, text, kWhite);
  Lit lit;
  for (int32_t y = 0; y < 14; ++y)
    for (int32_t x = 0; x < 28; ++x) {
      if (s.Row(y)[x] == kBlack) continue;
      EXPECT_EQ(s.Row(y)[x], kWhite);
      ++lit.count;
      lit.minX = std::min(lit.minX, x), lit.maxX = std::max(lit.maxX, x);
      lit.minY = std::min(lit.minY, y), lit.maxY = std::max(lit.maxY, y);
    }
  if (out) *out = s;
  return lit;
}

TEST(TextTest, GlyphsHaveTheirShapes) {
  // Lit pixels at least, the last lit column at most, and the spans (last minus first lit
  // column or row) of each character's picture.
  const struct {
    const char* text;
    int32_t count, right, minWide, maxWide, minTall, maxTall;
  } shapes[] = {
      {"一", 1, 13, 10, 13, 0, 1},     // full-width (88 EA): one horizontal stroke
      {"｜", 1, 13, 0, 1, 10, 13},     // full-width (81 62): one vertical stroke
      {"漢", 41, 13, 10, 13, 11, 13},  // many strokes fill the cell and nothing beyond it
      {"ｰ", 1, 6, 4, 6, 0, 1},         // half-width katakana (B0): a horizontal stroke
      {"ｱ", 9, 6, 0, 6, 0, 13},       {"A", 11, 6, 0, 6, 0, 13},
      {"_", 1, 6, 0, 6, 0, 0},        {"-", 1, 6, 0, 6, 0, 0},
  };
  for (const auto& shape : shapes) {
    SCOPED_TRACE(shape.text);
    Lit lit = Render(shape.text);
    EXPECT_GE(lit.count, shape.count);
    EXPECT_LE(lit.maxX, shape.right);
    EXPECT_GE(lit.maxX - lit.minX, shape.minWide);
    EXPECT_LE(lit.maxX - lit.minX, shape.maxWide);
    EXPECT_GE(lit.maxY - lit.minY, shape.minTall);
    EXPECT_LE(lit.maxY - lit.minY, shape.maxTall);
  }
  EXPECT_EQ(Render("_").minY, 13);  // on the bottom row
  EXPECT_GE(Render("-").minY, 5);   // in the middle
  EXPECT_LE(Render("-").minY, 9);
  EXPECT_GT(Render("g").maxY, Render("A").maxY);  // a descender below the capital's baseline
  Surface s;
  Render("ｱ", &s);
  EXPECT_EQ(s.Row(13)[0], kBlack);  // a glyph, not a box
  EXPECT_EQ(Render(" ").count, 0);
  EXPECT_EQ(Render("　").count, 0);  // full-width space
}

TEST(TextTest, CodesWithoutGlyphDrawHollowBoxes) {
  // An unassigned double-byte code, a trail byte out of range, single bytes without glyphs
  // and a lone lead byte at the end: the outline of a cell of their width.
  const std::pair<const char*, int32_t> texts[] = {
      {"\x85\x40", 14}, {"\xFC\xFC", 14}, {"\x81\x10", 14}, {"\x80", 7},
      {"\xA0", 7},      {"\xFD", 7},      {"\t", 7},        {"\x88", 7},
  };
  for (const auto& [text, width] : texts) {
    SCOPED_TRACE(int(uint8_t(text[0])));
    Surface s;
    Render(text, &s);
    test::ExpectPixels(s, [&](int32_t x, int32_t y) {
      return x < width && (x == 0 || x == width - 1 || y == 0 || y == 13) ? kWhite : kBlack;
    });
  }
}

TEST(TextTest, DrawsOnlyLitPixelsAndClips) {
  const Pixel color = MakePixel(200, 10, 90), ground = MakePixel(1, 2, 3);
  Surface s = MakeSurface(30, 20);
  for (Pixel& p : s.pixels) p = ground;
  DrawText(s, 3, 4, "漢A", color);
  Surface ref = MakeSurface(21, 14);
  DrawText(ref, 0, 0, "漢A", kWhite);
  test::ExpectPixels(s, [&](int32_t x, int32_t y) {
    bool lit = x >= 3 && x < 24 && y >= 4 && y < 18 && ref.Row(y - 4)[x - 3] == kWhite;
    return lit ? color : ground;
  });
  // Partly outside on every side: the visible part matches, nothing else is touched.
  Surface small = MakeSurface(10, 8);
  DrawText(small, -6, -5, "漢A", kWhite);
  test::ExpectPixels(small, [&](int32_t x, int32_t y) { return ref.Row(y + 5)[x + 6]; });
  Surface none;
  DrawText(none, 0, 0, "漢", kWhite);  // a null surface is left alone
  EXPECT_TRUE(none.pixels.empty());
}

TEST(FontTableTest, CoversTheCharacterSets) {
  for (size_t i = 1; i < kFontGlyphCount; ++i)
    ASSERT_LT(kFontGlyphs[i - 1].code, kFontGlyphs[i].code);
  for (unsigned c = 0x20; c <= 0x7E; ++c) {
    ASSERT_NE(FindGlyph(uint16_t(c)), nullptr) << c;
    EXPECT_EQ(FindGlyph(uint16_t(c))->advance, 7);
  }
  for (unsigned c = 0xA1; c <= 0xDF; ++c) ASSERT_NE(FindGlyph(uint16_t(c)), nullptr) << c;
  // JIS X 0208: the symbols, kana and both levels of kanji, up to 熙 (EA A4).
  for (uint16_t code : {0x8140, 0x829F, 0x82F1, 0x8340, 0x8396, 0x889F, 0x9872, 0x989F, 0xEAA4}) {
    const FontGlyph* g = FindGlyph(code);
    ASSERT_NE(g, nullptr) << std::hex << code;
    EXPECT_EQ(g->advance, 14);
  }
  EXPECT_EQ(FindGlyph(0x0000), nullptr);
  EXPECT_EQ(FindGlyph(0x0080), nullptr);
  EXPECT_EQ(FindGlyph(0x8540), nullptr);
  EXPECT_EQ(FindGlyph(0xEAA5), nullptr);
  EXPECT_GE(kFontGlyphCount, 95u + 63u + 6879u);
}

}  // namespace
}  // namespace quillorn::platform
