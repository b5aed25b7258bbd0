// A little-endian reader over a resource that never reads past its end: a read that would
// go past it gives zero (or an empty string) and clears ok, which then stays clear.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace quillorn::platform {

struct ResourceReader {
  const uint8_t* p;
  const uint8_t* end;
  bool ok = true;

  // An unsigned value of n bytes (1 to 4).
  uint32_t Bytes(int n) {
    if (end - p < n) return ok = false, 0;
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v |= uint32_t(p[i]) << (8 * i);
    p += n;
    return v;
  }
  uint32_t U32() { return Bytes(4); }
  int32_t S16() { return int16_t(Bytes(2)); }
  // A zero-ended string; without its zero the read fails.
  std::string Str() {
    const uint8_t* z = std::find(p, end, uint8_t(0));
    if (z == end) return ok = false, std::string();
    std::string s(reinterpret_cast<const char*>(p), size_t(z - p));
    p = z + 1;
    return s;
  }
};

}  // namespace quillorn::platform
