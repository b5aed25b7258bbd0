// Splitting Shift-JIS (code page 932) text into characters.
#pragma once

#include <cstdint>

namespace quillorn::platform {

// Bytes that begin a two-byte character.
constexpr bool IsLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

struct TextChar {
  uint16_t code = 0;    // single byte, or lead * 256 + trail
  int32_t length = 0;   // bytes taken from the text: 0 at the end, else 1 or 2
  int32_t advance = 0;  // cell width: 14 for a two-byte character, 7 otherwise
};

// The character that starts at text. A lead byte directly before the terminating zero is
// taken alone, as a one-byte character without a glyph, so decoding never passes the end.
inline TextChar NextChar(const char* text) {
  uint8_t b = uint8_t(text[0]);
  if (b == 0) return {};
  if (IsLeadByte(b) && text[1] != 0) return {uint16_t(b << 8 | uint8_t(text[1])), 2, 14};
  return {b, 1, 7};
}

}  // namespace quillorn::platform
