// The settings on Windows: %APPDATA%\Quillorn\settings.ini, replaced whole through a
// temporary file and MoveFileExW; lines for the player on the console that started the game,
// or in a message box when none did; the window that takes the settings.
#include <string>

#include "platform/settings/settings_backend.h"
#include "platform/win32/win32_window.h"

namespace quillorn::platform {

namespace {

std::wstring Folder() {
  wchar_t buffer[MAX_PATH];
  DWORD n = ::GetEnvironmentVariableW(L"APPDATA", buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return L"";
  return std::wstring(buffer) + L"\\Quillorn";
}

std::wstring Path() {
  std::wstring folder = Folder();
  return folder.empty() ? L"" : folder + L"\\settings.ini";
}

std::string Narrow(const std::wstring& wide) {
  int n = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n > 0 ? n : 1), '\0');
  if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, out.data(), n, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

std::string Why(const char* what, const std::wstring& path) {
  return std::string("cannot ") + what + " " + Narrow(path) + " (Windows error " +
         std::to_string(::GetLastError()) + ")";
}

// The console of the program that started the game, if any.
HANDLE ConsoleFor(bool problem) {
  HANDLE h = ::GetStdHandle(problem ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (h && h != INVALID_HANDLE_VALUE) return h;  // written to a file or a pipe
  static bool attached = ::AttachConsole(ATTACH_PARENT_PROCESS) != 0;
  if (!attached) return nullptr;
  h = ::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                    nullptr);
  return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

}  // namespace

namespace settings_backend {

bool ReadStored(std::string& text, std::string& problem) {
  const std::wstring path = Path();
  if (path.empty()) return false;
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    DWORD e = ::GetLastError();
    if (e != ERROR_FILE_NOT_FOUND && e != ERROR_PATH_NOT_FOUND) problem = Why("read", path);
    return false;
  }
  text.assign(kMaxSettingsBytes + 1, '\0');
  DWORD got = 0;
  BOOL ok = ::ReadFile(f, text.data(), DWORD(text.size()), &got, nullptr);
  if (!ok) problem = Why("read", path);
  ::CloseHandle(f);
  text.resize(ok ? got : 0);
  return ok;
}

bool WriteStored(const std::string& text, std::string& problem) {
  const std::wstring folder = Folder(), path = Path();
  if (path.empty()) {
    problem = "APPDATA names no folder to keep the settings in";
    return false;
  }
  if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    problem = Why("make the folder", folder);
    return false;
  }
  const std::wstring temporary = path + L".new";
  HANDLE f = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    problem = Why("write", temporary);
    return false;
  }
  DWORD written = 0;
  // On the disk before the move: a crash after it must find the whole new text.
  bool ok = ::WriteFile(f, text.data(), DWORD(text.size()), &written, nullptr) &&
            written == text.size() && ::FlushFileBuffers(f);
  ok = ::CloseHandle(f) && ok;
  ok = ok && ::MoveFileExW(temporary.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) {
    problem = Why("write", path);
    ::DeleteFileW(temporary.c_str());
  }
  return ok;
}

std::string StoredPlace() {
  const std::wstring path = Path();
  return path.empty() ? "no file (APPDATA is not set)" : Narrow(path);
}

void ExtraFlags(RunFlags&, std::vector<std::string>&) {}

Settings Apply(const Settings& wanted, const Settings& before) {
  return win32::ApplySettings(wanted, before);
}

void Say(const std::string& text, bool problem) {
  if (HANDLE h = ConsoleFor(problem)) {
    DWORD written = 0;
    ::WriteFile(h, text.data(), DWORD(text.size()), &written, nullptr);
    return;
  }
  // Started from the desktop: a problem with the settings file goes where a debugger sees
  // it, and the usage or the version in a box the player sees.
  ::OutputDebugStringA(text.c_str());
  if (!problem || text.find("Usage:") != std::string::npos) {
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(size_t(n > 0 ? n : 1), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    ::MessageBoxW(nullptr, wide.c_str(), L"Quillorn",
                  problem ? MB_OK | MB_ICONWARNING : MB_OK | MB_ICONINFORMATION);
  }
}

void Rumble(float strength, uint32_t ms) {
  win32::RumbleXInputPad(strength, ms);
}

void CueStripChanged() {
  win32::StripChanged();
}

}  // namespace settings_backend

}  // namespace quillorn::platform
