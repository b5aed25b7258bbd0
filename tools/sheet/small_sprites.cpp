// The shadow, the hearts, the message box pieces and the footprints.
#include "art.h"

namespace sheet {

namespace {

constexpr int kRow = 480;

Picture ShadowPicture() {
  Picture p(32, 32);
  // a soft ellipse: dark core, lighter rim, under the feet of a body drawn 4 px higher
  FillEllipse(p, 32, 51, 21, 7, Ink("stone", 1));
  FillEllipse(p, 32, 51, 16, 5, Ink("stone", 0));
  return p;
}

Picture HeartPicture(const Grid& g, bool full) {
  Picture p(32, 32);
  Blit(p, GridPicture(g, {{"heart", full ? "red" : "stone"}}), 8, 10);
  OutlineClear(p);  // a dark rim keeps the heart readable on any floor
  return p;
}

// The message box: a plain fill, and corners whose outer edge is rounded with radius 6.
Picture BoxPiece(int corner) {  // -1 fill, 0 tl, 1 tr, 2 bl, 3 br
  Picture p(32, 32, Ink("box", 2));
  if (corner < 0) return p;
  const int r = 6;
  for (int y = 0; y < r; ++y)
    for (int x = 0; x < r; ++x) {
      double dx = r - x - 0.5, dy = r - y - 0.5;
      if (dx * dx + dy * dy > r * r) {
        int px = (corner == 1 || corner == 3) ? 31 - x : x;
        int py = (corner == 2 || corner == 3) ? 31 - y : y;
        p.Set(px, py, kClear);
      }
    }
  return p;
}

// One pair of small soles, toes pointing in the walking direction.
Picture Footprints(int dir) {
  Picture up(32, 32);
  int ink = Ink("stone", 1);
  auto sole = [&](int x, int y) {
    FillRect(up, x, y + 1, 3, 3, ink);
    FillRect(up, x + 1, y, 1, 1, ink);
    FillRect(up, x, y + 5, 3, 2, ink);
  };
  sole(11, 12);
  sole(18, 17);
  if (dir == 0) return up;
  Picture out(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int sx, sy;  // rotate the upward picture
      if (dir == 1)
        sx = y, sy = 31 - x;
      else if (dir == 2)
        sx = 31 - x, sy = 31 - y;
      else
        sx = 31 - y, sy = x;
      out.Set(x, y, up.Get(sx, sy));
    }
  return out;
}

}  // namespace

bool DrawSmallSprites(Sheet& s, const std::string& dataDir, std::string& error) {
  std::map<std::string, Grid> grids;
  if (!LoadGrids(dataDir + "/sprites.txt", grids, error)) return false;
  if (!grids.count("heart")) {
    error = "sprites.txt has no heart";
    return false;
  }
  s.PutMasked(ShadowPicture(), 0, kRow);
  s.PutMasked(HeartPicture(grids["heart"], false), 32, kRow);
  s.PutMasked(HeartPicture(grids["heart"], true), 64, kRow);
  for (int k = -1; k < 4; ++k) s.PutMasked(BoxPiece(k), 128 + 32 * k, kRow);
  for (int d = 0; d < 4; ++d) s.PutMasked(Footprints(d), 32 * d, 512);
  return true;
}

}  // namespace sheet
