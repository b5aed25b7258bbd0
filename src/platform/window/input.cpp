#include "platform/window/input.h"

#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/settings/settings.h"
#include "platform/window/window_state.h"

namespace quillorn::platform {

void InputKeyDown(uint32_t key) {
  if (DialogKey(true, key)) return;
  if (MenuBarKey(true, key)) return;
  PostInput({kMsgKeyDown, key, 0});
}

void InputKeyUp(uint32_t key) {
  if (DialogKey(false, key)) return;
  if (MenuBarKey(false, key)) return;
  PostInput({kMsgKeyUp, key, 0});
}

bool InputToMenuOrDialog() {
  return MenuBarOpen() || DialogIsOpen();
}

void InputActivate(bool active) {
  PostInput({kMsgActivateApp, active ? 1u : 0u, 0});
}

void InputCommand(uint32_t id) {
  // The 設定 menu's commands are the window's own: the game never sees them.
  if (SettingsCommand(id)) return;
  PostInput({kMsgCommand, id, 0});
}

void InputClose() {
  // The close box of a modal dialog closes the dialog, not the window.
  if (DialogIsOpen()) {
    DialogKey(true, kKeyEscape);
    return;
  }
  PostInput({kMsgClose, 0, 0});
}

}  // namespace quillorn::platform
