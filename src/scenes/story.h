// The story: the prologue in the throne room, which leads straight into a game.
#pragma once

namespace quillorn {

void StartStoryScene();
void BuildStoryScript();

}  // namespace quillorn
