// The window that the menu bar and the dialog belong to, opened once per fuzzing process
// on the headless backend, with a window procedure that ignores every message.
#pragma once

#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace quillorn::fuzz {

inline void OpenWindowOnce() {
  static bool open = false;
  if (open) return;
  headless::Reset();
  platform::WindowDesc desc;
  desc.className = desc.title = "fuzz";
  desc.clientWidth = 480;
  desc.clientHeight = 512;
  desc.proc = [](uint32_t, uint32_t, int32_t) -> int32_t { return 0; };
  platform::CreateMainWindow(desc);
  open = true;
}

}  // namespace quillorn::fuzz
