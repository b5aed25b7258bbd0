// The modal dialog's state and keys: Enter presses the default button, Esc cancels.
#include "platform/dialog_box.h"

#include <string>

#include "platform/backend.h"
#include "platform/platform.h"

namespace quillorn::platform {

namespace {
bool g_open = false;
std::string g_name;
DialogProc g_proc = nullptr;
}  // namespace

void OpenDialog(const char* dialogName, DialogProc proc) {
  if (g_open || proc == nullptr) return;
  g_open = true;
  g_name = dialogName ? dialogName : "";
  g_proc = proc;
  backend::ChromeChanged();
}

void EndDialog(int32_t) {
  if (!g_open) return;
  g_open = false;
  g_proc = nullptr;
  backend::ChromeChanged();
}

bool DialogIsOpen() {
  return g_open;
}
const char* DialogOpenName() {
  return g_name.c_str();
}

void DialogReset() {
  g_open = false;
  g_name.clear();
  g_proc = nullptr;
}

bool DialogKey(bool down, uint32_t key) {
  if (!g_open) return false;
  if (down && (key == kKeyReturn || key == kKeyEscape))
    g_proc(kMsgCommand, key == kKeyReturn ? kIdOk : kIdCancel, 0);
  return true;
}

}  // namespace quillorn::platform
