// The 120 map tiles. Floors are seamless textures; furniture stands on a floor, shaded from
// the top left and outlined in the dark of its own material, with a soft shadow on the floor.
#include <algorithm>
#include <cmath>
#include <functional>

#include "art.h"

namespace sheet {

namespace {

using Pic = Picture;

// ---- helpers ----------------------------------------------------------------------------
// Shifts an already drawn pixel along its own ramp (negative: darker).
void Tint(Pic& p, int x, int y, int delta) {
  std::string r;
  int s;
  int c = p.Get(x, y);
  if (c != kClear && RampOf(c, r, s)) p.Set(x, y, Ink(r, s + delta));
}

// A shadow cast down and to the right of a shape onto what lies beneath it.
void CastShadow(Pic& p, const Shape& s, int dx = 2, int dy = 2) {
  Shape sh(s.w, s.h);
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x)
      if (s.Has(x - dx, y - dy) || s.Has(x - dx / 2, y - dy)) sh.Add(x, y);
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x)
      if (sh.Has(x, y) && !s.Has(x, y)) Tint(p, x, y, -1);
}

// Floor textures --------------------------------------------------------------------------
void Speckle(Pic& p, int seed, int rate, int delta) {
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x)
      if (Noise(x, y, seed) < rate) Tint(p, x, y, delta);
}

// Rectangular slabs of bw x bh, every other row shifted by `shift`; joints one shade down,
// the top-left rim of every slab one shade up. Sizes divide 32, so it tiles.
void Slabs(Pic& p, const std::string& ramp, int base, int bw, int bh, int shift, int seed) {
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int row = y / bh, sx = (x + (row % 2) * shift) % 32;
      int lx = sx % bw, ly = y % bh;
      int slab = row * 8 + (x + (row % 2) * shift) % 32 / bw;
      int shade = base + ((Noise(slab, 7, seed) & 3) == 0 ? -1 : 0) * 0;
      int c = Ink(ramp, shade);
      if (lx == bw - 1 || ly == bh - 1)
        c = Ink(ramp, base - 1);
      else if (lx == 0 || ly == 0)
        c = Ink(ramp, base + 1);
      p.Set(x, y, c);
      // a few slabs a shade different, for variety
      if ((Noise(slab, 3, seed) & 7) == 0 && lx != bw - 1 && ly != bh - 1 && lx && ly)
        p.Set(x, y, Ink(ramp, base - 1 + ((Noise(slab, 5, seed) & 1) ? 0 : 2) * 0));
    }
  Speckle(p, seed, 14, -1);
}

void Planks(Pic& p, const std::string& ramp, int base, int seed, int width = 8) {
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int col = x / width, lx = x % width;
      int joint = (col * 13 + (seed & 3) * 5) % 32;  // plank ends, staggered per column
      int c = Ink(ramp, base);
      if (Noise(x, (y + col * 11) / 6, seed) < 34)
        c = Ink(ramp, base - 1);  // grain along the plank
      if (lx == 0) c = Ink(ramp, base + 1);
      if (lx == width - 1) c = Ink(ramp, base - 2);
      if (y == joint) c = Ink(ramp, base - 2);
      if (y == (joint + 1) % 32 && lx != width - 1) c = Ink(ramp, base + 1);
      p.Set(x, y, c);
    }
}

void Plain(Pic& p, const std::string& ramp, int base, int seed, int rate = 30) {
  FillRect(p, 0, 0, 32, 32, Ink(ramp, base));
  Speckle(p, seed, rate, -1);
  Speckle(p, seed + 1, rate / 2, 1);
}

void Grass(Pic& p, int seed) {
  Plain(p, "green", 3, seed, 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int n = Noise(x, y, seed);
      if (n < 40)
        p.Set(x, y, Ink("green", 2));
      else if (n < 60) {
        p.Set(x, y, Ink("green", 4));
        p.Set(x, (y + 1) % 32, Ink("green", 2));
      }
    }
}

// A carpet with a diamond lattice of thin trim lines every 16 pixels and a dot in each
// diamond: it continues across tiles, so any area of it reads as one carpet.
void Lattice(Pic& p, const std::string& ramp, int base, const std::string& trim, int seed) {
  FillRect(p, 0, 0, 32, 32, Ink(ramp, base));
  Speckle(p, seed, 10, -1);
  Speckle(p, seed + 1, 6, 1);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      if ((x + y) % 16 == 0 || (x - y + 32) % 16 == 0) p.Set(x, y, Ink(trim, 3));
      if ((x + y) % 16 == 1 || (x - y + 32) % 16 == 1) Tint(p, x, y, -1);
      if (x % 16 == 8 && y % 16 == 0) p.Set(x, y, Ink(trim, 5));
    }
}

void Carpet(Pic& p, const std::string& ramp, int base, const std::string& trim, bool edgesLR,
            bool edgesTB, int seed) {
  Plain(p, ramp, base, seed, 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if ((x + y) % 4 == 0 && (x / 2 + y / 2) % 2 == 0) Tint(p, x, y, -1);  // weave
  Speckle(p, seed, 6, 1);
  if (edgesLR)
    for (int y = 0; y < 32; ++y) {
      p.Set(1, y, Ink(trim, 4)), p.Set(2, y, Ink(trim, 3)), p.Set(0, y, Ink(ramp, base - 2));
      p.Set(30, y, Ink(trim, 3)), p.Set(29, y, Ink(trim, 4)), p.Set(31, y, Ink(ramp, base - 2));
    }
  if (edgesTB)
    for (int x = 0; x < 32; ++x) {
      p.Set(x, 1, Ink(trim, 4)), p.Set(x, 2, Ink(trim, 3)), p.Set(x, 0, Ink(ramp, base - 2));
      p.Set(x, 30, Ink(trim, 3)), p.Set(x, 29, Ink(trim, 4)), p.Set(x, 31, Ink(ramp, base - 2));
    }
}

// Walls ----------------------------------------------------------------------------------
// The top of a wall seen from above: big dark capstones with a lit rim.
void WallTop(Pic& p, const std::string& ramp, int base) {
  Slabs(p, ramp, base, 16, 16, 8, 81);
}

// The face of a wall: courses of stones 8 px high, lit along their top.
void WallFace(Pic& p, const std::string& ramp, int base, int bw = 16) {
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int course = y / 8, ly = y % 8, lx = (x + (course % 2) * (bw / 2)) % bw;
      int stone = course * 4 + (x + (course % 2) * (bw / 2)) % 32 / bw;
      int s = base + ((Noise(stone, 1, 101) & 3) == 0 ? -1 : 0);
      int c = Ink(ramp, s);
      if (ly == 0) c = Ink(ramp, s + 1);
      if (ly == 6) c = Ink(ramp, s - 1);
      if (lx == 0 && ly != 7) c = Ink(ramp, s + 1);
      if (lx == bw - 1) c = Ink(ramp, base - 2);
      if (ly == 7) c = Ink(ramp, base - 2);
      p.Set(x, y, c);
    }
  Speckle(p, 55, 10, -1);
}

// A pilaster of dressed stone: the wall fittings that both wall styles share stand on it,
// and its own edges end the neighbouring courses of either style.
void Pilaster(Pic& p) {
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int c = Ink("wall", 5);
      if (y % 16 == 15)
        c = Ink("wall", 3);
      else if (y % 16 == 0)
        c = Ink("wall", 6);
      if (x <= 1 || x >= 30)
        c = Ink("wall", 1);
      else if (x == 2)
        c = Ink("wall", 6);
      else if (x >= 27)
        c = Ink("wall", 4);
      p.Set(x, y, c);
    }
  Speckle(p, 108, 12, -1);
}

// Objects ---------------------------------------------------------------------------------
// A block seen slightly from above: a lit top of height `top`, then a front face.
void Block(Pic& p, int x, int y, int w, int h, int top, const std::string& ramp, int base,
           bool shadow = true) {
  Shape all;
  all.Rect(x, y, w, h);
  if (shadow) CastShadow(p, all);
  Shape t, f;
  t.Rect(x, y, w, top);
  f.Rect(x, y + top, w, h - top);
  Paint(p, f, ramp, base - 1, Edge::kNone);
  Paint(p, t, ramp, base + 1, Edge::kNone);
  // outline round the whole block
  for (int j = y - 1; j <= y + h; ++j)
    for (int i = x - 1; i <= x + w; ++i)
      if (!all.Has(i, j) &&
          (all.Has(i - 1, j) || all.Has(i + 1, j) || all.Has(i, j - 1) || all.Has(i, j + 1)))
        p.Set(i, j, Ink(ramp, 0));
  HLine(p, x, x + w - 1, y + top, Ink(ramp, 0));
}

void Disc(Pic& p, int cx2, int cy2, int rx2, int ry2, const std::string& ramp, int base,
          bool shadow = true) {
  Shape s;
  s.Ellipse(cx2, cy2, rx2, ry2);
  if (shadow) CastShadow(p, s);
  Paint(p, s, ramp, base);
}

constexpr int kRugGround = -1;  // a red rug under the title room's table and chairs

Pic OnFloor(int floorId = 0) {
  if (floorId == kRugGround) {
    Pic p(32, 32);
    Lattice(p, "red", 2, "gold", 51);
    return p;
  }
  return FloorTile(floorId);
}

// The flower pot: a terracotta pot of blooms standing on the plain stone floor.
Pic FlowerPot(const std::string& bloom, int floorId) {
  Pic p = OnFloor(floorId);
  Shape pot;
  for (int y = 18; y <= 28; ++y) {
    int in = (y - 18) / 3;
    for (int x = 9 + in; x <= 22 - in; ++x) pot.Add(x, y);
  }
  CastShadow(p, pot);
  Paint(p, pot, "terra", 4);
  HLine(p, 8, 23, 18, Ink("terra", 5));
  HLine(p, 8, 23, 19, Ink("terra", 3));
  for (int y : {18, 19}) p.Set(7, y, Ink("terra", 0)), p.Set(24, y, Ink("terra", 0));
  // a full bush of leaves, blossoms on top
  Shape leaves;
  leaves.Ellipse(32, 24, 26, 19);
  leaves.Ellipse(16, 30, 10, 9);
  leaves.Ellipse(48, 30, 10, 9);
  CastShadow(p, leaves, 1, 2);
  Paint(p, leaves, "green", 3);
  for (int k = 0; k < 10; ++k)
    p.Set(6 + Noise(k, 1, 97) % 20, 5 + Noise(k, 2, 97) % 12, Ink("green", 5));
  const int spots[][2] = {{10, 8}, {16, 5}, {22, 8}, {13, 13}, {19, 12}, {7, 14}, {25, 14}};
  for (auto& sp : spots) {
    Shape f;
    f.Ellipse(2 * sp[0] + 1, 2 * sp[1] + 1, 6, 6);
    Paint(p, f, bloom, 4);
    p.Set(sp[0], sp[1], Ink("gold", 6));
  }
  return p;
}

Pic Shelf(int floorId, const std::function<void(Pic&, int, int)>& item) {
  Pic p = OnFloor(floorId);
  Block(p, 3, 2, 26, 26, 4, "wood", 3);
  for (int row = 0; row < 3; ++row) {
    int y = 7 + row * 7;
    FillRect(p, 5, y, 22, 6, Ink("wood", 1));
    HLine(p, 5, 26, y + 6, Ink("wood", 4));
    for (int k = 0; k < 4; ++k) item(p, 5 + k * 6 - (row % 2), y);
  }
  return p;
}

void Books(Pic& p, int x, int y) {
  const char* ramps[] = {"red", "blue", "green", "purple", "gold", "olive"};
  for (int i = 0; i < 5; ++i) {
    const char* r = ramps[(x * 3 + y + i * 5) % 6];
    int hgt = 4 + (x + i + y) % 3;
    VLine(p, x + i, y + 6 - hgt, y + 5, Ink(r, 3 + (i % 2)));
  }
}

Pic Tile(int id);

}  // namespace

Picture FloorTile(int id) {
  return Tile(id);
}

namespace {

// The floor that each standing object is drawn on: the floor it stands on most in the castle.
// The flower pot 97 stands on the plain stone floor, as the staff roll's corridor needs.
int Ground(int id) {
  switch (id) {
    case 41:
    case 85:
    case 93:
    case 95:
      return 14;
    case 51:
    case 54:
      return kRugGround;
    case 42:
    case 59:
    case 72:
    case 84:
    case 86:
    case 116:
      return 1;
    case 45:
    case 46:
    case 77:
      return 2;
    case 47:
    case 48:
    case 49:
    case 67:
    case 68:
    case 69:
    case 89:
    case 117:
      return 8;
    case 52:
    case 57:
    case 58:
    case 60:
    case 96:
      return 4;
    case 55:
      return 6;
    case 56:
      return 3;
    case 61:
    case 62:
    case 65:
    case 66:
    case 79:
    case 113:
    case 114:
    case 115:
      return 15;
    case 78:
    case 118:
      return 12;
    case 87:
      return 32;
    case 88:
      return 9;
    case 91:
      return 18;
    default:
      return 0;
  }
}

Pic Tile(int id) {
  Pic p(32, 32, Ink("stone", 3));
  const int ground = Ground(id);
  switch (id) {
    // ---- floors ----
    case 0:
      Slabs(p, "stone", 3, 16, 16, 8, 1);
      break;
    case 1:
      Planks(p, "wood", 4, 2);
      break;
    case 2:
      Slabs(p, "stone", 3, 16, 16, 8, 2);
      Line(p, 4, 3, 9, 8, Ink("stone", 1)), Line(p, 9, 8, 12, 7, Ink("stone", 1));
      Line(p, 20, 22, 26, 27, Ink("stone", 1));
      break;
    case 3:
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          bool dark = ((x / 8) + (y / 8)) % 2;
          p.Set(x, y, dark ? Ink("stone", 3) : Ink("cloth", 3));
          if (!dark && (x % 8 == 0 || y % 8 == 0)) p.Set(x, y, Ink("cloth", 4));
        }
      Speckle(p, 3, 10, -1);
      break;
    case 4:
      Slabs(p, "terra", 2, 8, 8, 0, 4);
      break;
    case 5:
      Carpet(p, "red", 3, "gold", false, false, 5);
      break;
    case 6:
      Lattice(p, "blue", 3, "gold", 6);
      break;
    case 7:
      // a rug of green with gold rosettes on a 16-pixel lattice, seamless in every direction
      Carpet(p, "green", 2, "gold", false, false, 7);
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          int dx = std::abs((x + 8) % 16 - 8), dy = std::abs((y + 8) % 16 - 8);
          if (dx + dy == 5) p.Set(x, y, Ink("gold", 3));
          if (dx + dy <= 1) p.Set(x, y, Ink("red", 4));
        }
      break;
    case 8:
      Grass(p, 8);
      break;
    case 9:
      Plain(p, "earth", 5, 9, 60);
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
          if (Noise(x, y, 90) < 25) p.Set(x, y, Ink("stone", 4));
      break;
    case 10:
    case 11: {
      // a staircase: treads stepping down (10) or up (11) towards the top of the tile
      bool down = id == 10;
      FillRect(p, 0, 0, 32, 32, Ink("stone", 1));
      for (int k = 0; k < 5; ++k) {
        int y = 2 + k * 6;
        int shade = down ? 5 - k : 1 + k;
        FillRect(p, 2, y, 28, 5, Ink("stone", std::clamp(shade, 1, 6)));
        HLine(p, 2, 29, y, Ink("stone", std::clamp(shade + 1, 1, 6)));
        HLine(p, 2, 29, y + 5, Ink("stone", 0));
      }
      VLine(p, 1, 0, 31, Ink("wall", 1)), VLine(p, 30, 0, 31, Ink("wall", 1));
      VLine(p, 0, 0, 31, Ink("wall", 3)), VLine(p, 31, 0, 31, Ink("wall", 2));
      break;
    }
    case 12:
      Plain(p, "earth", 3, 12, 50);
      break;
    case 13:
      Carpet(p, "red", 3, "gold", true, false, 13);
      break;
    case 14:
      // parquet: 8 x 8 blocks of four strips, turned a quarter in every other block
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          bool across = ((x / 8) + (y / 8)) % 2;
          int l = across ? y % 4 : x % 4;
          int c = Ink("wood", l == 3 ? 1 : (l == 0 ? 3 : 2));
          if (Noise(x, y, 14) < 20) c = Ink("wood", 1);
          p.Set(x, y, c);
        }
      break;
    case 15:
      Plain(p, "earth", 4, 15, 40);
      for (int k = 0; k < 22; ++k) {
        int x = Noise(k, 1, 15) % 32, y = Noise(k, 2, 15) % 32, d = Noise(k, 3, 15) % 3 - 1;
        for (int i = 0; i < 4; ++i)
          p.Set((x + i) % 32, (y + i * d + 32) % 32,
                Ink(i == 0 ? "cream" : "earth", i == 0 ? 4 : 5));
      }
      break;
    case 16:
      Slabs(p, "stone", 2, 32, 16, 0, 16);
      break;
    case 17:
      Carpet(p, "red", 3, "gold", false, false, 17);
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          double d = std::hypot(x - 15.5, y - 15.5);
          if (d > 9 && d < 11) p.Set(x, y, Ink("gold", 4));
          if (d < 4) p.Set(x, y, Ink("gold", 3));
        }
      break;
    case 18:
      Slabs(p, "water", 5, 8, 8, 0, 18);
      break;
    case 19:
      Carpet(p, "red", 3, "gold", true, false, 19);
      for (int x = 0; x < 32; ++x)
        p.Set(x, 1, Ink("gold", 4)), p.Set(x, 2, Ink("gold", 3)), p.Set(x, 0, Ink("red", 1));
      for (int x = 4; x < 28; x += 4) p.Set(x, 3, Ink("gold", 5)), p.Set(x + 1, 4, Ink("gold", 4));
      break;
    case 20:
      Slabs(p, "stone", 3, 16, 16, 8, 20);
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
          if ((x % 16 == 15 || y % 16 == 15) && Noise(x, y, 21) < 120)
            p.Set(x, y, Ink("green", 2 + (Noise(x, y, 22) & 1)));
      break;
    case 21:
      Planks(p, "wood", 4, 21);
      FillEllipse(p, 37, 33, 5, 4, Ink("wood", 2));
      p.Set(18, 16, Ink("wood", 1));
      break;
    case 22:
      Plain(p, "earth", 3, 22, 50);
      FillRect(p, 12, 12, 8, 8, Ink("stone", 1));
      for (int k = 13; k < 20; k += 2) VLine(p, k, 12, 19, Ink("stone", 3));
      break;
    case 23:
      Slabs(p, "cloth", 5, 16, 16, 0, 23);
      break;
    case 24:
      Grass(p, 24);
      for (int k = 0; k < 7; ++k) {
        int x = 2 + Noise(k, 1, 24) % 28, y = 2 + Noise(k, 2, 24) % 28;
        p.Set(x, y, Ink("cloth", 6)), p.Set(x + 1, y, Ink("cloth", 5)),
            p.Set(x, y + 1, Ink("cloth", 5)), p.Set(x - 1, y, Ink("cloth", 5)),
            p.Set(x, y - 1, Ink("cloth", 5));
        p.Set(x, y, Ink("gold", 5));
      }
      break;
    case 25:
      Grass(p, 25);
      for (int k = 0; k < 2; ++k) {
        Shape s;
        s.Ellipse(k ? 42 : 20, k ? 44 : 18, 14, 11);
        Paint(p, s, "stone", 4);
      }
      break;
    case 26:
      Lattice(p, "gold", 3, "red", 26);
      break;
    case 27:
      Slabs(p, "wall", 5, 32, 16, 16, 27);
      break;
    case 28:
      Planks(p, "cream", 4, 28);
      break;
    case 29:
      Slabs(p, "stone", 3, 32, 32, 0, 29);
      for (int k = 0; k < 8; ++k) {
        double a = k * 3.14159 / 4;
        Line(p, 16, 16, 16 + int(9 * std::cos(a)), 16 + int(9 * std::sin(a)),
             Ink(k % 2 ? "blue" : "gold", 4));
      }
      break;
    case 30:
      Slabs(p, "steel", 2, 16, 8, 8, 30);
      break;
    case 31:
      Slabs(p, "cream", 3, 16, 16, 8, 31);
      break;
    case 32:
      Slabs(p, "stone", 1, 16, 16, 8, 32);
      break;
    case 33:
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          int k = ((x / 4) + (y / 8)) % 2 ? (y + x / 4 * 4) : (x + y / 4 * 4);
          int c = Ink("brick", 4);
          if (k % 8 == 7) c = Ink("brick", 2);
          p.Set(x, y, c);
        }
      Speckle(p, 33, 20, -1);
      break;
    case 34:
      FillRect(p, 0, 0, 32, 32, Ink("stone", 1));
      for (int k = 0; k < 16; ++k) {
        int cx = (k % 4) * 8 + ((k / 4) % 2) * 4, cy = (k / 4) * 8;
        for (int dx = -32; dx <= 32; dx += 32)
          for (int dy = -32; dy <= 32; dy += 32) {
            Shape s(32, 32);
            s.Ellipse(2 * (cx + dx) + 4, 2 * (cy + dy) + 4, 7, 6);
            Paint(p, s, "stone", 4, Edge::kNone);
          }
      }
      break;
    case 35:
      Slabs(p, "brick", 3, 16, 8, 0, 35);
      break;
    case 36:
      Slabs(p, "green", 4, 8, 8, 0, 36);
      break;
    case 37:
      Lattice(p, "purple", 3, "gold", 37);
      break;
    case 38:
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          bool horiz = ((x / 8) + (y / 8)) % 2;
          int l = horiz ? y % 8 : x % 8;
          p.Set(x, y, Ink("olive", l == 7 ? 3 : (l % 2 ? 4 : 5)));
        }
      break;
    case 39:
      Slabs(p, "stone", 3, 16, 16, 8, 1);
      FillRect(p, 9, 9, 14, 14, Ink("stone", 0));
      for (int k = 10; k < 23; k += 3)
        VLine(p, k, 9, 22, Ink("stone", 4)), HLine(p, 9, 22, k, Ink("stone", 4));
      break;

    // ---- walls ----
    case 80:
      WallTop(p, "brick", 2);
      break;
    case 81:
      WallTop(p, "wall", 2);
      break;
    case 100:
      WallFace(p, "brick", 4);
      break;
    case 101:
      WallFace(p, "wall", 4);
      break;
    case 102:
      Pilaster(p);
      Block(p, 3, 14, 26, 3, 1, "wood", 4, false);
      for (int k = 0; k < 3; ++k) {
        Shape pot;
        pot.Ellipse(2 * (8 + k * 8), 2 * 10, 6, 7);
        Paint(p, pot, k == 1 ? "blue" : "terra", 4);
      }
      break;
    case 103:
      Pilaster(p);
      Disc(p, 32, 28, 18, 18, "wood", 4, false);
      Disc(p, 32, 28, 13, 13, "cream", 5, false);
      Line(p, 16, 14, 16, 9, Ink("stone", 0)), Line(p, 16, 14, 19, 14, Ink("stone", 0));
      break;
    case 104:
      WallFace(p, "wall", 4);
      Block(p, 5, 5, 22, 18, 0, "gold", 4, false);
      FillRect(p, 7, 7, 18, 14, Ink("night", 4));
      FillRect(p, 7, 15, 18, 6, Ink("green", 3));
      FillEllipse(p, 40, 22, 5, 5, Ink("gold", 5));
      break;
    case 105:
      WallFace(p, "wall", 4);
      Block(p, 4, 6, 24, 18, 0, "cream", 5, false);
      Line(p, 8, 10, 14, 14, Ink("wood", 3)), Line(p, 14, 14, 22, 11, Ink("wood", 3));
      Line(p, 10, 20, 18, 18, Ink("blue", 4)), p.Set(20, 17, Ink("red", 3));
      break;
    case 106:
    case 109:
      WallFace(p, "wall", 4);
      {
        Shape frame;
        frame.Rect(9, 5, 14, 21);
        frame.Ellipse(32, 18, 14, 14);
        Paint(p, frame, "wall", 5);
        Shape glass;
        glass.Rect(11, 9, 10, 16);
        glass.Ellipse(32, 20, 10, 10);
        if (id == 106)
          Paint(p, glass, "night", 4, Edge::kNone);
        else {
          for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
              if (glass.Has(x, y))
                p.Set(
                    x, y,
                    Ink(((x / 3 + y / 3) % 3) == 0 ? "red"
                                                   : (((x / 3 + y / 3) % 3) == 1 ? "blue" : "gold"),
                        4));
        }
        VLine(p, 16, 9, 24, Ink("wall", 1)), HLine(p, 11, 20, 16, Ink("wall", 1));
        if (id == 106) p.Set(13, 11, Ink("night", 6)), p.Set(14, 12, Ink("night", 5));
        HLine(p, 8, 23, 26, Ink("wall", 6)), HLine(p, 8, 23, 27, Ink("wall", 2));
      }
      break;
    case 107:
      WallFace(p, "wall", 4);
      {
        Shape b;
        b.Rect(10, 1, 12, 24);
        for (int x = 10; x < 22; ++x)
          for (int y = 25; y < 30; ++y)
            if (std::abs(x - 15.5) * 1.0 > (y - 25) * 1.2) b.Add(x, y);
        Paint(p, b, "red", 3);
        FillRect(p, 14, 8, 4, 8, Ink("gold", 4));
        HLine(p, 8, 23, 1, Ink("wood", 2));
      }
      break;
    case 108:
      Pilaster(p);
      Block(p, 14, 14, 4, 10, 1, "wood", 3, false);
      Block(p, 11, 11, 10, 4, 1, "steel", 3, false);
      {
        Shape flame;
        flame.Ellipse(32, 14, 7, 10);
        Paint(p, flame, "fire", 3, Edge::kNone);
        FillEllipse(p, 32, 16, 3, 5, Ink("fire", 5));
      }
      // the glow on the wall around the flame
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
          if (std::hypot(x - 16, y - 8) < 11 && std::hypot(x - 16, y - 8) > 6 &&
              Noise(x, y, 8) < 90)
            Tint(p, x, y, 1);
      break;
    case 110:
      WallFace(p, "wall", 4);
      Line(p, 6, 6, 26, 26, Ink("steel", 5)), Line(p, 26, 6, 6, 26, Ink("steel", 5));
      Line(p, 7, 6, 27, 26, Ink("steel", 2)), Line(p, 27, 6, 7, 26, Ink("steel", 2));
      {
        Shape sh;
        sh.Rect(10, 7, 12, 11);
        for (int y = 18; y < 26; ++y)
          for (int x = 10; x < 22; ++x)
            if (std::abs(x - 15.5) < 6 - (y - 18) * 0.7) sh.Add(x, y);
        Paint(p, sh, "blue", 3);
        FillRect(p, 15, 9, 2, 12, Ink("gold", 4)), FillRect(p, 11, 12, 10, 2, Ink("gold", 4));
      }
      break;
    case 111:
      WallFace(p, "wall", 4);
      for (int k = 0; k < 90; ++k) {
        int x = Noise(k, 1, 111) % 32, y = Noise(k, 2, 111) % 32;
        if (Noise(x / 6, y / 6, 5) < 150) {
          p.Set(x, y, Ink("green", 3 + (k % 2))), p.Set(x + 1, y, Ink("green", 2));
          p.Set(x, y + 1, Ink("green", 2));
        }
      }
      break;

    // ---- furniture and fittings ----
    case 40:
      // a round column: plinth, fluted shaft lit from the left, capital
      p = OnFloor(ground);
      {
        Shape plinth, shaft, capital, all;
        plinth.Rect(6, 24, 20, 5);
        shaft.Rect(10, 6, 12, 19);
        capital.Rect(7, 2, 18, 5);
        all.Rect(6, 2, 20, 27);
        CastShadow(p, all, 3, 2);
        Paint(p, plinth, "stone", 4);
        Paint(p, shaft, "stone", 4);
        for (int y = 6; y <= 24; ++y) {
          p.Set(11, y, Ink("stone", 6)), p.Set(12, y, Ink("stone", 5));
          p.Set(15, y, Ink("stone", 3)), p.Set(18, y, Ink("stone", 3));
          p.Set(20, y, Ink("stone", 2)), p.Set(19, y, Ink("stone", 3));
        }
        Paint(p, capital, "stone", 5);
        HLine(p, 7, 24, 4, Ink("stone", 4));
        HLine(p, 6, 25, 26, Ink("stone", 5));
      }
      break;
    case 41:
      p = Shelf(ground, Books);
      break;
    case 42:
      p = Shelf(ground, [](Pic& q, int x, int y) {
        if ((x + y) % 3 == 0) {
          for (int i = 0; i < 3; ++i)
            FillEllipse(q, 2 * x + 3 + 4 * i / 2, 2 * y + 8, 3, 3, Ink("cream", 5));
        } else
          Books(q, x, y);
      });
      break;
    case 45:
      p = OnFloor(ground);
      Block(p, 3, 20, 26, 6, 2, "wood", 3);
      for (int k = 0; k < 4; ++k) {
        int x = 6 + k * 6;
        VLine(p, x, 3, 21, Ink("wood", 2)), VLine(p, x + 1, 3, 21, Ink("wood", 4));
        if (k % 2) {
          Line(p, x, 1, x + 1, -1, Ink("steel", 5));
          FillRect(p, x - 1, 1, 4, 4, Ink("steel", 4));
          p.Set(x, 0, Ink("steel", 6)), p.Set(x + 1, 0, Ink("steel", 5));
        } else {
          FillRect(p, x - 1, 2, 4, 9, Ink("steel", 5));
          VLine(p, x + 2, 2, 10, Ink("steel", 3));
          HLine(p, x - 2, x + 3, 11, Ink("gold", 3));
        }
      }
      break;
    case 46:
      p = OnFloor(ground);
      Block(p, 3, 22, 26, 4, 2, "wood", 3);
      for (int k = 0; k < 2; ++k) {
        Shape sh;
        int x = 4 + k * 13;
        sh.Rect(x, 6, 11, 10);
        for (int y = 16; y < 23; ++y)
          for (int xx = x; xx < x + 11; ++xx)
            if (std::abs(xx - (x + 5)) < 5.5 - (y - 16) * 0.7) sh.Add(xx, y);
        Paint(p, sh, k ? "red" : "blue", 3);
        FillRect(p, x + 4, 8, 3, 11, Ink("gold", 4)), FillRect(p, x + 1, 11, 9, 3, Ink("gold", 4));
      }
      break;
    case 47:
      // a clipped hedge that runs on into its neighbours left and right: a leafy top and a
      // shaded front face above the grass
      p = OnFloor(ground);
      for (int y = 2; y < 29; ++y)
        for (int x = 0; x < 32; ++x) {
          bool face = y >= 21;
          int n = Noise(x, y, 47);
          int c = Ink("green", face ? 2 : 3);
          if (n < 50)
            c = Ink("green", face ? 1 : 2);
          else if (n > 215 && !face)
            c = Ink("green", 5);
          else if (n > 185)
            c = Ink("green", face ? 3 : 4);
          if (y == 2) c = Ink("green", 1);
          if (y == 3 || (y == 4 && n > 128)) c = Ink("green", 5);
          if (y == 21) c = Ink("green", 1);
          if (y == 28) c = Ink("green", 0);
          p.Set(x, y, c);
        }
      for (int x = 0; x < 32; ++x) Tint(p, x, 29, -1), Tint(p, x, 30, -1);  // its shadow
      break;
    case 50:
    case 70:
    case 116: {
      Pic big(32, 64);
      Pic fl = OnFloor(ground);
      Blit(big, fl, 0, 0), Blit(big, fl, 0, 32);
      bool child = id == 116;
      int y0 = child ? 4 : 3, y1 = child ? 27 : 58;
      if (child) big = Pic(32, 64), Blit(big, fl, 0, 0), Blit(big, fl, 0, 32);
      Block(big, 4, y0, 24, y1 - y0, 3, "wood", 3);
      Block(big, 6, y0 + 4, 20, 7, 2, "cloth", 5, false);  // pillow
      Shape blanket;
      blanket.Rect(5, y0 + 13, 22, y1 - y0 - 16);
      Paint(big, blanket, child ? "blue" : "red", 3);
      for (int y = y0 + 15; y < y1 - 4; y += 4)
        HLine(big, 6, 25, y, Ink(child ? "blue" : "red", 2));
      HLine(big, 5, 26, y0 + 13, Ink("cloth", 5)), HLine(big, 5, 26, y0 + 14, Ink("cloth", 4));
      p = Crop(big, 0, id == 70 ? 32 : 0, 32, 32);
      break;
    }
    case 51:
    case 52:
    case 65:
    case 66:
    case 62: {
      p = OnFloor(ground);
      Block(p, 2, 6, 28, 20, 14, "wood", 4);
      VLine(p, 4, 26, 28, Ink("wood", 1)), VLine(p, 27, 26, 28, Ink("wood", 1));
      if (id == 52) {
        Disc(p, 20, 22, 12, 9, "wood", 5, false);
        Disc(p, 42, 20, 6, 9, "blue", 4, false);
        Disc(p, 32, 32, 9, 7, "cloth", 5, false);
      }
      if (id == 65)
        for (int k = 0; k < 2; ++k) {
          Disc(p, 22 + k * 22, 22, 16, 12, "cloth", 5, false);
          for (int c = 0; c < 3; ++c)
            Disc(p, 18 + k * 22 + c * 5, 20 + (c % 2) * 4, 4, 4, "choc", 4, false);
        }
      if (id == 62)
        for (int k = 0; k < 3; ++k) {
          Disc(p, 16 + k * 16, 16, 9, 12, "water", 6, false);
          Disc(p, 16 + k * 16, 20, 5, 6, k == 0 ? "pink" : (k == 1 ? "gold" : "green"), 4, false);
          HLine(p, 6 + k * 8, 9 + k * 8, 4, Ink("wood", 2));
        }
      if (id == 66) {
        Shape pud;
        pud.Ellipse(32, 24, 22, 20);
        Paint(p, pud, "choc", 4);
        Shape cream;
        cream.Ellipse(32, 14, 16, 8);
        Paint(p, cream, "cream", 5);
        Disc(p, 32, 8, 4, 4, "red", 4, false);
        p.Set(16, 2, Ink("green", 4));
      }
      break;
    }
    case 53:
      // the throne: a tall arched gold back with red velvet, arms, and a cushioned seat
      p = OnFloor(ground);
      {
        Shape back, velvet, arms, seat, cushion, all;
        back.Rect(7, 4, 18, 16);
        back.Ellipse(32, 10, 18, 12);
        velvet.Rect(10, 7, 12, 11);
        velvet.Ellipse(32, 14, 12, 8);
        arms.Rect(4, 14, 5, 13), arms.Rect(23, 14, 5, 13);
        seat.Rect(7, 18, 18, 11);
        cushion.Rect(9, 19, 14, 5);
        all.Rect(4, 1, 24, 28);
        CastShadow(p, all, 3, 2);
        Paint(p, back, "gold", 4);
        Paint(p, velvet, "red", 3, Edge::kNone);
        Paint(p, seat, "gold", 3);
        Paint(p, cushion, "red", 4, Edge::kNone);
        Paint(p, arms, "gold", 4);
        HLine(p, 7, 24, 28, Ink("gold", 1));
        // the crest: a red gem between two gold points
        p.Set(15, 1, Ink("gold", 5)), p.Set(16, 1, Ink("gold", 5));
        FillRect(p, 15, 2, 2, 2, Ink("red", 4));
        p.Set(15, 2, Ink("red", 6));
        for (int y = 9; y <= 16; y += 3) p.Set(16, y, Ink("gold", 4));
      }
      break;
    case 54:
      p = OnFloor(ground);
      Block(p, 9, 4, 14, 6, 2, "wood", 4);
      Block(p, 9, 12, 14, 12, 8, "wood", 4);
      VLine(p, 10, 24, 27, Ink("wood", 1)), VLine(p, 21, 24, 27, Ink("wood", 1));
      FillRect(p, 11, 13, 10, 6, Ink("red", 3));
      break;
    case 55:
      p = OnFloor(ground);
      Block(p, 2, 8, 28, 18, 8, "cloth", 5);
      FillRect(p, 3, 17, 26, 8, Ink("red", 3));
      FillRect(p, 14, 17, 4, 8, Ink("gold", 4));
      for (int k = 0; k < 2; ++k) {
        int x = 6 + k * 18;
        FillRect(p, x, 3, 3, 8, Ink("cream", 5));
        p.Set(x + 1, 1, Ink("fire", 4)), p.Set(x + 1, 2, Ink("fire", 3));
      }
      Block(p, 14, 2, 4, 10, 0, "gold", 4, false);
      HLine(p, 12, 19, 5, Ink("gold", 5));
      break;
    case 56:
      p = OnFloor(ground);
      Block(p, 1, 10, 30, 14, 5, "wood", 3);
      Block(p, 1, 4, 30, 5, 2, "wood", 4);
      break;
    case 57:
      p = OnFloor(ground);
      Block(p, 2, 2, 28, 26, 5, "brick", 3);
      {
        Shape mouth;
        mouth.Rect(7, 12, 18, 12);
        mouth.Ellipse(32, 26, 18, 10);
        Paint(p, mouth, "stone", 1);
        FillEllipse(p, 32, 44, 14, 5, Ink("fire", 2));
        FillEllipse(p, 32, 44, 8, 3, Ink("fire", 4));
      }
      break;
    case 58:
      p = OnFloor(ground);
      Disc(p, 32, 40, 24, 18, "stone", 2);
      Disc(p, 32, 34, 22, 12, "stone", 3, false);
      Disc(p, 32, 34, 16, 8, "olive", 4, false);
      FillEllipse(p, 32, 56, 10, 3, Ink("fire", 3));
      p.Set(12, 4, Ink("cloth", 5)), p.Set(18, 2, Ink("cloth", 4)), p.Set(15, 8, Ink("cloth", 5));
      break;
    case 59:
      // a pile that fills its tile, so neighbouring piles read as one heap on any floor
      p = Pic(32, 32, Ink("wood", 1));
      Speckle(p, 59, 40, -1);
      {
        const int barrels[][3] = {{17, 17, 15}, {49, 15, 15}, {47, 47, 15}};
        for (auto& b : barrels) {
          Shape top;
          top.Ellipse(b[0], b[1], b[2], b[2]);
          CastShadow(p, top, 1, 1);
          Paint(p, top, "wood", 4);
          Shape lid;
          lid.Ellipse(b[0], b[1], b[2] - 6, b[2] - 6);
          Paint(p, lid, "wood", 3, Edge::kNone);
          for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
              double d = std::hypot(2 * x + 1 - b[0], 2 * y + 1 - b[1]);
              if (d > b[2] - 4 && d <= b[2] - 2)
                p.Set(x, y, Ink("steel", x + y < (b[0] + b[1]) / 2 ? 4 : 2));
            }
        }
        Shape sack;
        sack.Ellipse(16, 48, 15, 14);
        sack.Ellipse(16, 38, 7, 5);
        CastShadow(p, sack, 1, 1);
        Paint(p, sack, "cream", 4);
        HLine(p, 6, 9, 18, Ink("cream", 2)), p.Set(8, 26, Ink("cream", 3)),
            p.Set(10, 27, Ink("cream", 3));
      }
      break;
    case 60:
      p = Shelf(ground, [](Pic& q, int x, int y) {
        Disc(q, 2 * x + 5, 2 * y + 7, 4, 5, (x + y) % 2 ? "terra" : "blue", 4, false);
      });
      break;
    case 61:
      p = Shelf(ground, [](Pic& q, int x, int y) {
        Disc(q, 2 * x + 5, 2 * y + 8, 5, 4, "cream", 5, false);
        q.Set(x + 2, y + 2, Ink("red", 4));
      });
      break;
    case 67:
      p = OnFloor(ground);
      {
        // a raised bed in a stone kerb, planted with leafy clumps in bloom
        Shape kerb, soil;
        kerb.Rect(2, 4, 28, 24);
        soil.Rect(4, 6, 24, 20);
        CastShadow(p, kerb);
        Paint(p, kerb, "stone", 4);
        Paint(p, soil, "earth", 2, Edge::kNone);
        const int clumps[][2] = {{8, 10},  {16, 9}, {24, 10}, {11, 17},
                                 {20, 17}, {8, 23}, {16, 23}, {24, 23}};
        const char* blooms[] = {"pink", "gold", "purple", "red", "cloth", "pink", "gold", "purple"};
        for (int k = 0; k < 8; ++k) {
          int x = clumps[k][0], y = clumps[k][1];
          Shape leaf;
          leaf.Ellipse(2 * x, 2 * y, 9, 7);
          Paint(p, leaf, "green", 3);
          const int petals[3][2] = {{-3, -2}, {1, -3}, {-1, 0}};
          for (auto& pt : petals) {
            int bx = x + pt[0], by = y + pt[1];
            FillRect(p, bx, by, 2, 2, Ink(blooms[k], 4));
            p.Set(bx, by, Ink(blooms[k], 6));
            p.Set(bx + 1, by + 1, Ink(blooms[k], 3));
          }
        }
      }
      break;
    case 71:
    case 96:
    case 90:
      p = OnFloor(ground);
      Block(p, 4, 1, 24, 27, 3, id == 96 ? "cream" : "wood", 3);
      VLine(p, 16, 5, 26, Ink("wood", 1));
      p.Set(14, 15, Ink("gold", 5)), p.Set(18, 15, Ink("gold", 5));
      if (id == 90) {
        Disc(p, 32, 20, 14, 14, "water", 5, false);
        Block(p, 4, 20, 24, 8, 2, "wood", 4, false);
      }
      break;
    case 72:
      p = OnFloor(ground);
      Block(p, 2, 6, 28, 20, 14, "wood", 3);
      Block(p, 6, 8, 10, 8, 8, "cloth", 6, false);
      Line(p, 22, 8, 26, 4, Ink("cloth", 6)), Disc(p, 44, 24, 5, 5, "night", 2, false);
      break;
    case 73:
      p = OnFloor(ground);
      Block(p, 7, 18, 18, 10, 4, "stone", 4);
      Disc(p, 32, 16, 10, 10, "cloth", 4);
      Block(p, 12, 10, 8, 9, 0, "cloth", 4, false);
      break;
    case 74:
      p = OnFloor(ground);
      Block(p, 15, 8, 2, 18, 0, "gold", 4);
      Block(p, 10, 24, 12, 3, 1, "gold", 3, false);
      HLine(p, 8, 23, 8, Ink("gold", 3));
      for (int x : {8, 15, 23}) {
        FillRect(p, x, 4, 2, 4, Ink("cream", 5));
        p.Set(x, 2, Ink("fire", 4)), p.Set(x, 3, Ink("fire", 3)), p.Set(x + 1, 3, Ink("fire", 5));
      }
      break;
    case 75:
    case 98:
      p = OnFloor(ground);
      Block(p, 10, 19, 12, 9, 2, "terra", 4);
      if (id == 75)
        for (int k = 0; k < 5; ++k)
          Line(p, 16, 18, 4 + k * 6, 3 + (k % 2) * 5, Ink("green", 3 + (k % 2)));
      else
        Disc(p, 32, 22, 22, 20, "green", 3, false);
      break;
    case 76:
    case 99:
      p = OnFloor(ground);
      Block(p, 4, 8, 24, 19, 7, "wood", 4);
      HLine(p, 4, 27, 12, Ink("gold", 4)), FillRect(p, 14, 13, 4, 4, Ink("gold", 5));
      if (id == 99) {
        FillRect(p, 5, 4, 22, 6, Ink("gold", 5));
        for (int k = 0; k < 9; ++k) p.Set(6 + k * 2, 4 + k % 3, Ink("gold", 6));
      }
      break;
    case 77:
      p = OnFloor(ground);
      Block(p, 2, 12, 16, 15, 5, "wood", 4);
      Block(p, 14, 4, 16, 15, 5, "wood", 3);
      Line(p, 15, 10, 29, 18, Ink("wood", 2));
      break;
    case 78:
      p = OnFloor(ground);
      Disc(p, 32, 32, 22, 26, "wood", 4);
      HLine(p, 6, 25, 9, Ink("steel", 2)), HLine(p, 6, 25, 22, Ink("steel", 2));
      Disc(p, 32, 14, 16, 8, "wood", 5, false);
      break;
    case 79:
      p = OnFloor(ground);
      for (int k = 0; k < 3; ++k)
        Disc(p, 18 + (k % 2) * 22, 22 + (k / 2) * 18 + (k % 2) * 6, 16, 14, "cream", 4);
      break;
    case 82:
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          int w = (x + 2 * (y / 4) + (y % 8 < 4 ? 0 : 4)) % 16;
          p.Set(x, y, Ink("water", w < 2 ? 4 : 3));
        }
      Speckle(p, 82, 12, -1);
      break;
    case 83:
      p = OnFloor(ground);
      Block(p, 0, 6, 32, 20, 14, "wood", 4);
      HLine(p, 0, 31, 10, Ink("cloth", 5)), HLine(p, 0, 31, 11, Ink("cloth", 4));
      Disc(p, 16, 28, 8, 6, "cloth", 5, false), Disc(p, 46, 28, 8, 6, "cloth", 5, false);
      break;
    case 84:
      p = OnFloor(ground);
      Block(p, 1, 12, 30, 10, 5, "wood", 4);
      VLine(p, 3, 22, 25, Ink("wood", 1)), VLine(p, 28, 22, 25, Ink("wood", 1));
      break;
    case 85:
      p = OnFloor(ground);
      Block(p, 2, 4, 28, 22, 12, "wood", 2);
      FillRect(p, 4, 17, 24, 4, Ink("cloth", 6));
      for (int x = 5; x < 28; x += 3) VLine(p, x, 17, 19, Ink("stone", 0));
      break;
    case 86:
      p = OnFloor(ground);
      Block(p, 13, 20, 6, 7, 2, "wood", 3);
      Disc(p, 32, 22, 20, 20, "water", 4);
      FillEllipse(p, 28, 18, 8, 6, Ink("green", 4)), FillEllipse(p, 38, 28, 6, 8, Ink("green", 4));
      break;
    case 87:
      p = OnFloor(ground);
      {
        // a blacksmith's anvil on a wooden block: face, horn, waist and foot
        Block(p, 9, 20, 14, 9, 3, "wood", 3);
        Shape face, horn, waist, foot, all;
        face.Rect(10, 8, 16, 5);
        for (int x = 3; x < 10; ++x)
          for (int y = 9; y <= 10 + (x - 3) / 3; ++y) horn.Add(x, y);
        waist.Rect(13, 13, 9, 5);
        foot.Rect(10, 17, 15, 4);
        all.Rect(3, 8, 23, 13);
        Paint(p, foot, "steel", 2);
        Paint(p, waist, "steel", 1);
        Paint(p, horn, "steel", 3);
        Paint(p, face, "steel", 4);
        HLine(p, 11, 24, 9, Ink("steel", 6));
      }
      break;
    case 88:
      p = OnFloor(ground);
      Disc(p, 32, 36, 26, 22, "stone", 4);
      Disc(p, 32, 34, 18, 14, "water", 2, false);
      Block(p, 4, 2, 2, 14, 0, "wood", 3, false), Block(p, 26, 2, 2, 14, 0, "wood", 3, false);
      HLine(p, 4, 27, 3, Ink("wood", 2));
      break;
    case 89:
      p = OnFloor(ground);
      Block(p, 14, 20, 4, 8, 0, "wood", 3);
      Disc(p, 32, 24, 28, 24, "green", 3);
      for (int k = 0; k < 12; ++k)
        p.Set(8 + Noise(k, 1, 89) % 16, 4 + Noise(k, 2, 89) % 16, Ink("green", 5));
      break;
    case 91:
      p = OnFloor(ground);
      Disc(p, 32, 32, 28, 22, "cloth", 5);
      Disc(p, 32, 32, 20, 14, "water", 5, false);
      break;
    case 92:
    case 112: {
      Pic big(32, 64);
      Blit(big, OnFloor(ground), 0, 0), Blit(big, OnFloor(ground), 0, 32);
      Shape base;
      base.Rect(7, 56, 18, 5);
      CastShadow(big, base);
      Paint(big, base, "stone", 3);
      Shape legs, body, head, arms;
      legs.Rect(11, 38, 4, 18), legs.Rect(17, 38, 4, 18);
      body.Rect(10, 22, 12, 17);
      body.Ellipse(32, 46, 12, 8);
      head.Rect(11, 8, 10, 12);
      head.Ellipse(32, 18, 10, 12);
      arms.Rect(7, 22, 3, 14), arms.Rect(22, 22, 3, 14);
      Paint(big, legs, "steel", 3);
      Paint(big, arms, "steel", 3);
      Paint(big, body, "steel", 4);
      Paint(big, head, "steel", 4);
      HLine(big, 12, 19, 14, Ink("stone", 0));
      for (int x = 12; x <= 19; x += 2) big.Set(x, 16, Ink("stone", 1));
      Shape plume;
      plume.Rect(15, 2, 2, 5), plume.Rect(17, 3, 3, 2);
      Paint(big, plume, "red", 4);
      HLine(big, 10, 21, 30, Ink("gold", 4));
      VLine(big, 26, 4, 50, Ink("wood", 2)), VLine(big, 27, 4, 50, Ink("wood", 3));  // halberd
      FillRect(big, 25, 2, 4, 6, Ink("steel", 5));
      p = Crop(big, 0, id == 112 ? 32 : 0, 32, 32);
      break;
    }
    case 93:
      p = OnFloor(ground);
      Block(p, 14, 14, 4, 13, 0, "wood", 3);
      Block(p, 6, 4, 20, 10, 5, "wood", 4);
      FillRect(p, 8, 5, 16, 4, Ink("cloth", 6)), VLine(p, 16, 5, 8, Ink("stone", 3));
      break;
    case 94:
      p = OnFloor(ground);
      {
        // a tapestry rolled up on a wooden stand, its tassels hanging
        Block(p, 5, 8, 3, 19, 0, "wood", 3);
        Block(p, 24, 8, 3, 19, 0, "wood", 3);
        Block(p, 3, 25, 26, 3, 1, "wood", 4);
        Shape roll;
        roll.Rect(6, 9, 20, 8);
        Paint(p, roll, "purple", 4);
        for (int x = 8; x < 25; x += 4) VLine(p, x, 10, 15, Ink("purple", 3));
        for (int y = 10; y < 16; ++y) p.Set(7, y, Ink("gold", 4)), p.Set(24, y, Ink("gold", 3));
        for (int x : {11, 16, 21})
          VLine(p, x, 17, 20, Ink("gold", 4)), p.Set(x, 21, Ink("gold", 5));
      }
      break;
    case 95:
      p = OnFloor(ground);
      for (int k = 0; k < 5; ++k) {
        const char* r[] = {"red", "blue", "green", "purple", "olive"};
        Block(p, 7 + (k % 2) * 3, 22 - k * 4, 18, 4, 1, r[k], 3, k == 0);
      }
      break;
    case 97:
      p = FlowerPot("red", ground);
      break;
    case 117:
      p = FlowerPot("gold", ground);
      break;
    case 113:
      p = OnFloor(ground);
      Block(p, 15, 6, 2, 22, 0, "gold", 4);
      Disc(p, 32, 50, 26, 10, "cloth", 5);
      Disc(p, 32, 34, 20, 8, "cloth", 5);
      Disc(p, 32, 20, 14, 6, "cloth", 5);
      for (int k = 0; k < 3; ++k) Disc(p, 20 + k * 12, 46, 6, 6, "pink", 4, false);
      Disc(p, 26, 30, 5, 5, "choc", 4, false), Disc(p, 38, 30, 5, 5, "choc", 4, false);
      Disc(p, 32, 16, 5, 5, "red", 4, false);
      break;
    case 114:
      p = OnFloor(ground);
      Disc(p, 32, 36, 24, 24, "water", 6);
      Disc(p, 32, 40, 18, 16, "choc", 5, false);
      for (int k = 0; k < 4; ++k) p.Set(12 + k * 3, 18 + k % 2 * 3, Ink("choc", 2));
      Block(p, 10, 3, 12, 4, 2, "red", 4, false);
      break;
    case 115:
      p = Shelf(ground, [](Pic& q, int x, int y) {
        const char* r[] = {"pink", "gold", "red", "blue"};
        Disc(q, 2 * x + 5, 2 * y + 5, 5, 5, r[(x + y) % 4], 4, false);
        VLine(q, x + 2, y + 4, y + 5, Ink("cloth", 5));
      });
      break;
    case 118:
      p = OnFloor(ground);
      Disc(p, 20, 36, 24, 18, "stone", 3);
      Disc(p, 44, 26, 18, 16, "stone", 4);
      break;
    case 119:
      p = Pic(32, 32, kBlack);
      break;

    case 43:
    case 44:
    case 63:
    case 64: {
      // the great fireplace set into the wall, 2 x 2 tiles
      Pic big(64, 64);
      for (int k = 0; k < 4; ++k) {
        Pic face(32, 32);
        WallFace(face, "brick", 4);
        Blit(big, face, (k % 2) * 32, (k / 2) * 32);
      }
      Block(big, 3, 4, 58, 60, 6, "wall", 5, false);  // stone surround
      Block(big, 0, 14, 64, 6, 2, "wall", 4, false);  // mantel
      Shape firebox;
      firebox.Rect(12, 26, 40, 38);
      firebox.Ellipse(64, 56, 40, 20);
      Paint(big, firebox, "stone", 1, Edge::kNone);
      for (int y = 26; y < 64; ++y)
        for (int x = 12; x < 52; ++x)
          if (firebox.Has(x, y) && y > 40) big.Set(x, y, Ink("stone", 0));
      // logs and fire
      Block(big, 18, 56, 28, 5, 2, "wood", 3, false);
      Shape flame;
      flame.Ellipse(64, 94, 30, 28);
      flame.Ellipse(50, 100, 14, 20), flame.Ellipse(78, 100, 14, 20);
      Paint(big, flame, "fire", 3, Edge::kNone);
      FillEllipse(big, 64, 102, 14, 14, Ink("fire", 4));
      FillEllipse(big, 64, 106, 6, 8, Ink("fire", 5));
      // candles and a clock on the mantel
      for (int x : {8, 54})
        FillRect(big, x, 8, 2, 6, Ink("cream", 5)), big.Set(x, 7, Ink("fire", 4));
      Disc(big, 64, 20, 10, 10, "gold", 4, false);
      p = Crop(big, (id == 44 || id == 64) ? 32 : 0, id >= 63 ? 32 : 0, 32, 32);
      break;
    }
    case 48:
    case 49:
    case 68:
    case 69: {
      Pic big(64, 64);
      Pic g = Tile(8);
      for (int k = 0; k < 4; ++k) Blit(big, g, (k % 2) * 32, (k / 2) * 32);
      Shape basin;
      basin.Ellipse(64, 68, 58, 52);
      CastShadow(big, basin);
      Paint(big, basin, "stone", 5);
      Shape water;
      water.Ellipse(64, 68, 48, 42);
      Paint(big, water, "water", 3, Edge::kNone);
      for (int k = 0; k < 10; ++k)
        big.Set(14 + Noise(k, 1, 48) % 36, 20 + Noise(k, 2, 48) % 26, Ink("water", 5));
      Shape column;
      column.Rect(28, 20, 8, 16);
      Paint(big, column, "stone", 5);
      Disc(big, 64, 36, 16, 8, "stone", 5, false);
      FillEllipse(big, 64, 30, 6, 10, Ink("water", 6));
      for (int k = -1; k <= 1; k += 2) Line(big, 32 + 4 * k, 12, 32 + 10 * k, 22, Ink("water", 6));
      p = Crop(big, (id == 49 || id == 69) ? 32 : 0, id >= 68 ? 32 : 0, 32, 32);
      break;
    }
    default:
      p = OnFloor(ground);
      Block(p, 6, 8, 20, 18, 6, "stone", 4);
      break;
  }
  return p;
}

}  // namespace

bool DrawTiles(Sheet& s, const std::string& /*dataDir*/, std::string& /*error*/) {
  for (int id = 0; id < 120; ++id) s.PutOpaque(Tile(id), 32 * (id % 20), 32 * (id / 20));
  return true;
}

}  // namespace sheet
