// Starting a whole game in-process on the headless backend.
#pragma once

#include <cstdint>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "shell/win_main.h"

namespace quillorn::test {

// A fresh platform, the game's start-up, and the window made active, as it is when it
// opens. Returns false when start-up refused (another copy).
inline bool StartGame(uint32_t startMs = 1000) {
  headless::Reset(startMs);
  if (!StartUp()) return false;
  headless::SetActive(true);
  headless::Pump();
  return true;
}

}  // namespace quillorn::test
