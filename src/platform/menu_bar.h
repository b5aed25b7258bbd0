// The window's menu bar, drawn by the platform above the client area.
#pragma once

#include <cstdint>

namespace quillorn::platform {

// Loads the MENU resource shown as the bar (null: no bar).
void MenuBarLoad(const char* menuName);
void MenuBarReset();
bool MenuBarOpen();
// True when the bar took the key: it is open, or the key (F10, Alt) opens it.
bool MenuBarKey(bool down, uint32_t key);

}  // namespace quillorn::platform
