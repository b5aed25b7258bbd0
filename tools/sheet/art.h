// Shared pieces of the sheet tool: the palette, pictures of colour indices with transparency,
// small drawing routines and the sheet itself.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sheet {

constexpr int kSheetWidth = 640;
constexpr int kSheetHeight = 704;
constexpr int kMaskOffset = 256;
constexpr int kClear = -1;  // a transparent picture pixel
constexpr int kBlack = 0;
constexpr int kWhite = 255;
constexpr int kShades = 7;

// ---- palette ----------------------------------------------------------------------------
struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

// Reads data/sheet/palette.txt. Ramps get consecutive indices from 10.
bool LoadPalette(const std::string& path, std::string& error);
const Rgb& PaletteColour(int index);
bool HasRamp(const std::string& name);
// Index of shade k (0 darkest .. 6 lightest, clamped) of a ramp; aborts on an unknown ramp.
int Ink(const std::string& ramp, int shade);
// Ramp name and shade of a colour index, for shading an already drawn pixel.
bool RampOf(int index, std::string& ramp, int& shade);

// ---- pictures ---------------------------------------------------------------------------
struct Picture {
  int w = 0, h = 0;
  std::vector<int> px;
  Picture() = default;
  Picture(int width, int height, int fill = kClear)
      : w(width), h(height), px(width * height, fill) {}
  bool In(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
  int Get(int x, int y) const { return In(x, y) ? px[y * w + x] : kClear; }
  void Set(int x, int y, int c) {
    if (In(x, y)) px[y * w + x] = c;
  }
};

// Deterministic noise in 0..255 for texture.
int Noise(int x, int y, int seed);

void FillRect(Picture& p, int x, int y, int w, int h, int c);
void HLine(Picture& p, int x0, int x1, int y, int c);
void VLine(Picture& p, int x, int y0, int y1, int c);
void Line(Picture& p, int x0, int y0, int x1, int y1, int c);
void FillEllipse(Picture& p, int cx2, int cy2, int rx2, int ry2, int c);  // doubled coords
void Blit(Picture& dst, const Picture& src, int x, int y);                // skips kClear
Picture Crop(const Picture& src, int x, int y, int w, int h);
Picture MirrorX(const Picture& src);

// A shape is a set of pixels painted as one piece of one material: lit along its top-left
// edge, shaded along its bottom-right, and outlined with the ramp's darkest shade.
struct Shape {
  int w = 32, h = 32;
  std::vector<uint8_t> on;
  explicit Shape(int width = 64, int height = 64) : w(width), h(height), on(width * height, 0) {}
  bool Has(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h && on[y * w + x]; }
  void Add(int x, int y) {
    if (x >= 0 && y >= 0 && x < w && y < h) on[y * w + x] = 1;
  }
  void Remove(int x, int y) {
    if (x >= 0 && y >= 0 && x < w && y < h) on[y * w + x] = 0;
  }
  void Rect(int x, int y, int rw, int rh);
  void Ellipse(int cx2, int cy2, int rx2, int ry2);  // doubled coords, for half-pixel centres
};

enum class Edge { kOver, kUnder, kNone };
// Paints the shape: base shade inside, one lighter on its top-left rim, one darker on its
// bottom-right rim, outline in shade 0 (over anything, only onto clear pixels, or none).
void Paint(Picture& p, const Shape& s, const std::string& ramp, int base, Edge edge = Edge::kOver,
           int dx = 0, int dy = 0);
// Darkest-shade outline around every non-clear pixel that touches a clear one.
void OutlineClear(Picture& p);

// ---- the sheet --------------------------------------------------------------------------
struct Sheet {
  std::vector<uint8_t> px = std::vector<uint8_t>(kSheetWidth * kSheetHeight, 0);
  void PutOpaque(const Picture& pic, int x, int y);  // clear becomes black
  void PutMasked(const Picture& pic, int x, int y);  // writes the mask 256 px to the right
  uint8_t At(int x, int y) const { return px[y * kSheetWidth + x]; }
};

// ---- the parts of the sheet -------------------------------------------------------------
struct Grid {
  std::vector<std::string> rows;
  std::map<char, std::string> legend;  // char -> colour name ("wood.3", "none", "white")
};
// Reads "legend C colour" and "grid NAME" ... "end" blocks from a text file.
bool LoadGrids(const std::string& path, std::map<std::string, Grid>& out, std::string& error);
// Turns a grid into a picture; roles map colour prefixes to ramp names.
Picture GridPicture(const Grid& g, const std::map<std::string, std::string>& roles = {});

bool DrawTiles(Sheet& s, const std::string& dataDir, std::string& error);
bool DrawCharacters(Sheet& s, const std::string& dataDir, std::string& error);
bool DrawSmallSprites(Sheet& s, const std::string& dataDir, std::string& error);
bool DrawLettering(Sheet& s, const std::string& dataDir, std::string& error);
// The floor tile 0 picture, used as the ground under standing objects.
Picture FloorTile(int id);

std::vector<uint8_t> EncodeDib(const Sheet& s);
std::vector<uint8_t> EncodeIcon(const Sheet& s);

}  // namespace sheet
