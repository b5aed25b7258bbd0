#include "graphics/sheet_dib.h"

namespace quillorn {

namespace {

uint32_t ReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t ReadU16(const uint8_t* p) {
  return uint16_t(p[0] | p[1] << 8);
}

constexpr size_t kHeaderSize = 40;
constexpr size_t kColorTableSize = 256 * 4;

}  // namespace

bool ReadSheetDib(const uint8_t* data, size_t size, SheetDib& out) {
  if (data == nullptr || size < kHeaderSize) return false;
  uint32_t headerSize = ReadU32(data);
  int32_t width = int32_t(ReadU32(data + 4));
  int32_t height = int32_t(ReadU32(data + 8));
  uint16_t bitCount = ReadU16(data + 14);
  if (bitCount != 8) return false;
  if (headerSize < kHeaderSize || width <= 0 || height <= 0) return false;
  // The pixels follow a full 256-entry colour table, whatever biClrUsed says; rows are
  // padded to four bytes. Nothing outside the resource may be read.
  uint64_t stride = (uint64_t(width) + 3) & ~uint64_t(3);
  uint64_t pixelOffset = uint64_t(headerSize) + kColorTableSize;
  if (uint64_t(size) < pixelOffset || (uint64_t(size) - pixelOffset) / stride < uint64_t(height))
    return false;
  out.width = width;
  out.height = height;
  out.colorTable = data + headerSize;
  out.pixels = data + pixelOffset;
  out.stride = size_t(stride);
  return true;
}

platform::Surface ConvertSheetDib(const SheetDib& dib) {
  platform::Pixel colors[256];
  for (int i = 0; i < 256; ++i) {
    const uint8_t* c = dib.colorTable + 4 * i;
    colors[i] = platform::MakePixel(c[2], c[1], c[0]);
  }
  platform::Surface sheet = platform::MakeSurface(dib.width, dib.height);
  for (int32_t stored = 0; stored < dib.height; ++stored) {
    const uint8_t* in = dib.pixels + size_t(stored) * dib.stride;
    platform::Pixel* out = sheet.Row(dib.height - 1 - stored);
    for (int32_t x = 0; x < dib.width; ++x) out[x] = colors[in[x]];
  }
  return sheet;
}

}  // namespace quillorn
