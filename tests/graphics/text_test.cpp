// The 14-pixel font: Shift-JIS decoding, measuring and the glyphs it draws.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/font_decode.h"
#include "platform/font_glyphs.h"

namespace quillorn::platform {
namespace {

std::vector<uint8_t> Bytes(const char* s) {
  return {s, s + std::strlen(s)};
}

TEST(ShiftJisTest, SourceTextsBecomeShiftJisBytes) {
  EXPECT_EQ(Bytes("あなたっ！"),
            (std::vector<uint8_t>{0x82, 0xA0, 0x82, 0xC8, 0x82, 0xBD, 0x82, 0xC1, 0x81, 0x49}));
  EXPECT_EQ(Bytes("ＭＳ Ｐゴシック"),
            (std::vector<uint8_t>{0x82, 0x6C, 0x82, 0x72, 0x20, 0x82, 0x6F, 0x83, 0x53, 0x83, 0x56,
                                  0x83, 0x62, 0x83, 0x4E}));
  EXPECT_EQ(Bytes("ｱｰ"), (std::vector<uint8_t>{0xB1, 0xB0}));  // half-width: one byte each
  EXPECT_EQ(Bytes("漢字"), (std::vector<uint8_t>{0x8A, 0xBF, 0x8E, 0x9A}));
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
  EXPECT_EQ(MeasureText("").height, kFontHeight);
  EXPECT_EQ(MeasureText("あ").width, 14);
  EXPECT_EQ(MeasureText(" ").width, 7);
  EXPECT_EQ(MeasureText("ｱ").width, 7);
  EXPECT_EQ(MeasureText("あなたっ！").width, 70);
  EXPECT_EQ(MeasureText("Aあ b").width, 7 + 14 + 7 + 7);
  EXPECT_EQ(MeasureText("\x85\x40").width, 14);  // no glyph, still a full-width cell
  EXPECT_EQ(MeasureText("\x80\xFD").width, 14);  // two single bytes without glyphs
  EXPECT_EQ(kFontHeight, 14);
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
  // Full-width 一 (88 EA): one horizontal stroke across the cell.
  Lit one = Render("一");
  EXPECT_LE(one.maxY - one.minY, 1);
  EXPECT_GE(one.maxX - one.minX, 10);
  EXPECT_LE(one.maxX, 13);
  // Full-width ｜ (81 62): one vertical stroke.
  Lit bar = Render("｜");
  EXPECT_LE(bar.maxX - bar.minX, 1);
  EXPECT_GE(bar.maxY - bar.minY, 10);
  // A kanji of many strokes fills its 14 x 14 cell and nothing beyond it.
  Lit kan = Render("漢");
  EXPECT_GT(kan.count, 40);
  EXPECT_LE(kan.maxX, 13);
  EXPECT_GE(kan.maxX - kan.minX, 10);
  EXPECT_GE(kan.maxY - kan.minY, 11);
  // ASCII: the underscore sits on the bottom row, the minus in the middle, and letters
  // stay inside their 7 columns.
  Lit under = Render("_");
  EXPECT_EQ(under.minY, 13);
  EXPECT_EQ(under.maxY, 13);
  Lit minus = Render("-");
  EXPECT_EQ(minus.minY, minus.maxY);
  EXPECT_GE(minus.minY, 5);
  EXPECT_LE(minus.minY, 9);
  Lit a = Render("A");
  EXPECT_GT(a.count, 10);
  EXPECT_LE(a.maxX, 6);
  Lit g = Render("g");  // a descender reaches below the capital's baseline
  EXPECT_GT(g.maxY, a.maxY);
  // Half-width katakana ｰ (B0): a horizontal stroke within 7 columns.
  Lit dash = Render("ｰ");
  EXPECT_LE(dash.maxY - dash.minY, 1);
  EXPECT_GE(dash.maxX - dash.minX, 4);
  EXPECT_LE(dash.maxX, 6);
  // ｱ (B1) is a glyph, not a box: its bottom-left pixel is dark.
  Surface s;
  Lit ka = Render("ｱ", &s);
  EXPECT_GT(ka.count, 8);
  EXPECT_EQ(s.Row(13)[0], kBlack);
  // A space lights nothing.
  EXPECT_EQ(Render(" ").count, 0);
  EXPECT_EQ(Render("　").count, 0);  // full-width space
}

// The outline of a cell of the given width.
void ExpectHollowBox(const char* text, int32_t width) {
  Surface s;
  Render(text, &s);
  for (int32_t y = 0; y < 14; ++y)
    for (int32_t x = 0; x < 28; ++x) {
      bool edge = x < width && (x == 0 || x == width - 1 || y == 0 || y == 13);
      ASSERT_EQ(s.Row(y)[x], edge ? kWhite : kBlack)
          << "text byte " << int(uint8_t(text[0])) << " at " << x << "," << y;
    }
}

TEST(TextTest, CodesWithoutGlyphDrawHollowBoxes) {
  ExpectHollowBox("\x85\x40", 14);  // an unassigned double-byte code
  ExpectHollowBox("\xFC\xFC", 14);
  ExpectHollowBox("\x81\x10", 14);  // a trail byte out of range
  ExpectHollowBox("\x80", 7);       // single bytes without glyphs
  ExpectHollowBox("\xA0", 7);
  ExpectHollowBox("\xFD", 7);
  ExpectHollowBox("\t", 7);
  ExpectHollowBox("\x88", 7);  // a lone lead byte at the end
}

TEST(TextTest, DrawsOnlyLitPixelsAndClips) {
  const Pixel color = MakePixel(200, 10, 90);
  Surface s = MakeSurface(30, 20);
  for (Pixel& p : s.pixels) p = MakePixel(1, 2, 3);
  DrawText(s, 3, 4, "漢A", color);
  Surface ref = MakeSurface(21, 14);
  DrawText(ref, 0, 0, "漢A", kWhite);
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 30; ++x) {
      bool lit = x >= 3 && x < 24 && y >= 4 && y < 18 && ref.Row(y - 4)[x - 3] == kWhite;
      ASSERT_EQ(s.Row(y)[x], lit ? color : MakePixel(1, 2, 3)) << x << "," << y;
    }
  // Partly outside on every side: the visible part matches, nothing else is touched.
  Surface small = MakeSurface(10, 8);
  DrawText(small, -6, -5, "漢A", kWhite);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 10; ++x) {
      Pixel want = (x + 6 < 21 && y + 5 < 14) ? ref.Row(y + 5)[x + 6] : kBlack;
      ASSERT_EQ(small.Row(y)[x], want) << x << "," << y;
    }
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
