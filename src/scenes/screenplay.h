// The spoken lines of the story and the ending, written in data/screenplay/ and compiled at
// build time (tools/screenplay) into Shift-JIS tables, one record per Say command in order.
#pragma once

#include <cstdint>

namespace quillorn {

// Who speaks a line; the value is the speaker's actor record in both scenes.
enum ScreenplaySpeaker : int32_t {
  kSpeakerKing = 0,
  kSpeakerQueen = 1,
  kSpeakerGuard = 2,  // the first guard of the ending; the second one never speaks
};

struct ScreenplayLine {
  int32_t speaker;
  const char* text;  // Shift-JIS, NUL-terminated
};

constexpr int32_t kStoryLineCount = 50;
constexpr int32_t kEndingLineCount = 41;

extern const ScreenplayLine kStoryLines[kStoryLineCount];
extern const ScreenplayLine kEndingLines[kEndingLineCount];

}  // namespace quillorn
