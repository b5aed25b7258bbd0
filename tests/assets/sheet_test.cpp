// The embedded sprite sheet "PAT" and icon "ICO": exactly what the sheet tool draws from
// data/sheet, with the colours and mask convention the game draws with.
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

TEST(Sheet, TheToolDrawsTheEmbeddedSheetAndIconWithTrueMasks) {
  sheet::Sheet s;
  std::string error, dir = SHEET_DATA_DIR;
  ASSERT_TRUE(sheet::LoadPalette(dir + "/palette.txt", error)) << error;
  ASSERT_TRUE(sheet::DrawTiles(s, dir, error) && sheet::DrawCharacters(s, dir, error) &&
              sheet::DrawSmallSprites(s, dir, error) && sheet::DrawLettering(s, dir, error))
      << error;
  EXPECT_TRUE(sheet::EncodeDib(s) == Bytes("BITMAP", "pat"));  // names match in any case
  EXPECT_TRUE(sheet::EncodeIcon(s) == Bytes("ICON", "ICO"));
  // Colours 0 (black), 255 and 10-170 only. Masked sprites (characters, small sprites,
  // footprints): the mask, 256 pixels to the right, is black or white, and the sprite is
  // black wherever its mask is white.
  const std::vector<uint8_t> d = Bytes("BITMAP", "PAT");
  for (int v : std::set<int>(d.begin() + 1064, d.end()))
    EXPECT_TRUE(v == 0 || v == 255 || (v >= 10 && v <= 170)) << v;
  auto at = [&](int x, int y) { return d[1064 + size_t(703 - y) * 640 + size_t(x)]; };
  for (auto [x0, y0, w, h] : {std::array{0, 192, 256, 288}, {0, 480, 256, 32}, {0, 512, 128, 32}})
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) {
        ASSERT_TRUE(at(x + 256, y) == 0 || at(x + 256, y) == 255) << x << "," << y;
        ASSERT_TRUE(at(x + 256, y) == 0 || at(x, y) == 0) << x << "," << y;
      }
}

}  // namespace
