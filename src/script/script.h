// The event script: one list of commands run one at a time from the scene handler slots.
// A builder clears the list, appends its commands, starts it and names its continuation.
#pragma once

#include <cstdint>

#include "shell/scene_handlers.h"

namespace quillorn {

enum ScriptCommandType : int32_t {
  End = 0,
  Animate = 1,
  Blink = 2,
  Walk = 3,
  Say = 4,
  Narrate = 5,
  Wait = 6,
  FaceKing = 7,
  Turn = 8,
};

constexpr int32_t kScriptLength = 256;
constexpr int32_t kScriptTextSize = 64;

struct ScriptCommand {
  int32_t type;
  int32_t param1;              // actor 0 to 7
  int32_t param2;              // steps (Animate, Blink) or fast flag (Walk)
  int32_t param3;              // direction (Walk, Turn)
  uint32_t param4;             // milliseconds: interval (Animate, Blink) or duration (Wait)
  char text[kScriptTextSize];  // Say and Narrate, Shift-JIS, NUL-terminated
};

extern ScriptCommand scriptCommands[kScriptLength];
extern int32_t scriptIndex;
extern uint32_t commandStartTime;
extern int32_t commandStep;
extern int32_t walkProgress;
extern Handler scriptDoneHandler;

void ClearScript();
void AddScriptCommand(int32_t type, int32_t param1, int32_t param2, int32_t param3, uint32_t param4,
                      const char* text);
void RunScript();
void NextScriptCommand();
// The confirm handler once a line is typed out: removes the box and goes on.
void ConfirmMessage();

}  // namespace quillorn
