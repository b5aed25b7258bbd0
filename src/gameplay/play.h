// Standing and walking play, the flower event and the frame of the castle.
#pragma once

#include "gameplay/castle_map.h"

namespace quillorn {

void ResumePlay();
void PlayTick();
void StepTick();
void EnterRoom(const Exit& exit);
void StartFlowerEvent();
void FlowerMessageDone();
void RefillTick();

// The room picture, the visible actors by their y and the hearts bar, into BackBuffer.
// Does not invalidate: the caller does.
void ComposeFrame();

}  // namespace quillorn
