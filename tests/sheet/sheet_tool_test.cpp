// The sheet tool's pieces: palette file, grid files, shaded shapes, masked placement and the
// bitmap and icon encodings.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "art.h"

namespace {

using namespace sheet;

std::string WriteTemp(const std::string& name, const std::string& text) {
  std::string path = testing::TempDir() + name;
  std::ofstream(path) << text;
  return path;
}

class SheetTool : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(LoadPalette(std::string(SHEET_DATA_DIR) + "/palette.txt", error)) << error;
  }
};

TEST_F(SheetTool, PaletteGivesRampsConsecutiveIndicesFromTen) {
  EXPECT_EQ(Ink("stone", 0), 10);
  EXPECT_EQ(Ink("stone", 6), 16);
  EXPECT_EQ(Ink("wall", 0), 17);
  EXPECT_EQ(Ink("stone", 9), 16);  // shades clamp to the ramp
  EXPECT_EQ(Ink("stone", -3), 10);
  std::string ramp;
  int shade = -1;
  ASSERT_TRUE(RampOf(Ink("wood", 4), ramp, shade));
  EXPECT_EQ(ramp, "wood");
  EXPECT_EQ(shade, 4);
  EXPECT_FALSE(RampOf(0, ramp, shade));
  EXPECT_FALSE(RampOf(255, ramp, shade));
  EXPECT_EQ(PaletteColour(255).r, 255);
  EXPECT_EQ(PaletteColour(0).g, 0);
  EXPECT_EQ(PaletteColour(171).b, 0);  // unused entries are black
  const Rgb& s0 = PaletteColour(10);   // first shade of the first ramp, 1c1b26
  EXPECT_EQ(s0.r, 0x1c);
  EXPECT_EQ(s0.g, 0x1b);
  EXPECT_EQ(s0.b, 0x26);
  // every index the palette hands out lies in 10-170
  for (int i = 0; i < 256; ++i)
    if (RampOf(i, ramp, shade)) {
      EXPECT_TRUE(i >= 10 && i <= 170) << i;
    }
}

TEST_F(SheetTool, PaletteFileErrors) {
  std::string error;
  EXPECT_FALSE(LoadPalette(WriteTemp("short.txt", "a 000000 111111\n"), error));
  EXPECT_NE(error.find("7 shades"), std::string::npos);
  std::string ramps;
  for (int r = 0; r < 24; ++r)
    ramps += "r" + std::to_string(r) + " 010101 020202 030303 040404 050505 060606 070707\n";
  EXPECT_FALSE(LoadPalette(WriteTemp("many.txt", ramps), error));  // 168 colours > 161
  EXPECT_NE(error.find("10-170"), std::string::npos);
  EXPECT_FALSE(LoadPalette(testing::TempDir() + "missing.txt", error));
}

TEST_F(SheetTool, GridsReadLegendsAndRejectMistakes) {
  std::map<std::string, Grid> grids;
  std::string error;
  ASSERT_TRUE(LoadGrids(WriteTemp("g.txt",
                                  "# comment\nlegend . none\nlegend o wood.0\nlegend x role.3\n"
                                  "legend b black\nlegend w white\ngrid one\n.ox\nbw.\nend\n"),
                        grids, error))
      << error;
  ASSERT_EQ(grids.count("one"), 1u);
  Picture p = GridPicture(grids["one"], {{"role", "red"}});
  ASSERT_EQ(p.w, 3);
  ASSERT_EQ(p.h, 2);
  EXPECT_EQ(p.Get(0, 0), kClear);
  EXPECT_EQ(p.Get(1, 0), Ink("wood", 0));
  EXPECT_EQ(p.Get(2, 0), Ink("red", 3));
  EXPECT_EQ(p.Get(0, 1), kBlack);
  EXPECT_EQ(p.Get(1, 1), kWhite);

  grids.clear();
  EXPECT_FALSE(
      LoadGrids(WriteTemp("r.txt", "legend . none\ngrid r\n...\n..\nend\n"), grids, error));
  EXPECT_NE(error.find("ragged"), std::string::npos);
  EXPECT_FALSE(LoadGrids(WriteTemp("u.txt", "legend . none\ngrid u\n.q.\nend\n"), grids, error));
  EXPECT_NE(error.find("no legend for 'q'"), std::string::npos);
  EXPECT_FALSE(LoadGrids(WriteTemp("o.txt", "legend . none\ngrid open\n...\n"), grids, error));
}

TEST_F(SheetTool, PaintLightsTopLeftShadesBottomRightAndOutlines) {
  Picture p(8, 8);
  Shape s(8, 8);
  s.Rect(2, 2, 4, 4);
  Paint(p, s, "wood", 3);
  EXPECT_EQ(p.Get(2, 3), Ink("wood", 4));  // left rim lit
  EXPECT_EQ(p.Get(3, 2), Ink("wood", 4));  // top rim lit
  EXPECT_EQ(p.Get(3, 3), Ink("wood", 3));  // inside
  EXPECT_EQ(p.Get(5, 3), Ink("wood", 2));  // right rim shaded
  EXPECT_EQ(p.Get(3, 5), Ink("wood", 2));  // bottom rim shaded
  EXPECT_EQ(p.Get(1, 3), Ink("wood", 0));  // outline
  EXPECT_EQ(p.Get(6, 5), Ink("wood", 0));
  EXPECT_EQ(p.Get(1, 1), kClear);  // corners of the outline stay open
  // kUnder only outlines onto clear pixels; kNone not at all
  Picture q(8, 8);
  q.Set(1, 3, Ink("red", 5));
  Paint(q, s, "wood", 3, Edge::kUnder);
  EXPECT_EQ(q.Get(1, 3), Ink("red", 5));
  EXPECT_EQ(q.Get(6, 3), Ink("wood", 0));
  Picture r(8, 8);
  Paint(r, s, "wood", 3, Edge::kNone);
  EXPECT_EQ(r.Get(1, 3), kClear);
}

TEST_F(SheetTool, MirrorAndOutlineClear) {
  Picture p(4, 1);
  p.Set(0, 0, Ink("red", 3));
  Picture m = MirrorX(p);
  EXPECT_EQ(m.Get(3, 0), Ink("red", 3));
  EXPECT_EQ(m.Get(0, 0), kClear);
  Picture o(3, 3);
  o.Set(1, 1, Ink("blue", 4));
  OutlineClear(o);
  EXPECT_EQ(o.Get(0, 1), Ink("blue", 0));
  EXPECT_EQ(o.Get(1, 0), Ink("blue", 0));
  EXPECT_EQ(o.Get(0, 0), kClear);
}

TEST_F(SheetTool, MaskedPlacementAndTheBitmapFormat) {
  Sheet s;
  Picture p(2, 1);
  p.Set(0, 0, Ink("gold", 4));
  s.PutMasked(p, 10, 700);
  EXPECT_EQ(s.At(10, 700), Ink("gold", 4));
  EXPECT_EQ(s.At(11, 700), kBlack);        // clear: black sprite ...
  EXPECT_EQ(s.At(10 + 256, 700), kBlack);  // ... covered where drawn
  EXPECT_EQ(s.At(11 + 256, 700), kWhite);  // ... white mask where clear
  s.PutOpaque(p, 0, 0);
  EXPECT_EQ(s.At(1, 0), kBlack);

  std::vector<uint8_t> dib = EncodeDib(s);
  ASSERT_EQ(dib.size(), 451624u);
  EXPECT_EQ(dib[0], 40);
  EXPECT_EQ(dib[14], 8);
  EXPECT_EQ(dib[32], 0);  // biClrUsed = 256: low byte 0, next byte 1
  EXPECT_EQ(dib[33], 1);
  // the top row of the picture is the last row stored
  EXPECT_EQ(dib[1064 + 703 * 640 + 0], Ink("gold", 4));
  EXPECT_EQ(dib[1064 + 3 * 640 + 10], Ink("gold", 4));  // y 700 is stored fourth
  const Rgb& gold = PaletteColour(Ink("gold", 4));
  EXPECT_EQ(dib[40 + 4 * Ink("gold", 4) + 0], gold.b);
  EXPECT_EQ(dib[40 + 4 * Ink("gold", 4) + 2], gold.r);
}

TEST_F(SheetTool, IconLayout) {
  Sheet s;
  std::vector<uint8_t> ico = EncodeIcon(s);
  // directory, two entries, two images of 40 + 4 n^2 + mask bytes
  ASSERT_EQ(ico.size(), 6u + 32u + (40 + 4096 + 128) + (40 + 1024 + 64));
  EXPECT_EQ(ico[4], 2);
  EXPECT_EQ(ico[6], 32);
  EXPECT_EQ(ico[22], 16);
  // an all-black sheet has an all-covered mask there, so every icon pixel is opaque black
  EXPECT_EQ(ico[38 + 40 + 3], 0xff);
}

TEST_F(SheetTool, TheRepositoryDataDrawsAWholeSheet) {
  Sheet s;
  std::string error, dir = SHEET_DATA_DIR;
  ASSERT_TRUE(DrawTiles(s, dir, error)) << error;
  ASSERT_TRUE(DrawCharacters(s, dir, error)) << error;
  ASSERT_TRUE(DrawSmallSprites(s, dir, error)) << error;
  ASSERT_TRUE(DrawLettering(s, dir, error)) << error;
  // the same data give the same sheet (no clock, no randomness)
  Sheet again;
  DrawTiles(again, dir, error), DrawCharacters(again, dir, error);
  DrawSmallSprites(again, dir, error), DrawLettering(again, dir, error);
  EXPECT_TRUE(s.px == again.px);
  // a character row with a bad line is refused
  std::string bad = testing::TempDir() + "badchars";
  std::string cmd = "mkdir -p " + bad;
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::ofstream(bad + "/characters.txt") << "15 nobody skin hair short red red tunic - - no 0\n";
  EXPECT_FALSE(DrawCharacters(s, bad, error));
}

}  // namespace
