// icon_png ICO APP_ID OUT_DIR SIZE...: the desktop's icons from the window's icon file. The
// icon is drawn at 16 x 16; each size (a multiple of 16) repeats every pixel into a block,
// never blends, and is written as OUT_DIR/hicolor/SIZExSIZE/apps/APP_ID.png.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/resources/icon_image.h"

namespace {

constexpr int kDrawnSize = 16;

bool WritePng(const std::string& path, const quillorn::platform::IconImage& icon, int size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, png_uint_32(size), png_uint_32(size), 8, PNG_COLOR_TYPE_RGBA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> row(size_t(size) * 4);
  const int k = size / icon.width;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      uint32_t argb = icon.argb[size_t(y / k) * size_t(icon.width) + size_t(x / k)];
      uint8_t* p = &row[size_t(x) * 4];
      p[0] = uint8_t(argb >> 16);
      p[1] = uint8_t(argb >> 8);
      p[2] = uint8_t(argb);
      p[3] = uint8_t(argb >> 24);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: icon_png ICO APP_ID OUT_DIR SIZE...\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  quillorn::platform::IconImage icon;
  if (!quillorn::platform::DecodeIcon({bytes.data(), bytes.size()}, kDrawnSize, icon)) {
    std::fprintf(stderr, "icon_png: %s has no %dx%d 32-bit image\n", argv[1], kDrawnSize,
                 kDrawnSize);
    return 1;
  }
  for (int i = 4; i < argc; ++i) {
    int size = std::atoi(argv[i]);
    if (size < kDrawnSize || size % kDrawnSize != 0) {
      std::fprintf(stderr, "icon_png: %s is not a multiple of %d\n", argv[i], kDrawnSize);
      return 2;
    }
    std::string n = std::to_string(size);
    std::filesystem::path dir = std::filesystem::path(argv[3]) / "hicolor" / (n + "x" + n) / "apps";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    std::string path = (dir / (std::string(argv[2]) + ".png")).string();
    if (!WritePng(path, icon, size)) {
      std::fprintf(stderr, "icon_png: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
