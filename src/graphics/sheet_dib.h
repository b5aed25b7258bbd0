// Reading the sprite sheet resource: a device-independent bitmap without a file header,
// 8 bits per pixel, a 256-entry colour table right after the header and the rows stored
// bottom-up.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/surface.h"

namespace quillorn {

struct SheetDib {
  int32_t width = 0;
  int32_t height = 0;
  const uint8_t* colorTable = nullptr;  // 256 entries of blue, green, red, 0
  const uint8_t* pixels = nullptr;      // first stored row is the picture's bottom row
  size_t stride = 0;                    // bytes per stored row
};

// Checks the header and finds the parts. Refuses anything but 8 bits per pixel, sizes that
// are not positive, and a resource too short to hold the pixels it announces.
bool ReadSheetDib(const uint8_t* data, size_t size, SheetDib& out);

// The sheet as a top-down surface, every index mapped through the bitmap's own colours.
platform::Surface ConvertSheetDib(const SheetDib& dib);

}  // namespace quillorn
