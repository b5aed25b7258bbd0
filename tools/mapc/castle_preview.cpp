// castle_preview: draws all 32 rooms from the compiled MAP and the sprite sheet into one
// PNG, 4 rooms across and 8 down at half size, each labelled with its number; doorways are
// outlined and marked with the room they lead to.
// Usage: castle_preview CASTLE.map PAT.dib OUT.png   (a missing sheet draws flat colours)
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int kRoomBytes = 552;
constexpr int kSheetW = 640, kSheetH = 704;
constexpr int kCellW = 240, kCellH = 256;  // the window's 480 x 512 at half size
constexpr int kLabelH = 18, kGap = 8;
constexpr int kCols = 4, kRowsOfRooms = 8;
constexpr int kImageW = kCols * (kCellW + kGap) + kGap;
constexpr int kImageH = kRowsOfRooms * (kCellH + kLabelH + kGap) + kGap;

struct Rgb {
  uint8_t r, g, b;
};

struct Image {
  std::vector<Rgb> px = std::vector<Rgb>(kImageW * kImageH, Rgb{40, 40, 48});
  void Set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < kImageW && y < kImageH) px[y * kImageW + x] = c;
  }
};

struct Sheet {
  bool loaded = false;
  std::vector<Rgb> px;  // top-down
  bool Load(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), {});
    if (d.size() < 1064 + kSheetW * kSheetH) return false;
    auto u32 = [&](int o) { return d[o] | d[o + 1] << 8 | d[o + 2] << 16 | d[o + 3] << 24; };
    if (u32(4) != kSheetW || u32(8) != kSheetH || d[14] != 8) return false;
    int bits = u32(0) + 1024;
    px.resize(kSheetW * kSheetH);
    for (int y = 0; y < kSheetH; ++y)
      for (int x = 0; x < kSheetW; ++x) {
        int i = d[bits + (kSheetH - 1 - y) * kSheetW + x];
        px[y * kSheetW + x] = {d[40 + 4 * i + 2], d[40 + 4 * i + 1], d[40 + 4 * i]};
      }
    return loaded = true;
  }
};

// Flat colours by kind of tile, for when the sheet is not there.
Rgb FlatColour(int id) {
  if (id == 119) return {0, 0, 0};
  if (id == 97) return {220, 60, 70};
  if (id == 117) return {235, 210, 60};
  if (id < 40) return {uint8_t(150 + id % 5 * 10), uint8_t(140 + id % 3 * 12), 120};
  if (id == 81 || id == 80) return {70, 66, 80};
  if (id >= 100 && id <= 111) return {110, 104, 120};
  return {140, 95, 60};
}

// A 3 x 5 pixel font for the digits, one row of three bits per line.
const uint8_t kDigits[10][5] = {{7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7},
                                {5, 5, 7, 1, 1}, {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2},
                                {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7}};

void DrawNumber(Image& img, int x, int y, int n, int scale, Rgb c) {
  char text[8];
  int len = std::snprintf(text, sizeof text, "%d", n);
  for (int i = 0; i < len; ++i)
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col)
        if (kDigits[text[i] - '0'][row] & (4 >> col))
          for (int sy = 0; sy < scale; ++sy)
            for (int sx = 0; sx < scale; ++sx)
              img.Set(x + (i * 4 + col) * scale + sx, y + row * scale + sy, c);
}

void DrawRoom(Image& img, const uint8_t* room, const Sheet& sheet, int ox, int oy) {
  const uint8_t* cells = room + 40;
  for (int ty = 0; ty < 16; ++ty)
    for (int tx = 0; tx < 15; ++tx) {
      bool border = tx == 0 || ty == 0 || tx > 13 || ty > 13;
      int id = border ? 119 : cells[2 * (ty * 16 + tx)];
      int sx0 = 32 * (id % 20), sy0 = 32 * (id / 20);
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
          Rgb c = FlatColour(id);
          if (sheet.loaded) {
            int r = 0, g = 0, b = 0;
            for (int k = 0; k < 4; ++k) {
              Rgb p = sheet.px[(sy0 + 2 * y + k / 2) * kSheetW + sx0 + 2 * x + k % 2];
              r += p.r, g += p.g, b += p.b;
            }
            c = {uint8_t(r / 4), uint8_t(g / 4), uint8_t(b / 4)};
          }
          img.Set(ox + 16 * tx + x, oy + 16 * ty + y, c);
        }
      // The exit layer lies transposed: the exit of (tx, ty) is in cell tx * 16 + ty.
      int exitNumber = cells[2 * (tx * 16 + ty) + 1];
      if (!exitNumber || border) continue;
      const Rgb mark = {255, 230, 0};
      for (int i = 0; i < 16; ++i) {
        img.Set(ox + 16 * tx + i, oy + 16 * ty, mark);
        img.Set(ox + 16 * tx + i, oy + 16 * ty + 15, mark);
        img.Set(ox + 16 * tx, oy + 16 * ty + i, mark);
        img.Set(ox + 16 * tx + 15, oy + 16 * ty + i, mark);
      }
      int dest = room[8 + 4 * exitNumber];
      DrawNumber(img, ox + 16 * tx + 2, oy + 16 * ty + 5, dest, 1, mark);
    }
}

bool WritePng(const char* path, const Image& img) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, kImageW, kImageH, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < kImageH; ++y)
    png_write_row(png, reinterpret_cast<png_const_bytep>(&img.px[y * kImageW]));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: castle_preview CASTLE.map PAT.dib OUT.png\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<uint8_t> map((std::istreambuf_iterator<char>(in)), {});
  if (map.size() != 32u * kRoomBytes) {
    std::fprintf(stderr, "castle_preview: %s is not a castle map\n", argv[1]);
    return 1;
  }
  Sheet sheet;
  if (!sheet.Load(argv[2])) std::fprintf(stderr, "castle_preview: no sheet, flat colours\n");
  Image img;
  for (int n = 0; n < 32; ++n) {
    int ox = kGap + (n % kCols) * (kCellW + kGap);
    int oy = kGap + (n / kCols) * (kCellH + kLabelH + kGap);
    DrawNumber(img, ox, oy + 2, n, 3, {240, 240, 240});
    DrawRoom(img, map.data() + n * kRoomBytes, sheet, ox, oy + kLabelH);
  }
  return WritePng(argv[3], img) ? 0 : 1;
}
