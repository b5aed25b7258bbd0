// The confirm key in play: the king looks left, right and left again and says how many
// people are in the room, hidden or not. The people stay hidden.
#include "gameplay/survey.h"

#include "gameplay/actors.h"
#include "gameplay/play.h"
#include "script/script.h"
#include "shell/scene_handlers.h"

namespace quillorn {

namespace {

const char* const kSurveyLine[kActorCount] = {
    "誰もいないようじゃ", "１人いるようじゃ", "２人いるようじゃ", "３人いるようじゃ",
    "４人いるようじゃ",   "５人いるようじゃ", "６人いるようじゃ", "７人いるようじゃ",
};

}  // namespace

void SurveyRoom() {
  ClearSceneHandlers();
  ClearScript();
  AddScriptCommand(Turn, kKing, 0, 3, 10, "");
  AddScriptCommand(Wait, 0, 0, 0, 100, "");
  AddScriptCommand(Turn, kKing, 0, 1, 10, "");
  AddScriptCommand(Wait, 0, 0, 0, 100, "");
  AddScriptCommand(Turn, kKing, 0, 3, 10, "");
  int32_t count = 0;
  for (int32_t i = 1; i < kActorCount; ++i)
    if (actors[i].present) ++count;
  AddScriptCommand(Say, kKing, 1, 0, 64, kSurveyLine[count]);
  // No End is added: the cleared list already ends after the Say.
  RunScript();
  scriptDoneHandler = ResumePlay;
}

}  // namespace quillorn
