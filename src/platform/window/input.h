// The input router: every key, activation, command and close request a backend receives
// goes through here, so that an open dialog or menu takes keys before the game does. The
// Win32 backend has a router of its own, Windows', and gives the keys of game controllers to
// it through the first three functions.
#pragma once

#include <cstdint>

namespace quillorn::platform {

void InputKeyDown(uint32_t key);
void InputKeyUp(uint32_t key);
// True while the window's menu or a dialog is open: they take the keys then.
bool InputToMenuOrDialog();
void InputActivate(bool active);
void InputCommand(uint32_t id);  // the 設定 menu's are carried out here
void InputClose();               // the window's close box

}  // namespace quillorn::platform
