// The message box and its typewriter: one character a tick at double size, each voiced.
#pragma once

#include <cstdint>

namespace quillorn {

constexpr int32_t kMessageTextSize = 256;

struct MessageTextState {
  char text[kMessageTextSize];
  int32_t readPos;  // byte index of the next character
  int32_t originX;  // BackBuffer position of the first character
  int32_t originY;
  int32_t penX;  // offset of the next character from the origin
  int32_t penY;
};

extern MessageTextState MessageText;
extern int32_t sayBeepCount;
extern int32_t narrateBeepCount;

constexpr int32_t kWrapWidth = 384;  // a line ends with the character that takes penX here
constexpr int32_t kLineHeight = 36;

// The sheet x (row y 480) of the box tile at (row, column) of a box of that many rows and
// columns: a rounded corner, or the plain fill everywhere else.
int32_t BoxTileX(int32_t row, int32_t column, int32_t rows, int32_t columns);

int32_t VoiceBaseFrequency(int32_t type);
void OpenMessageBox(const char* text, int32_t x, int32_t y);
// 1 when a character was drawn, 0 when the text had ended.
int32_t TypeNextCharacter();
void SayTick();
void NarrateTick();

}  // namespace quillorn
