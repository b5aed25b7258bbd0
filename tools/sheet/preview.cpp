// sheet_preview PAT OUT_DIR: writes review pictures of the sprite sheet: the sheet itself, a
// 3x contact sheet (labelled tiles, people standing on floor), the start room, the title
// screen and the staff roll corridor, each composed the way the game composes them.
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kW = 640, kH = 704;

struct Image {
  int w, h;
  std::vector<uint32_t> px;  // 0xRRGGBB
  Image(int width, int height, uint32_t fill = 0) : w(width), h(height), px(width * height, fill) {}
  void Set(int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < w && y < h) px[y * w + x] = c;
  }
  uint32_t Get(int x, int y) const { return px[y * w + x]; }
};

Image gSheet(kW, kH);

bool LoadSheet(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), {});
  if (d.size() != 451624) return false;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      int i = d[1064 + (kH - 1 - y) * kW + x];
      const uint8_t* c = &d[40 + 4 * i];
      gSheet.Set(x, y, uint32_t(c[2]) << 16 | uint32_t(c[1]) << 8 | c[0]);
    }
  return true;
}

// The game's two copies: opaque, and masked (AND with the mask, then OR the sprite).
void Copy(Image& dst, int dx, int dy, int w, int h, int sx, int sy) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) dst.Set(dx + i, dy + j, gSheet.Get(sx + i, sy + j));
}
void Sprite(Image& dst, int dx, int dy, int w, int h, int sx, int sy) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      int x = dx + i, y = dy + j;
      if (x < 0 || y < 0 || x >= dst.w || y >= dst.h) continue;
      uint32_t m = gSheet.Get(sx + 256 + i, sy + j) & 0xffffff;
      dst.Set(x, y, (dst.Get(x, y) & m) | gSheet.Get(sx + i, sy + j));
    }
}
void Actor(Image& dst, int x, int y, int type, int dir, int frame) {
  Sprite(dst, x, y, 32, 32, 0, 480);
  Sprite(dst, x, y - 4, 32, 32, 32 * (2 * dir + frame), 192 + 32 * type);
}
void Tile(Image& dst, int x, int y, int id) {
  Copy(dst, x, y, 32, 32, 32 * (id % 20), 32 * (id / 20));
}

Image Scale(const Image& src, int k) {
  Image out(src.w * k, src.h * k);
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x) out.Set(x, y, src.Get(x / k, y / k));
  return out;
}

// A 3 x 5 digit font for the labels.
const char* kDigits[10] = {
    "111101101101111", "010110010010111", "111001111100111", "111001111001111", "101101111001001",
    "111100111001111", "111100111101111", "111001001001001", "111101111101111", "111101111001111"};
void Label(Image& img, int x, int y, int n) {
  std::string s = std::to_string(n);
  int w = int(s.size()) * 4 + 1;
  for (int j = -1; j < 6; ++j)
    for (int i = -1; i < w; ++i) img.Set(x + i, y + j, 0x000000);
  for (size_t k = 0; k < s.size(); ++k)
    for (int j = 0; j < 5; ++j)
      for (int i = 0; i < 3; ++i)
        if (kDigits[s[k] - '0'][j * 3 + i] == '1') img.Set(x + int(k) * 4 + i, y + j, 0xffff60);
}

bool WritePng(const std::string& path, const Image& img) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, img.w, img.h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> row(img.w * 3);
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      uint32_t c = img.Get(x, y);
      row[3 * x] = uint8_t(c >> 16), row[3 * x + 1] = uint8_t(c >> 8), row[3 * x + 2] = uint8_t(c);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
  return true;
}

const int kTitleRoom[9][9] = {{119, 80, 80, 80, 80, 80, 80, 80, 119},
                              {80, 80, 100, 100, 100, 43, 44, 80, 80},
                              {80, 100, 59, 59, 108, 63, 64, 100, 80},
                              {80, 59, 59, 1, 1, 1, 1, 1, 80},
                              {80, 59, 1, 1, 54, 51, 54, 1, 80},
                              {80, 1, 1, 1, 1, 1, 1, 1, 80},
                              {80, 80, 1, 1, 1, 1, 1, 80, 80},
                              {100, 80, 80, 80, 80, 80, 80, 80, 100},
                              {119, 100, 100, 100, 100, 100, 100, 100, 119}};

Image Contact() {
  // 20 tiles a row with a 2 px gap; then the nine people standing on floor, all eight frames.
  const int cell = 34;
  Image img(20 * cell + 2, 6 * cell + 9 * cell + 2 * cell + 4, 0x202020);
  for (int id = 0; id < 120; ++id) {
    int x = 2 + (id % 20) * cell, y = 2 + (id / 20) * cell;
    Tile(img, x, y, id);
  }
  int top = 6 * cell + 4;
  for (int r = 0; r < 9; ++r)
    for (int f = 0; f < 8; ++f) {
      int x = 2 + f * cell, y = top + r * cell;
      Tile(img, x, y, f < 4 ? 0 : 1);
      Actor(img, x, y, r, f / 2, f % 2);
    }
  // small sprites over the plain floor and the message box pieces
  for (int k = 0; k < 8; ++k) {
    int x = 2 + (9 + k % 4) * cell, y = top + (k / 4) * cell;
    Tile(img, x, y, 0);
    Sprite(img, x, y, 32, 32, 32 * k, 480);
  }
  for (int d = 0; d < 4; ++d) {
    int x = 2 + (9 + d) * cell, y = top + 2 * cell;
    Tile(img, x, y, 0);
    Sprite(img, x, y, 32, 32, 32 * d, 512);
  }
  Image big = Scale(img, 3);
  for (int id = 0; id < 120; ++id)
    Label(big, 3 * (2 + (id % 20) * cell) + 2, 3 * (2 + (id / 20) * cell) + 2, id);
  return big;
}

// A room of a compiled castle map, its border drawn black, with its top-left corner at (ox, oy).
void DrawRoom(Image& img, int ox, int oy, const uint8_t* room) {
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 15; ++x) {
      bool border = x == 0 || y == 0 || x > 13 || y > 13;
      Tile(img, ox + 32 * x, oy + 32 * y, border ? 119 : room[40 + 2 * (16 * y + x)]);
    }
}

// A message box of cols by rows tiles: the rounded corners, the plain fill everywhere else.
void Box(Image& img, int x0, int y0, int cols, int rows) {
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      int sx = 96;
      if (r == 0 && c == 0) sx = 128;
      if (r == 0 && c == cols - 1) sx = 160;
      if (r == rows - 1 && c == 0) sx = 192;
      if (r == rows - 1 && c == cols - 1) sx = 224;
      Sprite(img, x0 + 32 * c, y0 + 32 * r, 32, 32, sx, 480);
    }
}

// The start room, as the castle map holds it.
Image Room2(const std::vector<uint8_t>& map) {
  Image img(480, 512);
  DrawRoom(img, 0, 0, &map[552 * 2]);
  // the king at his start, a few people around, ordered by y as the game does
  const int cast[][4] = {{7, 3, 0, 2},  {3, 6, 3, 1},   {11, 7, 1, 3}, {8, 9, 4, 0},
                         {5, 11, 7, 2}, {10, 12, 8, 1}, {2, 12, 6, 2}};
  for (int y = 0; y < 16; ++y)
    for (const auto& c : cast)
      if (c[1] == y) Actor(img, 32 * c[0], 32 * c[1], c[2], c[3], 0);
  // hearts bar
  for (int i = 0; i < 12; ++i) Sprite(img, 44 + 32 * i, 456, 32, 32, i < 9 ? 64 : 32, 480);
  return img;
}

// The start room with a message box open at the bottom, as a spoken line shows it.
Image Room2WithBox(const std::vector<uint8_t>& map) {
  Image img = Room2(map);
  Box(img, 16, 336, 14, 3);
  return img;
}

Image Title() {
  Image img(480, 512);
  Copy(img, 32, 32, 416, 64, 0, 544);
  for (int i = 0; i < 9; ++i) Sprite(img, 96 + 32 * i, 104, 32, 32, 64, 480);
  for (int r = 0; r < 9; ++r)
    for (int c = 0; c < 9; ++c) Tile(img, 96 + 32 * c, 160 + 32 * r, kTitleRoom[r][c]);
  Sprite(img, 224, 288, 32, 32, 0, 480);
  Sprite(img, 224, 284, 32, 32, 64, 192);
  Copy(img, 32, 448, 192, 64, 0, 608);
  Box(img, 320, 320, 4, 5);
  for (int i = 0; i < 4; ++i) Copy(img, 352, 336 + 32 * i, 64, 32, 512, 192 + 32 * i);
  Sprite(img, 322, 332, 32, 32, 64, 480);
  Sprite(img, 416, 332, 32, 32, 64, 480);
  return img;
}

// The title room on its own with a few people standing in it.
Image TitleRoomCast() {
  Image img(288, 288);
  for (int r = 0; r < 9; ++r)
    for (int c = 0; c < 9; ++c) Tile(img, 32 * c, 32 * r, kTitleRoom[r][c]);
  Actor(img, 128, 128, 0, 1, 0);  // the king at the table, as on the title screen
  Actor(img, 64, 160, 1, 2, 0);   // the queen
  Actor(img, 192, 96, 6, 3, 1);   // the maid, mid-step
  Actor(img, 160, 192, 8, 0, 0);  // the girl, from behind
  return Scale(img, 3);
}

Image StaffRoll() {
  Image img(480, 512);
  for (int y = 0; y < 512; y += 32)
    for (int x = 0; x < 480; x += 32) Copy(img, x, y, 32, 32, 608, 160);
  Copy(img, 160, 64, 160, 128, 480, 544);
  for (int n = 0; n < 15; ++n) {
    int x = 32 * n;
    Copy(img, x, 240, 32, 32, 32, 128);
    Copy(img, x, 256, 32, 32, 32, 160);
    Copy(img, x, 288, 32, 32, 0, 0);
    if (n % 4 == 2) Copy(img, x, 288, 32, 32, 544, 128);
    Copy(img, x, 320, 32, 32, 0, 0);
    Copy(img, x, 352, 32, 32, 0, 0);
    if (n % 4 == 0) Copy(img, x, 352, 32, 32, 544, 128);
    Copy(img, x, 384, 32, 32, 32, 128);
    Copy(img, x, 416, 32, 32, 32, 160);
  }
  for (int i = 0; i < 8; ++i) Actor(img, 40 + (i == 0 ? 0 : 64 + 40 * i), 316, i, 3, i % 2);
  return img;
}

// The instructions page: the box fill tiled, three boxes and their hearts.
Image Help() {
  Image img(480, 512);
  for (int y = 0; y < 512; y += 32)
    for (int x = 0; x < 480; x += 32) Copy(img, x, y, 32, 32, 96, 480);
  for (int b = 0; b < 3; ++b) Box(img, 16, 72 + 144 * b, 14, 3);
  for (int b = 0; b < 3; ++b)
    for (int k = 0; k <= b; ++k) Sprite(img, 32 + 32 * k, 44 + 144 * b, 32, 32, 64, 480);
  return img;
}

// Every floor tile repeated 3 x 3, to spot seams.
Image Floors() {
  Image img(10 * 100, 4 * 100, 0x202020);
  for (int id = 0; id < 40; ++id)
    for (int k = 0; k < 9; ++k)
      Tile(img, (id % 10) * 100 + 2 + 32 * (k % 3), (id / 10) * 100 + 2 + 32 * (k / 3), id);
  Image big = Scale(img, 2);
  for (int id = 0; id < 40; ++id) Label(big, (id % 10) * 200 + 4, (id / 10) * 200 + 4, id);
  return big;
}

// The icon's two pictures as the icon file would show them, enlarged.
Image Icon(const std::vector<uint8_t>& ico) {
  Image img(2 * 32 + 16 + 6, 34, 0x406040);
  int x0 = 1;
  for (int k = 0; k < 2; ++k) {
    const uint8_t* e = &ico[6 + 16 * k];
    int n = e[0];
    uint32_t off = e[12] | e[13] << 8 | e[14] << 16 | uint32_t(e[15]) << 24;
    const uint8_t* bits = &ico[off + 40];
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) {
        const uint8_t* px = bits + 4 * ((n - 1 - y) * n + x);
        if (px[3]) img.Set(x0 + x, 1 + y, uint32_t(px[2]) << 16 | px[1] << 8 | px[0]);
      }
    x0 += n + 4;
  }
  return Scale(img, 4);
}

// Eight rooms of a compiled castle map side by side, four to a row.
Image Rooms(const std::vector<uint8_t>& map, int first) {
  Image img(4 * 484, 2 * 516, 0x303030);
  for (int k = 0; k < 8; ++k) {
    int ox = (k % 4) * 484, oy = (k / 4) * 516;
    DrawRoom(img, ox, oy, &map[552 * (first + k)]);
    Label(img, ox + 4, oy + 4, first + k);
  }
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4 || !LoadSheet(argv[1])) {
    std::fprintf(stderr, "usage: sheet_preview PAT OUT_DIR [MAP] (PAT: the 451624-byte sheet)\n");
    return 1;
  }
  std::string dir = argv[2];
  bool ok = WritePng(dir + "/sheet.png", gSheet) &&
            WritePng(dir + "/sheet-3x.png", Scale(gSheet, 3)) &&
            WritePng(dir + "/sheet-contact.png", Contact()) &&
            WritePng(dir + "/title.png", Scale(Title(), 2)) &&
            WritePng(dir + "/title-room.png", TitleRoomCast()) &&
            WritePng(dir + "/staffroll.png", Scale(StaffRoll(), 2)) &&
            WritePng(dir + "/help.png", Help()) && WritePng(dir + "/floors-3x3.png", Floors());
  std::string icoPath = std::string(argv[1]);
  icoPath = icoPath.substr(0, icoPath.find_last_of('/') + 1) + "quillorn.ico";
  std::ifstream icoFile(icoPath, std::ios::binary);
  std::vector<uint8_t> ico((std::istreambuf_iterator<char>(icoFile)), {});
  if (ico.size() > 38) ok = ok && WritePng(dir + "/icon.png", Icon(ico));
  if (argc == 4) {
    std::ifstream mapFile(argv[3], std::ios::binary);
    std::vector<uint8_t> map((std::istreambuf_iterator<char>(mapFile)), {});
    if (map.size() == 32 * 552) {
      ok = ok && WritePng(dir + "/room2.png", Scale(Room2(map), 2)) &&
           WritePng(dir + "/room2-box.png", Scale(Room2WithBox(map), 2));
      for (int g = 0; g < 4; ++g)
        ok = ok && WritePng(dir + "/rooms-" + std::to_string(8 * g) + ".png", Rooms(map, 8 * g));
    }
  }
  return ok ? 0 : 1;
}
