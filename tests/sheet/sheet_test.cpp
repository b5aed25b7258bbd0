// The embedded sprite sheet "PAT" and the icon "ICO": format, colours, masks and the pictures
// every scene draws from.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>

#include "platform/platform.h"
#include "platform/resources/icon_image.h"

namespace {

using quillorn::platform::FindResource;
using quillorn::platform::Resource;

constexpr int kW = 640, kH = 704, kPixels = 1064;

uint32_t U32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) {
  return uint16_t(p[0] | p[1] << 8);
}

class Sheet : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(FindResource("BITMAP", "pat", res_)); }
  // Colour index at top-down sheet coordinates.
  int At(int x, int y) const { return res_.data[kPixels + (kH - 1 - y) * kW + x]; }
  int MaskAt(int x, int y) const { return At(x + 256, y); }
  int CountCovered(int x, int y, int w, int h) const {
    int n = 0;
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) n += MaskAt(i, j) == 0;
    return n;
  }
  bool AllBlack(int x, int y, int w, int h) const {
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i)
        if (At(i, j) != 0) return false;
    return true;
  }
  int Distinct(int x, int y, int w, int h) const {
    std::set<int> s;
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) s.insert(At(i, j));
    return int(s.size());
  }
  int CountIndex(int x, int y, int w, int h, int index) const {
    int n = 0;
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) n += At(i, j) == index;
    return n;
  }
  bool SameCell(int ax, int ay, int bx, int by) const {
    for (int j = 0; j < 32; ++j)
      for (int i = 0; i < 32; ++i)
        if (At(ax + i, ay + j) != At(bx + i, by + j)) return false;
    return true;
  }
  // Last row (0-31) of a 32 x 32 sprite that its mask covers.
  int LowestCoveredRow(int x, int y) const {
    for (int j = 31; j >= 0; --j)
      for (int i = 0; i < 32; ++i)
        if (MaskAt(x + i, y + j) == 0) return j;
    return -1;
  }
  Resource res_;
};

TEST_F(Sheet, HeaderIsAnEightBitBottomUpDibWithAFullColourTable) {
  ASSERT_EQ(res_.size, 451624u);
  const uint8_t* d = res_.data;
  EXPECT_EQ(U32(d + 0), 40u);
  EXPECT_EQ(U32(d + 4), 640u);
  EXPECT_EQ(U32(d + 8), 704u);
  EXPECT_EQ(U16(d + 12), 1);
  EXPECT_EQ(U16(d + 14), 8);
  for (int off : {16, 20, 24, 28, 36}) EXPECT_EQ(U32(d + off), 0u) << "offset " << off;
  EXPECT_EQ(U32(d + 32), 256u);
  // index 0 black, 255 white, every entry's fourth byte 0
  EXPECT_EQ(U32(d + 40), 0u);
  EXPECT_EQ(U32(d + 40 + 4 * 255), 0x00ffffffu);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(d[40 + 4 * i + 3], 0) << "entry " << i;
  EXPECT_TRUE(FindResource("bitmap", "PAT", res_));  // names match without regard to case
}

TEST_F(Sheet, PixelsUseOnlyBlackWhiteAndIndicesTenToOneHundredSeventy) {
  std::set<int> bad;
  for (int i = 0; i < kW * kH; ++i) {
    int c = res_.data[kPixels + i];
    if ((c >= 1 && c <= 9) || (c >= 171 && c <= 254)) bad.insert(c);
  }
  EXPECT_TRUE(bad.empty()) << "first bad index " << (bad.empty() ? 0 : *bad.begin());
  // the colours in use are distinct from black, so outlines are never the mask colour
  for (int i = 10; i <= 170; ++i) EXPECT_NE(U32(res_.data + 40 + 4 * i), 0u) << "entry " << i;
}

TEST_F(Sheet, MaskedSpritesFollowTheMaskConvention) {
  struct Area {
    int x, y, w, h;
  };
  const Area masked[] = {{0, 192, 256, 288}, {0, 480, 256, 32}, {0, 512, 128, 32}};
  for (const Area& a : masked)
    for (int y = a.y; y < a.y + a.h; ++y)
      for (int x = a.x; x < a.x + a.w; ++x) {
        int m = MaskAt(x, y);
        ASSERT_TRUE(m == 0 || m == 255) << "mask " << m << " at " << x << "," << y;
        if (m == 255) {
          ASSERT_EQ(At(x, y), 0) << "sprite not black under a clear mask at " << x << "," << y;
        }
      }
}

TEST_F(Sheet, BlackAreaAndUnusedPlacesAreBlack) {
  EXPECT_TRUE(AllBlack(512, 320, 128, 160));  // the black area, text scratch eraser included
  EXPECT_TRUE(AllBlack(512, 480, 128, 64));   // right of the small sprites' masks
  EXPECT_TRUE(AllBlack(128, 512, 128, 32));   // beside the footprints
  EXPECT_TRUE(AllBlack(384, 512, 256, 32));   // beside the footprints' masks
  EXPECT_TRUE(AllBlack(416, 544, 64, 64));    // between logo and credits
  EXPECT_TRUE(AllBlack(192, 608, 288, 96));   // right of the key prompt
  EXPECT_TRUE(AllBlack(480, 672, 160, 32));   // below the credits
  EXPECT_TRUE(AllBlack(608, 160, 32, 32));    // the border tile 119
}

TEST_F(Sheet, EveryTileHasAPicture) {
  for (int id = 0; id < 119; ++id) {
    int x = 32 * (id % 20), y = 32 * (id / 20);
    EXPECT_GE(Distinct(x, y, 32, 32), 3) << "tile " << id;
    EXPECT_LT(CountIndex(x, y, 32, 32, 0), 32 * 32 / 2) << "tile " << id << " mostly black";
  }
  // the staff roll's walls and pot, the start room's floor and carpet are all distinct tiles
  EXPECT_FALSE(SameCell(32, 128, 32, 160));  // 81 top, 101 face
  EXPECT_FALSE(SameCell(0, 0, 160, 0));      // 0 floor, 5 carpet
  EXPECT_FALSE(SameCell(544, 128, 0, 0));    // 97 flower pot over the floor
}

TEST_F(Sheet, FloorsTileWithoutSeamsAlongTheirEdges) {
  // Opposite edges of a seamless floor look alike: compare the colour histograms of the
  // first and last column and row; a drawn border (carpets with a trim) is allowed to match.
  for (int id : {0, 1, 2, 4, 5, 8, 9, 12, 14, 15, 27, 30, 32}) {
    int x = 32 * (id % 20), y = 32 * (id / 20);
    int diffCols = 0, diffRows = 0;
    for (int k = 0; k < 32; ++k) {
      diffCols += At(x, y + k) != At(x + 31, y + k);
      diffRows += At(x + k, y) != At(x + k, y + 31);
    }
    EXPECT_LT(diffCols + diffRows, 64) << "tile " << id;
  }
}

TEST_F(Sheet, CharactersHaveEightDistinctFramesStandingOnTheirShadow) {
  for (int row = 6; row <= 14; ++row) {
    int y = 32 * row;
    for (int f = 0; f < 8; ++f) {
      int x = 32 * f;
      EXPECT_GE(CountCovered(x, y, 32, 32), 150) << "row " << row << " frame " << f;
      int lowest = LowestCoveredRow(x, y);
      EXPECT_GE(lowest, 27) << "row " << row << " frame " << f;  // feet 2-4 px above the bottom
      EXPECT_LE(lowest, 29) << "row " << row << " frame " << f;
    }
    for (int d = 0; d < 4; ++d)
      EXPECT_FALSE(SameCell(64 * d, y, 64 * d + 32, y))
          << "row " << row << ": no step in dir " << d;
    EXPECT_FALSE(SameCell(0, y, 128, y)) << "row " << row << ": back equals front";
    EXPECT_FALSE(SameCell(64, y, 192, y)) << "row " << row << ": right equals left";
  }
  // the small boy is clearly shorter than the grown-ups
  auto height = [&](int row) {
    for (int j = 0; j < 32; ++j)
      for (int i = 0; i < 32; ++i)
        if (MaskAt(128 + i, 32 * row + j) == 0) return 32 - j;
    return 0;
  };
  EXPECT_LE(height(13) + 4, height(11));
  for (int row = 7; row <= 14; ++row) EXPECT_FALSE(SameCell(128, 192, 128, 32 * row)) << row;
}

TEST_F(Sheet, ShadowHeartsAndMessageBox) {
  // shadow: a flat shape in the lower part of its cell
  EXPECT_GE(CountCovered(0, 480, 32, 32), 60);
  EXPECT_EQ(CountCovered(0, 480, 32, 20), 0);
  // hearts: present and different
  EXPECT_GE(CountCovered(32, 480, 32, 32), 100);
  EXPECT_GE(CountCovered(64, 480, 32, 32), 100);
  EXPECT_FALSE(SameCell(32, 480, 64, 480));
  // the box fill covers its whole cell in one colour
  EXPECT_EQ(CountCovered(96, 480, 32, 32), 32 * 32);
  EXPECT_EQ(Distinct(96, 480, 32, 32), 1);
  int fill = At(96, 480);
  EXPECT_NE(fill, 0);
  // corners: clear at the outer corner, the fill's colour from the inner corner inward
  const int outer[4][2] = {{0, 0}, {31, 0}, {0, 31}, {31, 31}};
  for (int k = 0; k < 4; ++k) {
    int x = 128 + 32 * k, y = 480;
    EXPECT_EQ(MaskAt(x + outer[k][0], y + outer[k][1]), 255) << "corner " << k;
    EXPECT_EQ(At(x + 31 - outer[k][0], y + 31 - outer[k][1]), fill) << "corner " << k;
    EXPECT_EQ(At(x + 16, y + 16), fill) << "corner " << k;
    int clear = 32 * 32 - CountCovered(x, y, 32, 32);
    EXPECT_GT(clear, 4) << "corner " << k;
    EXPECT_LT(clear, 60) << "corner " << k;
  }
}

TEST_F(Sheet, FootprintsPointFourWays) {
  for (int d = 0; d < 4; ++d) {
    EXPECT_GE(CountCovered(32 * d, 512, 32, 32), 20) << d;
    for (int e = d + 1; e < 4; ++e) EXPECT_FALSE(SameCell(32 * d, 512, 32 * e, 512)) << d << e;
  }
}

TEST_F(Sheet, CaptionsLogoPromptAndCredits) {
  for (int i = 0; i < 4; ++i) {
    int y = 192 + 32 * i;
    EXPECT_GE(CountIndex(512, y, 64, 32, 255), 40) << "caption " << i;  // white letters
    EXPECT_EQ(At(512, y), At(96, 480)) << "caption " << i << " on the box's green";
    EXPECT_FALSE(SameCell(512, y, 576, y)) << "caption " << i;
    EXPECT_GE(Distinct(576, y, 64, 32), 2) << "highlight " << i;
    if (i) {
      EXPECT_FALSE(SameCell(512, y, 512, y - 32)) << "caption " << i;
    }
  }
  EXPECT_GE(Distinct(0, 544, 416, 64), 6);  // logo: shaded lettering
  EXPECT_GE(416 * 64 - CountIndex(0, 544, 416, 64, 0), 3000);
  EXPECT_GE(CountIndex(0, 608, 192, 64, 255), 200);  // prompt: white on black
  EXPECT_EQ(CountIndex(0, 608, 192, 64, 0) + CountIndex(0, 608, 192, 64, 255), 192 * 64);
  // credits: four separate lines of white on black
  int lines = 0;
  bool inLine = false;
  for (int y = 544; y < 672; ++y) {
    bool lit = CountIndex(480, y, 160, 1, 255) > 0;
    if (lit && !inLine) ++lines;
    inLine = lit;
  }
  EXPECT_EQ(lines, 4);
  EXPECT_EQ(CountIndex(480, 544, 160, 128, 0) + CountIndex(480, 544, 160, 128, 255), 160 * 128);
}

TEST(Icon, HoldsTheKingsHeadAtThirtyTwoAndSixteen) {
  Resource r;
  ASSERT_TRUE(FindResource("ICON", "ico", r));
  const uint8_t* d = r.data;
  ASSERT_GE(r.size, 6u + 32u);
  EXPECT_EQ(U16(d), 0);
  EXPECT_EQ(U16(d + 2), 1);
  ASSERT_EQ(U16(d + 4), 2);
  const int sizes[2] = {32, 16};
  for (int k = 0; k < 2; ++k) {
    const uint8_t* e = d + 6 + 16 * k;
    int n = sizes[k];
    EXPECT_EQ(e[0], n);
    EXPECT_EQ(e[1], n);
    EXPECT_EQ(U16(e + 4), 1);
    EXPECT_EQ(U16(e + 6), 32);
    uint32_t bytes = U32(e + 8), off = U32(e + 12);
    uint32_t maskStride = ((n + 31) / 32) * 4;
    EXPECT_EQ(bytes, 40 + 4u * n * n + maskStride * n);
    ASSERT_LE(off + bytes, r.size);
    const uint8_t* bmp = d + off;
    EXPECT_EQ(U32(bmp), 40u);
    EXPECT_EQ(U32(bmp + 4), uint32_t(n));
    EXPECT_EQ(U32(bmp + 8), uint32_t(2 * n));  // colour and mask rows
    EXPECT_EQ(U16(bmp + 14), 32);
    int opaque = 0;
    for (int i = 0; i < n * n; ++i) opaque += bmp[40 + 4 * i + 3] == 0xff;
    EXPECT_GT(opaque, n * n / 4) << n;
    EXPECT_LT(opaque, n * n) << n;
  }
}

// The icon shows the king's head as the front-facing sheet frame has it: the same colours
// where the sheet's mask covers, transparent elsewhere.
TEST(Icon, DecodesToTheKingsHeadFromTheSheet) {
  Resource sheet;
  ASSERT_TRUE(FindResource("BITMAP", "PAT", sheet));
  auto sheetArgb = [&](int x, int y) -> uint32_t {
    const uint8_t* px = sheet.data + kPixels;
    if (px[(kH - 1 - y) * kW + x + 256] == 255) return 0;
    const uint8_t* c = sheet.data + 40 + 4 * px[(kH - 1 - y) * kW + x];
    return 0xff000000u | uint32_t(c[2]) << 16 | uint32_t(c[1]) << 8 | c[0];
  };
  for (int size : {32, 16}) {
    quillorn::platform::IconImage img;
    ASSERT_TRUE(quillorn::platform::LoadIcon("ICO", size, img)) << size;
    ASSERT_EQ(img.width, size);
    ASSERT_EQ(img.height, size);
    int scale = size / 16, crown = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        uint32_t want = sheetArgb(128 + 8 + x / scale, 192 + 1 + y / scale);
        ASSERT_EQ(img.argb[y * size + x], want) << size << ": " << x << "," << y;
        crown += y < size / 4 && (want >> 24) != 0;
      }
    EXPECT_GT(crown, size) << "the crown sits at the top of the icon";
  }
}

}  // namespace
