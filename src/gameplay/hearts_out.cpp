// The last heart is spent: the potion wears off, the room's people appear one by one, turn
// to the king and say their lines, he answers, and the game is over.
#include "gameplay/hearts_out.h"

#include "gameplay/actors.h"
#include "gameplay/encounter.h"
#include "script/script.h"
#include "shell/scene_handlers.h"

namespace quillorn {

void OutOfHearts() {
  ClearSceneHandlers();
  ClearScript();
  AddScriptCommand(Narrate, 0, 0, 0, 64, "薬の効力が消えた");
  AddScriptCommand(Blink, kKing, 8, 0, 200, "");  // eight flickers end hidden
  AddScriptCommand(Narrate, 0, 0, 0, 64, "そして…");
  for (int32_t i = 1; i < kActorCount; ++i)
    if (actors[i].present) AddScriptCommand(Blink, i, 1, 0, 1, "");
  AddScriptCommand(Wait, 0, 0, 0, 2000, "");
  AddScriptCommand(Blink, kKing, 7, 0, 200, "");  // seven end shown
  AddScriptCommand(Wait, 0, 0, 0, 1000, "");
  for (int32_t i = 1; i < kActorCount; ++i)
    if (actors[i].present) AddScriptCommand(FaceKing, i, 0, 0, 0, "");
  for (int32_t i = 1; i < kActorCount; ++i) {
    if (!actors[i].present) continue;
    int32_t type = actors[i].type;
    AddScriptCommand(Animate, i, 4, 0, 100, "");
    AddScriptCommand(Say, i, 1, 0, 64, type >= 0 && type <= 8 ? ReactionLine[type] : "");
  }
  AddScriptCommand(Wait, 0, 0, 0, 500, "");
  AddScriptCommand(Animate, kKing, 8, 0, 80, "");
  AddScriptCommand(Say, kKing, 1, 0, 64, kKingCaughtLine);
  AddScriptCommand(End, 0, 0, 0, 0, "");
  RunScript();
  scriptDoneHandler = GameOver;
}

}  // namespace quillorn
