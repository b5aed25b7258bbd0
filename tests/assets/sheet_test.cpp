// The embedded sprite sheet "PAT" and icon "ICO": exactly what the sheet tool draws from
// data/sheet, in the format, colours and mask convention the game reads.
#include <gtest/gtest.h>

#include <set>

#include "art.h"
#include "platform/platform.h"

namespace {

using quillorn::platform::FindResource;
using quillorn::platform::Resource;

std::vector<uint8_t> Bytes(const char* type, const char* name) {
  Resource r;
  EXPECT_TRUE(FindResource(type, name, r)) << name;
  return {r.data, r.data + r.size};
}

TEST(Sheet, TheToolDrawsTheEmbeddedSheetAndIcon) {
  sheet::Sheet s;
  std::string error, dir = SHEET_DATA_DIR;
  ASSERT_TRUE(sheet::LoadPalette(dir + "/palette.txt", error)) << error;
  ASSERT_TRUE(sheet::DrawTiles(s, dir, error) && sheet::DrawCharacters(s, dir, error) &&
              sheet::DrawSmallSprites(s, dir, error) && sheet::DrawLettering(s, dir, error))
      << error;
  EXPECT_TRUE(sheet::EncodeDib(s) == Bytes("BITMAP", "pat"));  // names match in any case
  EXPECT_TRUE(sheet::EncodeIcon(s) == Bytes("ICON", "ICO"));
}

TEST(Sheet, AnEightBitBottomUpDibWithFewColoursAndTrueMasks) {
  const std::vector<uint8_t> d = Bytes("BITMAP", "PAT");
  ASSERT_EQ(d.size(), 40u + 1024 + 640 * 704);
  auto u32 = [&](size_t at) {
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | uint32_t(d[at + 3]) << 24;
  };
  const uint32_t header[10] = {40, 640, 704, 0x80001, 0, 0, 0, 0, 256, 0};
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(u32(4 * i), header[i]) << i;
  // Black 0, white 255, indices 10-170 coloured and never black, the rest unused.
  EXPECT_EQ(std::pair(u32(40), u32(40 + 4 * 255)), std::pair(0u, 0xFFFFFFu));
  for (int i = 10; i <= 170; ++i) EXPECT_NE(u32(40 + 4 * size_t(i)) & 0xFFFFFF, 0u) << i;
  for (int i = 0; i < 256; ++i) EXPECT_EQ(d[40 + 4 * size_t(i) + 3], 0) << i;
  std::set<int> used(d.begin() + 1064, d.end());
  for (int v : used) EXPECT_TRUE(v == 0 || v == 255 || (v >= 10 && v <= 170)) << v;
  // Masked sprites (characters, small sprites, footprints): the mask, 256 pixels to the
  // right, is black or white, and the sprite is black wherever its mask is white.
  auto at = [&](int x, int y) { return d[1064 + size_t(703 - y) * 640 + size_t(x)]; };
  for (auto [x0, y0, w, h] : {std::array{0, 192, 256, 288}, {0, 480, 256, 32}, {0, 512, 128, 32}})
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) {
        ASSERT_TRUE(at(x + 256, y) == 0 || at(x + 256, y) == 255) << x << "," << y;
        ASSERT_TRUE(at(x + 256, y) == 0 || at(x, y) == 0) << x << "," << y;
      }
}

}  // namespace
