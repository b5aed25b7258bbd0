#include "gameplay/actors.h"
#include "gameplay/play.h"
#include "shell/scene_handlers.h"
#include "sound/sound_bank.h"

namespace quillorn {

namespace {
constexpr int32_t kStartRoom = 2;
}

void StartGame() {
  ClearSceneHandlers();
  StopAllSounds();
  ClearActors();
  hearts = kMaxHearts;
  showHearts = 1;
  beepCounter = 0;
  PlaceActor(kKing, 0, 7, 3, 2, 1);  // at the top of room 2, facing down
  currentRoom = kStartRoom;
  PlacePeople();
  ResumePlay();
}

}  // namespace quillorn
