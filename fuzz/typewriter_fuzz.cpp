// The typewriter on arbitrary bytes: a message box opened with them is typed to its end one
// character a call, and the whole text is also drawn doubled at a place the bytes choose.
// Typing must end within one call per byte, and the pen must stay on its lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "graphics/graphics.h"
#include "platform/headless/headless.h"
#include "script/message_box.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  using namespace quillorn;
  static bool graphics = false;
  if (!graphics) {  // the real sheet and font, once
    headless::Reset();
    InitGraphics();
    graphics = true;
  }
  if (size < 2) return 0;
  const int32_t x = int32_t(bytes[0]) * 3 - 128, y = int32_t(bytes[1]) * 3 - 160;
  const std::string text(reinterpret_cast<const char*>(bytes + 2), size - 2);  // ends in NUL

  OpenMessageBox(text.c_str(), 16, (bytes[0] & 1) ? 336 : 48);
  int32_t calls = 0;
  while (TypeNextCharacter() == 1) {
    if (++calls > kMessageTextSize) std::abort();  // every call uses up at least one byte
    if (MessageText.penX < 0 || MessageText.penX >= kWrapWidth) std::abort();
    if (MessageText.readPos < 1 || MessageText.readPos > kMessageTextSize) std::abort();
  }
  if (TypeNextCharacter() != 0) std::abort();  // an ended text stays ended

  const int32_t width = DrawTextDoubled(x, y, text.c_str());
  if (width < 0 || width % 2 != 0) std::abort();
  return 0;
}
