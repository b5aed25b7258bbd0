// make_sheet DATA_DIR OUT_PAT OUT_ICO: draws the sprite sheet from the readable sources in
// DATA_DIR and writes it as a headerless 8-bit DIB, plus the window icon.
#include <cstdio>
#include <fstream>

#include "art.h"

namespace {

bool WriteFile(const char* path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_sheet DATA_DIR OUT_PAT OUT_ICO\n");
    return 2;
  }
  std::string dir = argv[1], error;
  sheet::Sheet s;
  bool ok = sheet::LoadPalette(dir + "/palette.txt", error) && sheet::DrawTiles(s, dir, error) &&
            sheet::DrawCharacters(s, dir, error) && sheet::DrawSmallSprites(s, dir, error) &&
            sheet::DrawLettering(s, dir, error);
  if (!ok) {
    std::fprintf(stderr, "make_sheet: %s\n", error.c_str());
    return 1;
  }
  if (!WriteFile(argv[2], sheet::EncodeDib(s)) || !WriteFile(argv[3], sheet::EncodeIcon(s))) {
    std::fprintf(stderr, "make_sheet: cannot write output\n");
    return 1;
  }
  return 0;
}
