// The message loop, timers and the clock on Win32's own: the thread's message queue,
// SetTimer's WM_TIMER (which never queues a backlog) and GetTickCount.
#include <string>

#include "platform/win32/win32_window.h"
#include "platform/window/report.h"

namespace quillorn::platform {

using win32::Main;

bool PollMessage(Message& out) {
  MSG& msg = Main().lastMessage;
  if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  out = {msg.message == WM_QUIT ? uint32_t(kMsgQuit) : msg.message, uint32_t(msg.wParam),
         int32_t(msg.lParam)};
  return true;
}

// The thread's queue wakes the loop: WaitMessage returns once something new has arrived.
void RunMessageLoop(LoopStep step) {
  while (step()) ::WaitMessage();
}

void DispatchMessage(const Message&) {
  MSG& msg = Main().lastMessage;
  ::TranslateMessage(&msg);  // Alt with a letter reaches the menu bar as WM_SYSCHAR
  ::DispatchMessageW(&msg);
}

void PostMessage(uint32_t type, uint32_t wParam, int32_t lParam) {
  if (Main().hwnd) ::PostMessageW(Main().hwnd, type, wParam, lParam);
}

void PostQuitMessage(int32_t exitCode) {
  ::PostQuitMessage(exitCode);
}

int32_t DefWindowProc(uint32_t type, uint32_t wParam, int32_t lParam) {
  win32::MainWindow& w = Main();
  if (!w.hwnd) return 0;
  if (type == kMsgClose) {
    DestroyMainWindow();
    return 0;
  }
  // The game hands on only the message it is handling: that one's full native lParam.
  (void)lParam;
  return int32_t(::DefWindowProcW(w.hwnd, type, wParam, w.lParam));
}

bool SetTimer(uint32_t id, uint32_t intervalMs) {
  if (!Main().hwnd) return false;
  if (::SetTimer(Main().hwnd, id, intervalMs, nullptr)) return true;
  std::string reason = win32::LastErrorText();
  SayNoTimer(reason);
  win32::ShowStopBox(L"ゲームの時計（タイマー）を動かせませんでした。", reason);
  return false;
}

void KillTimer(uint32_t id) {
  if (Main().hwnd) ::KillTimer(Main().hwnd, id);
}

uint32_t GetTickCount() {
  return ::GetTickCount();
}

// One copy per session: a named mutex that dies with the process that made it.
bool ClaimSingleCopy(const char* className) {
  static HANDLE mutex = nullptr;
  if (mutex) return true;
  std::wstring name = L"Local\\";
  for (const char* c = className; c && *c; ++c) name += wchar_t(uint8_t(*c));
  name += L"-single-copy";
  HANDLE h = ::CreateMutexW(nullptr, TRUE, name.c_str());
  if (!h) {  // no way to tell: this copy runs
    SayNoSingleCopyLock(win32::LastErrorText());
    return true;
  }
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(h);
    return false;
  }
  mutex = h;
  return true;
}

}  // namespace quillorn::platform
