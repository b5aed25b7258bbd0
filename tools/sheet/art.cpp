// Palette, pictures, shapes and the sheet.
#include "art.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace sheet {

namespace {

Rgb gTable[256];
std::map<std::string, int> gRampStart;  // ramp name -> index of shade 0

}  // namespace

bool LoadPalette(const std::string& path, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  gRampStart.clear();
  for (Rgb& c : gTable) c = Rgb{};  // unused entries stay black
  gTable[255] = {255, 255, 255};
  int next = 10;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    std::string name;
    ls >> name;
    gRampStart[name] = next;
    for (int k = 0; k < kShades; ++k) {
      std::string hex;
      if (!(ls >> hex) || hex.size() != 6) {
        error = "ramp " + name + " needs 7 shades";
        return false;
      }
      unsigned v = std::stoul(hex, nullptr, 16);
      if (next > 170) {
        error = "palette uses more than indices 10-170";
        return false;
      }
      gTable[next++] = {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    }
  }
  return true;
}

const Rgb& PaletteColour(int index) {
  return gTable[index & 255];
}

bool HasRamp(const std::string& name) {
  return gRampStart.count(name) != 0;
}

int Ink(const std::string& ramp, int shade) {
  auto it = gRampStart.find(ramp);
  if (it == gRampStart.end()) {
    std::fprintf(stderr, "make_sheet: unknown ramp %s\n", ramp.c_str());
    std::exit(1);
  }
  return it->second + std::clamp(shade, 0, kShades - 1);
}

bool RampOf(int index, std::string& ramp, int& shade) {
  for (const auto& [name, start] : gRampStart) {
    if (index >= start && index < start + kShades) {
      ramp = name;
      shade = index - start;
      return true;
    }
  }
  return false;
}

int Noise(int x, int y, int seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return int((h ^ (h >> 16)) & 255);
}

void FillRect(Picture& p, int x, int y, int w, int h, int c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) p.Set(i, j, c);
}
void HLine(Picture& p, int x0, int x1, int y, int c) {
  for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) p.Set(x, y, c);
}
void VLine(Picture& p, int x, int y0, int y1, int c) {
  for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) p.Set(x, y, c);
}
void Line(Picture& p, int x0, int y0, int x1, int y1, int c) {
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
  for (;;) {
    p.Set(x0, y0, c);
    if (x0 == x1 && y0 == y1) break;
    int e2 = 2 * err;
    if (e2 >= dy) err += dy, x0 += sx;
    if (e2 <= dx) err += dx, y0 += sy;
  }
}

static bool InEllipse(int x, int y, int cx2, int cy2, int rx2, int ry2) {
  // pixel centre (2x+1, 2y+1) in doubled coordinates
  double dx = (2 * x + 1 - cx2) / double(rx2), dy = (2 * y + 1 - cy2) / double(ry2);
  return dx * dx + dy * dy <= 1.0;
}

void FillEllipse(Picture& p, int cx2, int cy2, int rx2, int ry2, int c) {
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x)
      if (InEllipse(x, y, cx2, cy2, rx2, ry2)) p.Set(x, y, c);
}

void Blit(Picture& dst, const Picture& src, int x, int y) {
  for (int j = 0; j < src.h; ++j)
    for (int i = 0; i < src.w; ++i)
      if (src.Get(i, j) != kClear) dst.Set(x + i, y + j, src.Get(i, j));
}

Picture Crop(const Picture& src, int x, int y, int w, int h) {
  Picture out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) out.Set(i, j, src.Get(x + i, y + j));
  return out;
}

Picture MirrorX(const Picture& src) {
  Picture out(src.w, src.h);
  for (int j = 0; j < src.h; ++j)
    for (int i = 0; i < src.w; ++i) out.Set(src.w - 1 - i, j, src.Get(i, j));
  return out;
}

void Shape::Rect(int x, int y, int rw, int rh) {
  for (int j = y; j < y + rh; ++j)
    for (int i = x; i < x + rw; ++i) Add(i, j);
}

void Shape::Ellipse(int cx2, int cy2, int rx2, int ry2) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (InEllipse(x, y, cx2, cy2, rx2, ry2)) Add(x, y);
}

void Paint(Picture& p, const Shape& s, const std::string& ramp, int base, Edge edge, int dx,
           int dy) {
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      if (!s.Has(x, y)) continue;
      int shade = base;
      bool lit = !s.Has(x - 1, y) || !s.Has(x, y - 1);
      bool dark = !s.Has(x + 1, y) || !s.Has(x, y + 1);
      if (dark)
        shade = base - 1;
      else if (lit)
        shade = base + 1;
      p.Set(x + dx, y + dy, Ink(ramp, shade));
    }
  if (edge == Edge::kNone) return;
  for (int y = -1; y <= s.h; ++y)
    for (int x = -1; x <= s.w; ++x) {
      if (s.Has(x, y)) continue;
      bool touch = s.Has(x - 1, y) || s.Has(x + 1, y) || s.Has(x, y - 1) || s.Has(x, y + 1);
      if (!touch) continue;
      if (edge == Edge::kUnder && p.Get(x + dx, y + dy) != kClear) continue;
      p.Set(x + dx, y + dy, Ink(ramp, 0));
    }
}

void OutlineClear(Picture& p) {
  Picture src = p;
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x) {
      if (src.Get(x, y) != kClear) continue;
      const int nb[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
      for (auto& d : nb) {
        int c = src.Get(x + d[0], y + d[1]);
        std::string ramp;
        int shade;
        if (c != kClear && RampOf(c, ramp, shade) && shade > 0) {
          p.Set(x, y, Ink(ramp, 0));
          break;
        }
      }
    }
}

void Sheet::PutOpaque(const Picture& pic, int x, int y) {
  for (int j = 0; j < pic.h; ++j)
    for (int i = 0; i < pic.w; ++i) {
      int c = pic.Get(i, j);
      px[(y + j) * kSheetWidth + x + i] = uint8_t(c == kClear ? kBlack : c);
    }
}

void Sheet::PutMasked(const Picture& pic, int x, int y) {
  for (int j = 0; j < pic.h; ++j)
    for (int i = 0; i < pic.w; ++i) {
      int c = pic.Get(i, j);
      px[(y + j) * kSheetWidth + x + i] = uint8_t(c == kClear ? kBlack : c);
      px[(y + j) * kSheetWidth + x + kMaskOffset + i] = uint8_t(c == kClear ? kWhite : kBlack);
    }
}

// ---- grids ------------------------------------------------------------------------------
bool LoadGrids(const std::string& path, std::map<std::string, Grid>& out, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::map<char, std::string> legend;
  std::string line, name;
  Grid* current = nullptr;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (current) {
      if (line == "end") {
        for (const auto& r : current->rows)
          if (r.size() != current->rows[0].size()) {
            error = path + ": ragged grid " + name;
            return false;
          }
        current = nullptr;
        continue;
      }
      for (char c : line)
        if (!legend.count(c)) {
          error = path + ":" + std::to_string(lineNo) + ": no legend for '" + c + "'";
          return false;
        }
      current->rows.push_back(line);
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    std::string word;
    ls >> word;
    if (word == "legend" && line.size() >= 9) {
      std::string colour;
      std::istringstream rest(line.substr(9));
      rest >> colour;
      legend[line[7]] = colour;
    } else if (word == "grid") {
      ls >> name;
      current = &out[name];
      current->rows.clear();
      current->legend = legend;
    } else {
      error = path + ":" + std::to_string(lineNo) + ": unexpected line";
      return false;
    }
  }
  return current == nullptr;
}

Picture GridPicture(const Grid& g, const std::map<std::string, std::string>& roles) {
  int h = int(g.rows.size()), w = h ? int(g.rows[0].size()) : 0;
  Picture p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::string& colour = g.legend.at(g.rows[y][x]);
      if (colour == "none") continue;
      if (colour == "black")
        p.Set(x, y, kBlack);
      else if (colour == "white")
        p.Set(x, y, kWhite);
      else {
        auto dot = colour.find('.');
        std::string ramp = colour.substr(0, dot);
        if (roles.count(ramp)) ramp = roles.at(ramp);
        p.Set(x, y, Ink(ramp, std::stoi(colour.substr(dot + 1))));
      }
    }
  return p;
}

// ---- file formats -----------------------------------------------------------------------
static void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
static void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xffff);
  Put16(v, x >> 16);
}

std::vector<uint8_t> EncodeDib(const Sheet& s) {
  std::vector<uint8_t> v;
  Put32(v, 40);
  Put32(v, kSheetWidth);
  Put32(v, kSheetHeight);  // positive: bottom-up rows
  Put16(v, 1);
  Put16(v, 8);
  for (int i = 0; i < 6; ++i) Put32(v, i == 4 ? 256 : 0);  // compression..important
  for (int i = 0; i < 256; ++i) {
    const Rgb& c = PaletteColour(i);
    v.push_back(c.b);
    v.push_back(c.g);
    v.push_back(c.r);
    v.push_back(0);
  }
  for (int y = kSheetHeight - 1; y >= 0; --y)
    v.insert(v.end(), s.px.begin() + y * kSheetWidth, s.px.begin() + (y + 1) * kSheetWidth);
  return v;
}

// The icon is the king's head from his front-facing frame, at 32 and 16 pixels.
std::vector<uint8_t> EncodeIcon(const Sheet& s) {
  const int headX = 128 + 8, headY = 192 + 1;  // 16 x 16 around the crowned head
  auto pixel = [&](int x, int y, uint32_t& bgra) {
    bool clear = s.At(x + kMaskOffset, y) == kWhite;
    const Rgb& c = PaletteColour(s.At(x, y));
    bgra = clear ? 0u : (0xff000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b);
    return clear;
  };
  std::vector<uint8_t> images[2];
  const int sizes[2] = {32, 16};
  for (int k = 0; k < 2; ++k) {
    int n = sizes[k], scale = n / 16;
    std::vector<uint8_t>& v = images[k];
    Put32(v, 40);
    Put32(v, n);
    Put32(v, 2 * n);  // colour rows plus the AND mask rows
    Put16(v, 1);
    Put16(v, 32);
    for (int i = 0; i < 6; ++i) Put32(v, 0);
    int maskStride = ((n + 31) / 32) * 4;
    std::vector<uint8_t> mask(maskStride * n, 0);
    for (int y = n - 1; y >= 0; --y)
      for (int x = 0; x < n; ++x) {
        uint32_t bgra;
        bool clear = pixel(headX + x / scale, headY + y / scale, bgra);
        Put32(v, bgra);
        if (clear) mask[(n - 1 - y) * maskStride + x / 8] |= uint8_t(0x80 >> (x % 8));
      }
    v.insert(v.end(), mask.begin(), mask.end());
  }
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 2);
  uint32_t offset = 6 + 16 * 2;
  for (int k = 0; k < 2; ++k) {
    out.push_back(uint8_t(sizes[k]));
    out.push_back(uint8_t(sizes[k]));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, uint32_t(images[k].size()));
    Put32(out, offset);
    offset += uint32_t(images[k].size());
  }
  for (auto& img : images) out.insert(out.end(), img.begin(), img.end());
  return out;
}

}  // namespace sheet
