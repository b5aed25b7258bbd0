// What the files of the Win32 backend share: the one window, its scale, its dialog and the
// beep strip below the game's picture.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/settings/settings.h"
#include "platform/win32/win32_api.h"
#include "platform/window/window_scale.h"

namespace quillorn::platform::win32 {

struct MainWindow {
  HINSTANCE instance = nullptr;
  HWND hwnd = nullptr;
  WindowProc proc = nullptr;
  int32_t clientWidth = 0, clientHeight = 0;  // the game's picture, before scaling
  int32_t stripHeight = 0;                    // the beep strip below it, while shown
  int32_t screenScale = 1;                    // the scale the screen's density suggests
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

// The game's picture and the strip below it at scale k on the client area (fullscreen:
// centred on black).
void PlacePicture();

// Game controllers, read from when the window opens until it goes.
void StartPads();
void StopPads();

// Windows' own account of its last error: its number and its text.
std::string LastErrorText();
// The game cannot go on: a message box says so in Japanese, as the game speaks, with
// Windows' account of the fault (english, as said on standard error) below.
void ShowStopBox(const wchar_t* what, const std::string& reason);

// Puts the player's settings into effect on the window: its scale, fullscreen, the strip, the
// 設定 menu's checks.
Settings ApplySettings(const Settings& wanted, const Settings& before);
// The beep strip changed its look: it is painted anew.
void StripChanged();
// Paints the strip where the client area shows it (inside a paint).
void PaintStrip(HDC dc);

// The rumble of the pad in use: strength 0 to 1 for ms milliseconds. Without a pad, or with
// one that cannot rumble, nothing happens.
void RumbleXInputPad(float strength, uint32_t ms);

}  // namespace quillorn::platform::win32
