// Starting a whole game in-process on the headless backend.
#pragma once

#include <cstdint>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "shell/win_main.h"

namespace quillorn::test {

// A fresh platform (made ready by prepare, if given), the game's start-up, and the window
// made active, as it is when it opens. Returns false when start-up refused (another copy).
inline bool StartGame(uint32_t startMs = 1000, void (*prepare)() = nullptr) {
  headless::Reset(startMs);
  if (prepare) prepare();
  if (!StartUp()) return false;
  headless::SetActive(true);
  headless::Pump();
  return true;
}

}  // namespace quillorn::test
