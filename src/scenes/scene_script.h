// A told scene's event script written as a table, one record per command in the order the
// script runs them; the Say records name their line of the scene's screenplay.
#pragma once

#include <cstddef>
#include <cstdint>

#include "scenes/screenplay.h"
#include "script/script.h"

namespace quillorn {

struct SceneCommand {
  int32_t type;    // a ScriptCommandType
  int32_t actor;   // param1
  int32_t count;   // param2: steps (Animate, Blink) or fast flag (Walk)
  int32_t facing;  // param3: direction (Walk, Turn)
  uint32_t ms;     // param4: interval (Animate, Blink) or duration (Wait)
  int32_t line;    // Say: the screenplay line, counted from 1
};

// The cast of the story and the ending, by actor record.
constexpr int32_t kKingActor = 0;
constexpr int32_t kQueenActor = 1;
constexpr int32_t kGuard1Actor = 2;
constexpr int32_t kGuard2Actor = 3;

constexpr int32_t kFaceUp = 0;
constexpr int32_t kFaceRight = 1;
constexpr int32_t kFaceDown = 2;
constexpr int32_t kFaceLeft = 3;

// The built-in scripts store 64 in the unread param4 of Say and 10 in that of Walk and Turn;
// kept for likeness, nothing reads them.
constexpr uint32_t kUnreadSayMs = 64;
constexpr uint32_t kUnreadStagingMs = 10;

constexpr SceneCommand WaitMs(uint32_t ms) {
  return {Wait, 0, 0, 0, ms, 0};
}
constexpr SceneCommand SlowWalk(int32_t actor, int32_t facing) {
  return {Walk, actor, 0, facing, kUnreadStagingMs, 0};
}
constexpr SceneCommand FastWalk(int32_t actor, int32_t facing) {
  return {Walk, actor, 1, facing, kUnreadStagingMs, 0};
}
constexpr SceneCommand TurnTo(int32_t actor, int32_t facing) {
  return {Turn, actor, 0, facing, kUnreadStagingMs, 0};
}
constexpr SceneCommand Fidget(int32_t actor, int32_t steps, uint32_t intervalMs) {
  return {Animate, actor, steps, 0, intervalMs, 0};
}
constexpr SceneCommand BlinkSteps(int32_t actor, int32_t steps, uint32_t intervalMs) {
  return {Blink, actor, steps, 0, intervalMs, 0};
}
constexpr SceneCommand SayLine(int32_t actor, int32_t line) {
  return {Say, actor, 0, 0, kUnreadSayMs, line};
}

// Appends the table's commands and the End that closes the script; Say takes its text from
// lines, every other command the empty text.
void AddSceneCommands(const SceneCommand* commands, size_t count, const ScreenplayLine* lines);

}  // namespace quillorn
