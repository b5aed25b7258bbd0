// What the files of the Win32 backend share: the one window, its scale and its dialog.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_api.h"
#include "platform/window/window_scale.h"

namespace quillorn::platform::win32 {

struct MainWindow {
  HINSTANCE instance = nullptr;
  HWND hwnd = nullptr;
  WindowProc proc = nullptr;
  int32_t clientWidth = 0, clientHeight = 0;  // the game's picture, before scaling
  int32_t scale = 1;                          // the window's scale when not fullscreen
  bool fullscreen = false;
  RECT windowedRect{};       // where the window stood before fullscreen
  FramePlacement placement;  // the picture on the client area
  MSG lastMessage{};         // the message PollMessage took, for DispatchMessage
  LPARAM lParam = 0;         // the native lParam of the message being handled
  HWND dialog = nullptr;
  DialogProc dialogProc = nullptr;
  bool inMenu = false;  // the menu bar has the keys
};

MainWindow& Main();

// The game's picture size at scale k on the client area (fullscreen: centred on black).
void PlacePicture();

// Game controllers, read from when the window opens until it goes.
void StartPads();
void StopPads();

// Windows' own account of its last error: its number and its text.
std::string LastErrorText();
// The game cannot go on: a message box says so in Japanese, as the game speaks, with
// Windows' account of the fault (english, as said on standard error) below.
void ShowStopBox(const wchar_t* what, const std::string& reason);

}  // namespace quillorn::platform::win32
