// Running the story and the ending headless: starting them from the window menu and playing
// their scripts command by command, confirming each line as soon as it is typed out.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "game_driver.h"
#include "script/message_box.h"
#include "script/script.h"

namespace quillorn::test {

constexpr uint32_t kMenuEnding = 40004;
constexpr uint32_t kMenuStory = 40005;
constexpr uint32_t kMenuStaffRoll = 40009;

// A line as the box showed it once it was typed out.
struct ShownLine {
  int32_t command;  // the Say's place in the script, counted from 1
  int32_t speaker;  // its param1
  int32_t originY;  // where the box put the text
  std::string text;
  uint32_t voiceRate;  // the rate of the beep that voiced its last character
};

// Starts a scene from the window menu and lets its builder run on the next tick.
inline void StartSceneFromMenu(uint32_t command) {
  headless::Command(command);
  headless::Pump();
  headless::Tick();
}

// Plays on until the script's first `done` commands have finished (or the script handed over
// after its last one). Each line is confirmed when it is armed, and handed to onLine first.
template <typename OnLine>
bool RunCommands(int32_t done, OnLine onLine, int limit = 30000) {
  for (int i = 0; i < limit; ++i) {
    if (scriptIndex >= done) return true;
    if (sceneHandlers.confirmKeyHandler == ConfirmMessage) {
      const ScriptCommand& c = scriptCommands[scriptIndex];
      // The tick that found the end counted too: the last beep came one count before.
      int32_t lastBeepSlot = (sayBeepCount - 1) % 2 != 0 ? 1 : 2;
      onLine(ShownLine{scriptIndex + 1, c.param1, MessageText.originY, MessageText.text,
                       SoundSlotRate(lastBeepSlot)});
      Press(platform::kKeyReturn);
    } else {
      headless::Tick();
    }
  }
  return false;
}

inline bool RunCommands(int32_t done) {
  return RunCommands(done, [](const ShownLine&) {});
}

}  // namespace quillorn::test
