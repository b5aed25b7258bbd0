// The message box (14 x 3 tiles of dark green) and the typewriter that fills it one
// character at a time at double size.
#include "script/message_box.h"

#include <cstring>

#include "graphics/graphics.h"
#include "platform/platform.h"
#include "script/text_cut.h"

namespace quillorn {

MessageTextState MessageText;

namespace {

constexpr int32_t kBoxColumns = 14;
constexpr int32_t kBoxRows = 3;
constexpr int32_t kBoxTileY = 480;
constexpr int32_t kFillX = 96;
constexpr int32_t kTopLeftX = 128, kTopRightX = 160, kBottomLeftX = 192, kBottomRightX = 224;
constexpr int32_t kTextInsetX = 20, kTextInsetY = 18;
constexpr int32_t kCharacterGap = 6;  // a character's block is its doubled width + 6
constexpr uint8_t kLineBreak = 'b';

}  // namespace

int32_t BoxTileX(int32_t row, int32_t column, int32_t rows, int32_t columns) {
  bool left = column == 0, right = column == columns - 1;
  if (row == 0 && left) return kTopLeftX;
  if (row == 0 && right) return kTopRightX;
  if (row == rows - 1 && left) return kBottomLeftX;
  if (row == rows - 1 && right) return kBottomRightX;
  return kFillX;
}

namespace {

// The byte at i, or 0 outside the text field: nothing past it is ever read.
uint8_t TextAt(int32_t i) {
  return i >= 0 && i < kMessageTextSize ? uint8_t(MessageText.text[i]) : 0;
}

}  // namespace

void OpenMessageBox(const char* text, int32_t x, int32_t y) {
  std::memset(&MessageText, 0, sizeof MessageText);
  CopyTextCut(MessageText.text, sizeof MessageText.text, text);
  for (int32_t row = 0; row < kBoxRows; ++row)
    for (int32_t column = 0; column < kBoxColumns; ++column)
      DrawSpriteToBack(x + 32 * column, y + 32 * row, 32, 32,
                       BoxTileX(row, column, kBoxRows, kBoxColumns), kBoxTileY);
  platform::InvalidateRect(nullptr);
  MessageText.originX = x + kTextInsetX;
  MessageText.originY = y + kTextInsetY;
}

int32_t TypeNextCharacter() {
  MessageTextState& m = MessageText;
  uint8_t ch = TextAt(m.readPos);
  if (ch == 0) return 0;
  // The letter b where a character starts is a line break, not a letter. One marker per
  // call: the character after it is drawn now, even a second b.
  if (ch == kLineBreak) {
    m.penX = 0;
    m.penY += kLineHeight;
    m.readPos += 1;
    ch = TextAt(m.readPos);
    if (ch == 0) return 0;
  }
  // A byte above 0x80 leads a two-byte character; one right before the NUL is drawn alone.
  int32_t length = ch > 0x80 && TextAt(m.readPos + 1) != 0 ? 2 : 1;
  char character[3] = {char(ch), length == 2 ? char(TextAt(m.readPos + 1)) : char(0), 0};
  int32_t width = DrawTextDoubled(m.originX + m.penX, m.originY + m.penY, character);
  m.penX += width + kCharacterGap;
  // The wrap test follows the drawing: a row ends with the character that reaches 384.
  if (m.penX >= kWrapWidth) {
    m.penX = 0;
    m.penY += kLineHeight;
  }
  m.readPos += length;
  return 1;
}

}  // namespace quillorn
