// Decoding .ico files. Kept apart from the resource look-up so that the host tool drawing the
// desktop's icons decodes the window's icon with this same code. A .ico file is a directory
// of images; each uncompressed one is a bitmap header, the pixels bottom row first, then a
// 1-bit mask that 32-bit images do not need.
#include "platform/resources/icon_image.h"

namespace quillorn::platform {

namespace {

uint32_t Get16(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}
uint32_t Get32(const uint8_t* p) {
  return Get16(p) | Get16(p + 2) << 16;
}

}  // namespace

bool DecodeIcon(const Resource& res, int32_t size, IconImage& out) {
  const uint8_t* d = res.data;
  if (d == nullptr || res.size < 6 || Get16(d) != 0 || Get16(d + 2) != 1) return false;
  uint32_t count = Get16(d + 4);
  if (res.size < 6 + size_t(count) * 16) return false;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = d + 6 + i * 16;
    int32_t w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
    uint32_t bytes = Get32(e + 8), offset = Get32(e + 12);
    if (w != size || h != size || offset > res.size || bytes > res.size - offset) continue;
    const uint8_t* bmp = d + offset;
    if (bytes < 40 || Get32(bmp) < 40) continue;  // not a bitmap header (a PNG, say)
    uint32_t header = Get32(bmp);
    if (int32_t(Get32(bmp + 4)) != w || int32_t(Get32(bmp + 8)) != 2 * h || Get16(bmp + 14) != 32 ||
        Get32(bmp + 16) != 0)
      continue;
    if (bytes < header + size_t(w) * size_t(h) * 4) continue;
    const uint8_t* px = bmp + header;
    out.width = w;
    out.height = h;
    out.argb.assign(size_t(w) * size_t(h), 0);
    for (int32_t y = 0; y < h; ++y) {
      const uint8_t* row = px + size_t(h - 1 - y) * size_t(w) * 4;  // bottom row first
      for (int32_t x = 0; x < w; ++x) {
        const uint8_t* p = row + x * 4;  // B, G, R, A
        out.argb[size_t(y) * size_t(w) + size_t(x)] =
            uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
      }
    }
    return true;
  }
  return false;
}

}  // namespace quillorn::platform
