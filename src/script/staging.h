// The staging commands' tick handlers: they move the actors of a script between its lines.
#pragma once

namespace quillorn {

void AnimateTick();
void BlinkTick();
void WalkTick();
void WaitTick();
void FaceKingTick();
void TurnTick();

}  // namespace quillorn
