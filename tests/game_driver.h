// Driving a whole game through the headless backend, tick by tick, as a player would.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "gameplay/actors.h"
#include "harness.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "script/script.h"
#include "shell/random.h"
#include "shell/scene_handlers.h"
#include "sound/sound_bank.h"

namespace quillorn::test {

// The program started, its assets loaded and the title drawn (two ticks).
inline void StartAtTitle(uint32_t startMs = 1000, void (*prepare)() = nullptr) {
  ASSERT_TRUE(StartGame(startMs, prepare));
  headless::Tick(2);
}

inline void Press(uint32_t key) {
  headless::KeyDown(key);
  headless::Pump();
  headless::KeyUp(key);
  headless::Pump();
}

// Starts a new game from the title (the cursor stands on GAME) and checks it began.
inline void StartNewGame(uint32_t startMs = 1000, void (*prepare)() = nullptr) {
  StartAtTitle(startMs, prepare);
  Press(platform::kKeyReturn);
  ASSERT_EQ(currentRoom, 2);
}

// Ticks until pred holds, at most limit ticks; returns whether it held.
template <typename Pred>
bool TickUntil(Pred pred, int limit = 2000) {
  for (int i = 0; i < limit && !pred(); ++i) headless::Tick();
  return pred();
}

// Removes every person of the room and puts the given ones (type, tile, hidden).
struct PersonAt {
  int32_t type, x, y;
};
inline void SetPeople(std::initializer_list<PersonAt> people) {
  for (int32_t k = 1; k < kActorCount; ++k) actors[k] = Actor{};
  int32_t k = 1;
  for (const PersonAt& p : people) PlaceActor(k++, p.type, p.x, p.y, 0, 0);
}

// Puts the king on a tile, standing, facing down.
inline void PutKing(int32_t room, int32_t x, int32_t y, int32_t direction = 2) {
  currentRoom = room;
  PlaceActor(0, 0, x, y, direction, 1);
  actors[0].stepProgress = 0;
}

// Holds a key for some ticks (an arrow in play: 8 a step).
inline void Hold(uint32_t key, int ticks) {
  headless::KeyDown(key);
  headless::Tick(ticks);
  headless::KeyUp(key);
  headless::Pump();
}

// Confirms every line until the script hands over (no confirm handler or script left).
inline void ConfirmWhenArmed(void (*confirm)()) {
  ASSERT_TRUE(TickUntil([&] { return sceneHandlers.confirmKeyHandler == confirm; }));
  Press(platform::kKeyReturn);
}

// The script up to its End, "type:p1,p2,p3,p4" and the text of each command.
inline std::string ScriptDump() {
  std::string s;
  for (const ScriptCommand& c : scriptCommands) {
    if (c.type == End) break;
    char b[48];
    std::snprintf(b, sizeof b, "%d:%d,%d,%d,%u", c.type, c.param1, c.param2, c.param3, c.param4);
    s += (s.empty() ? "" : " ") + std::string(b) + c.text;
  }
  return s;
}

}  // namespace quillorn::test
