// The embedded sprite sheet "PAT" and icon "ICO": exactly what the sheet tool draws from
// data/sheet, in colours the game's palette holds.
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
  // Colours 0 (black), 255 and 10-170 only: the game's palette takes entries 10-245.
  const std::vector<uint8_t> d = Bytes("BITMAP", "PAT");
  for (int v : std::set<int>(d.begin() + 1064, d.end()))
    EXPECT_TRUE(v == 0 || v == 255 || (v >= 10 && v <= 170)) << v;
}

}  // namespace
