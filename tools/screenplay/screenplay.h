// The screenplay compiler's pieces: converting a line to Shift-JIS character by character,
// and laying it out in the message box by the typewriter's own wrap rule.
#pragma once

#include <string>
#include <vector>

namespace screenplay {

// One character of a line: its UTF-8 spelling and its Shift-JIS bytes.
struct Character {
  std::string utf8;
  std::string sjis;
};

// Splits a UTF-8 line into characters and converts each to Shift-JIS (code page 932).
// Returns false, with the offending character in bad, when one has no code of its own there
// (including look-alikes such as U+301C that convert one way only) or the UTF-8 is broken.
bool ToShiftJis(const std::string& utf8, std::vector<Character>& out, std::string& bad);

// Where the message box puts a line: the row of every character (0 the first row).
// Returns false, with the character in bad, when the font has no glyph for one.
bool LayOut(const std::vector<Character>& line, std::vector<int>& rows, std::string& bad);

// Characters that should not begin a row of Japanese text.
bool BadRowStart(const std::string& utf8);

}  // namespace screenplay
