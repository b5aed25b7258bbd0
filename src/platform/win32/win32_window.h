// What the files of the Win32 backend share: the one window, its scale and its dialog.
#pragma once

#include <cstdint>

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
  MSG lastMessage{};         // the message GetMessage took, for DispatchMessage
  LPARAM lParam = 0;         // the native lParam of the message being handled
  HWND dialog = nullptr;
  DialogProc dialogProc = nullptr;
};

MainWindow& Main();

// The game's picture size at scale k on the client area (fullscreen: centred on black).
void PlacePicture();

}  // namespace quillorn::platform::win32
