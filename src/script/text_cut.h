// Copying a Shift-JIS text into a fixed field without splitting a character.
#pragma once

#include <cstddef>

namespace quillorn {

// Copies text into dest (size bytes, NUL included). A longer text is cut after its last
// whole character that fits; a byte above 0x80 starts a two-byte character.
void CopyTextCut(char* dest, size_t size, const char* text);

}  // namespace quillorn
