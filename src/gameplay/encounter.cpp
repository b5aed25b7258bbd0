// Walking into a person: it is revealed, turns to the king and says its line, he answers,
// and the game is over, unless the person is one of the two kinds who let him go.
#include "gameplay/encounter.h"

#include "gameplay/actors.h"
#include "gameplay/play.h"
#include "platform/platform.h"
#include "scenes/title_screen.h"
#include "script/script.h"
#include "shell/scene_handlers.h"
#include "sound/sound_bank.h"

namespace quillorn {

const char* const ReactionLine[9] = {
    "",
    "あなたっ！",
    "見つけましたぞ、王様",
    "あっ！王様だ",
    "王様…、困りますな",
    "おやおや、王様",
    "あら、見つけましたわ♪",
    "あっ！王様だー！",
    "あっ！王様だ",
};

const char* const kKingCaughtLine = "ややや、しまったー！";

namespace {

constexpr int32_t kGameOverSlot = 3;

bool Forgives(int32_t type) {
  return type == 6 || type == 8;
}

}  // namespace

void StartEncounter(int32_t k) {
  if (k < 1 || k >= kActorCount) return;
  ClearSceneHandlers();
  encounteredActor = k;
  Actor& person = actors[k];
  person.direction = actors[kKing].direction;
  person.visible = 1;
  ComposeFrame();
  platform::InvalidateRect(nullptr);

  int32_t type = person.type;
  const char* line = type >= 0 && type <= 8 ? ReactionLine[type] : "";
  ClearScript();
  AddScriptCommand(Wait, 0, 0, 0, 64, "");
  AddScriptCommand(FaceKing, k, 0, 0, 0, "");
  AddScriptCommand(Animate, k, 2, 0, 100, "");
  AddScriptCommand(Say, k, 1, 0, 64, line);
  AddScriptCommand(Animate, kKing, 8, 0, 0, "");
  AddScriptCommand(Say, kKing, 1, 0, 64, kKingCaughtLine);
  AddScriptCommand(End, 0, 0, 0, 0, "");
  RunScript();
  scriptDoneHandler = Forgives(type) ? Forgive : GameOver;
}

// A forgiven person stays visible on its tile; walking into it again forgives again.
void Forgive() {
  ClearScript();
  AddScriptCommand(Wait, 0, 0, 0, 1000, "");
  AddScriptCommand(Say, encounteredActor, 1, 0, 64, "でも大丈夫、見逃してあげますわ♪");
  AddScriptCommand(End, 0, 0, 0, 0, "");
  RunScript();
  scriptDoneHandler = ResumePlay;
}

void GameOver() {
  ComposeFrame();
  platform::InvalidateRect(nullptr);
  PlaySoundSlot(kGameOverSlot, 0, 0);
  platform::ShowSoundCue(platform::SoundCue::kTune);
  ClearScript();
  AddScriptCommand(Wait, 0, 0, 0, 1000, "");
  AddScriptCommand(Narrate, 0, 1, 0, 64, "王様はつかまってしまった");
  AddScriptCommand(Narrate, 0, 1, 0, 64, "ＧＡＭＥＯＶＥＲ");
  AddScriptCommand(End, 0, 0, 0, 0, "");
  RunScript();
  scriptDoneHandler = ShowTitleScreen;
}

// Everybody in the room is shown until the people are placed again.
void RevealAll() {
  for (Actor& a : actors) a.visible = 1;
  ComposeFrame();
  platform::InvalidateRect(nullptr);
}

}  // namespace quillorn
