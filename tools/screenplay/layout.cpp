#include "platform/drawing/font_decode.h"
#include "platform/drawing/font_glyphs.h"
#include "platform/drawing/text.h"
#include "screenplay.h"

namespace screenplay {

namespace {

// The typewriter's numbers: each character is drawn at twice the font's size, and the pen
// moves on by its doubled width plus 6; a row ends with the character that takes the pen to
// 384 or beyond.
constexpr int kPadding = 6;
constexpr int kWrapWidth = 384;

}  // namespace

bool LayOut(const std::vector<Character>& line, std::vector<int>& rows, std::string& bad) {
  using namespace quillorn::platform;
  int penX = 0;
  int row = 0;
  for (const Character& c : line) {
    TextChar decoded = NextChar(c.sjis.c_str());
    const FontGlyph* glyph = FindGlyph(decoded.code);
    // A character without a glyph would show as a hollow box; the width the game measures
    // must be the glyph's own.
    if (!glyph || decoded.length != int(c.sjis.size()) ||
        glyph->advance != MeasureText(c.sjis.c_str()).width) {
      bad = c.utf8;
      return false;
    }
    rows.push_back(row);
    penX += 2 * MeasureText(c.sjis.c_str()).width + kPadding;
    if (penX >= kWrapWidth) {
      penX = 0;
      ++row;
    }
  }
  return true;
}

bool BadRowStart(const std::string& utf8) {
  static const char* const kNoStart[] = {"、", "。", "，", "．", "」", "』", "）", "！", "？", "!",
                                         "?",  "…",  "ー", "～", "ぁ", "ぃ", "ぅ", "ぇ", "ぉ", "っ",
                                         "ゃ", "ゅ", "ょ", "ゎ", "ァ", "ィ", "ゥ", "ェ", "ォ", "ッ",
                                         "ャ", "ュ", "ョ", "ヮ", "ヵ", "ヶ", " ",  "　"};
  for (const char* s : kNoStart)
    if (utf8 == s) return true;
  return false;
}

}  // namespace screenplay
