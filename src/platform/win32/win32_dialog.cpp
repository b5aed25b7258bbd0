// The help dialog: a real modal dialog of Windows, laid out from the DIALOG resource of the
// resource script. Its own message loop keeps timer ticks and painting going to the window.
#include <string>

#include "platform/win32/win32_window.h"

namespace quillorn::platform {

namespace {

using win32::Main;

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  win32::MainWindow& w = Main();
  if (message == WM_INITDIALOG) {
    w.dialog = dialog;
    return TRUE;
  }
  // Esc and the close box arrive as WM_COMMAND with IDCANCEL, buttons with their ids.
  if (message == WM_COMMAND && w.dialogProc)
    return w.dialogProc(message, uint32_t(wParam), int32_t(lParam));
  return FALSE;
}

}  // namespace

void OpenDialog(const char* dialogName, DialogProc proc) {
  win32::MainWindow& w = Main();
  if (!w.hwnd || w.dialog || !dialogName) return;
  std::wstring name;
  for (const char* c = dialogName; *c; ++c) name += wchar_t(uint8_t(*c));
  w.dialogProc = proc;
  ::DialogBoxParamW(w.instance, name.c_str(), w.hwnd, DialogProcedure, 0);
  w.dialog = nullptr;
  w.dialogProc = nullptr;
}

void EndDialog(int32_t result) {
  if (Main().dialog) ::EndDialog(Main().dialog, result);
}

}  // namespace quillorn::platform
