// The command list and its dispatcher. While a script runs it owns the scene handler slots:
// each command installs its own tick handler, a typed-out line installs ConfirmMessage, and
// the End record hands over to the continuation.
#include "script/script.h"

#include <cstring>

#include "gameplay/actors.h"
#include "gameplay/play.h"
#include "platform/platform.h"
#include "script/message_box.h"
#include "script/staging.h"
#include "script/text_cut.h"

namespace quillorn {

ScriptCommand scriptCommands[kScriptLength];
int32_t scriptIndex = 0;
uint32_t commandStartTime = 0;
int32_t commandStep = 0;
int32_t walkProgress = 0;
Handler scriptDoneHandler = nullptr;

namespace {

constexpr int32_t kBoxX = 16;
constexpr int32_t kBoxBottomY = 336;
constexpr int32_t kBoxTopY = 48;
constexpr int32_t kKingLowestForBottomBox = 143;

Handler TickHandlerOf(int32_t type) {
  switch (type) {
    case Animate:
      return AnimateTick;
    case Blink:
      return BlinkTick;
    case Walk:
      return WalkTick;
    case Say:
      return SayTick;
    case Narrate:
      return NarrateTick;
    case Wait:
      return WaitTick;
    case FaceKing:
      return FaceKingTick;
    case Turn:
      return TurnTick;
    default:
      return nullptr;
  }
}

}  // namespace

void ClearScript() {
  std::memset(scriptCommands, 0, sizeof scriptCommands);
  scriptIndex = 0;
}

void AddScriptCommand(int32_t type, int32_t param1, int32_t param2, int32_t param3, uint32_t param4,
                      const char* text) {
  // The first free record; when every record is taken, the last one is overwritten.
  int32_t at = 0;
  while (at < kScriptLength - 1 && scriptCommands[at].type != End) ++at;
  ScriptCommand& c = scriptCommands[at];
  c.type = type;
  c.param1 = param1;
  c.param2 = param2;
  c.param3 = param3;
  c.param4 = param4;
  CopyTextCut(c.text, sizeof c.text, text);
}

void RunScript() {
  ClearSceneHandlers();
  commandStep = 0;
  walkProgress = 0;
  commandStartTime = platform::GetTickCount();
  if (scriptIndex < 0 || scriptIndex >= kScriptLength) return;
  const ScriptCommand& c = scriptCommands[scriptIndex];
  // End, or a type outside 1 to 8, installs nothing: the scene stops here.
  Handler tick = TickHandlerOf(c.type);
  if (!tick) return;
  if (c.type == Say || c.type == Narrate) {
    // The box keeps clear of the king: at the bottom while he stands in the top rows.
    int32_t y = actors[kKing].pixelY <= kKingLowestForBottomBox ? kBoxBottomY : kBoxTopY;
    OpenMessageBox(c.text, kBoxX, y);
  }
  sceneHandlers.tickHandler = tick;
}

void NextScriptCommand() {
  // A full list ends after its last record, as if an End followed it.
  if (scriptIndex >= kScriptLength - 1 || scriptCommands[scriptIndex + 1].type == End) {
    if (scriptIndex < kScriptLength - 1) ++scriptIndex;
    if (scriptDoneHandler) scriptDoneHandler();
    return;
  }
  ++scriptIndex;
  RunScript();
}

void ConfirmMessage() {
  ComposeFrame();  // the box goes with the old frame
  platform::InvalidateRect(nullptr);
  NextScriptCommand();
}

}  // namespace quillorn
