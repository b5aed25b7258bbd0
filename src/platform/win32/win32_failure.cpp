// Failures on Windows. A program of the window system has no terminal a player sees, so a
// failure the game stops on is shown in a box as well; lines the game goes on after are left
// on standard error.
#include <string>

#include "platform/win32/win32_window.h"

namespace quillorn::platform::win32 {

std::string LastErrorText() {
  DWORD error = ::GetLastError();
  char* text = nullptr;
  DWORD n = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string out = "Windows error " + std::to_string(error);
  if (n && text) {
    std::string said(text, n);
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == ' '))
      said.pop_back();
    out += ": " + said;
  }
  if (text) ::LocalFree(text);
  return out;
}

void ShowStopBox(const wchar_t* what, const std::string& reason) {
  std::wstring message = L"Quillorn を起動できません。\n";
  message += what;
  message += L"\n\n";
  int n = ::MultiByteToWideChar(CP_ACP, 0, reason.c_str(), -1, nullptr, 0);
  if (n > 1) {
    std::wstring wide(size_t(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, reason.c_str(), -1, wide.data(), n);
    wide.resize(size_t(n - 1));
    message += wide;
  }
  ::MessageBoxW(nullptr, message.c_str(), L"Quillorn", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace quillorn::platform::win32
