// The confirm key in play: the king looks around and says how many people are in the room.
#pragma once

namespace quillorn {

void SurveyRoom();

}  // namespace quillorn
