// Images of ICON resources (the .ico file format), for the window icon and dialogs.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace quillorn::platform {

struct IconImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> argb;  // 0xAARRGGBB, straight alpha, top row first
};

// Decodes the size x size image of a .ico file; only uncompressed 32-bit images are read.
bool DecodeIcon(const Resource& res, int32_t size, IconImage& out);
// The same for the ICON resource of that name.
bool LoadIcon(const char* name, int32_t size, IconImage& out);

}  // namespace quillorn::platform
