#include "script/text_cut.h"

#include <cstdint>

namespace quillorn {

void CopyTextCut(char* dest, size_t size, const char* text) {
  if (size == 0) return;
  size_t n = 0;
  if (text) {
    while (text[n] != 0) {
      size_t length = uint8_t(text[n]) > 0x80 && text[n + 1] != 0 ? 2 : 1;
      if (n + length > size - 1) break;
      for (size_t i = 0; i < length; ++i) dest[n + i] = text[n + i];
      n += length;
    }
  }
  dest[n] = 0;
}

}  // namespace quillorn
