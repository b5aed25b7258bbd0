// The WAVE reader. The chunk walk keeps the first "fmt " chunk of at least 14 bytes and the
// first "data" chunk, except that an empty "data" chunk gives way to a later one; it stops
// as soon as it has both, so anything after them is never looked at.
#include "sound/wave_file.h"

#include <cstring>

namespace quillorn {
namespace {

uint16_t ReadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

bool ParseWave(const uint8_t* bytes, size_t size, WaveSound& out) {
  if (!bytes || size < 8 || std::memcmp(bytes, "RIFF", 4) != 0) return false;
  // The form: n bytes after the size field, the first four of them "WAVE".
  const uint64_t n = ReadU32(bytes + 4);
  if (n > size - 8) return false;
  const uint8_t* form = bytes + 8;
  if (n < 4 || std::memcmp(form, "WAVE", 4) != 0) return false;

  const uint8_t* format = nullptr;
  const uint8_t* data = nullptr;
  uint32_t dataSize = 0;
  uint64_t chunk = 4;
  if (chunk >= n) return false;
  uint64_t body;
  for (;;) {
    if (n - chunk < 8) return false;
    const uint8_t* header = form + chunk;
    const uint32_t chunkSize = ReadU32(header + 4);
    body = chunk + 8;
    if (chunkSize > n - body) return false;
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (!format) {
        if (chunkSize < 14) return false;
        format = form + body;
      }
    } else if (std::memcmp(header, "data", 4) == 0) {
      if (!data || dataSize == 0) {
        data = form + body;
        dataSize = chunkSize;
      }
    }
    if (format && data && dataSize != 0) break;
    // An odd-sized body is followed by one fill byte.
    chunk = body + chunkSize + (chunkSize & 1);
    if (chunk >= n) return false;
  }
  if (body >= n) return false;

  const uint64_t formatAt = static_cast<uint64_t>(format - form);
  out.format.formatTag = ReadU16(format);
  out.format.channels = ReadU16(format + 2);
  out.format.framesPerSecond = ReadU32(format + 4);
  out.format.averageBytesPerSecond = ReadU32(format + 8);
  out.format.blockAlign = ReadU16(format + 12);
  // A 14-byte format has no sample size of its own: the sound device reads the two bytes
  // that follow it, which here must lie inside the form (else the size counts as 0).
  out.format.bitsPerSample = formatAt + 16 <= n ? ReadU16(format + 14) : 0;
  out.data = data;
  out.dataSize = dataSize;
  return true;
}

}  // namespace quillorn
