// Walking into a person, being let go, game over, and the E key's reveal.
#pragma once

#include <cstdint>

namespace quillorn {

extern const char* const ReactionLine[9];  // by person type; entry 0 is empty
extern const char* const kKingCaughtLine;  // the king's answer in every encounter

void StartEncounter(int32_t k);
void Forgive();
void GameOver();
void RevealAll();

}  // namespace quillorn
