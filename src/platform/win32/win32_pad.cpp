// Game controllers on Windows: XInput, loaded when the window opens (xinput1_4.dll, or
// XInput9_1_0.dll where that is missing; without either the game has no pads, and still
// runs). A timer of the window reads them, every 16 ms while one is plugged in, every second
// otherwise; its callback runs in the native menu's and the dialog's own loops too. Their
// keys go into Windows' input like the keyboard's, so that the native menu and the dialog
// take them as they take keys.
#include <algorithm>
#include <bitset>
#include <cstddef>

#include "platform/win32/win32_window.h"
#include "platform/win32/xinput_pad.h"
#include "platform/window/input.h"

// After <windows.h>, which it needs.
#include <xinput.h>

namespace quillorn::platform {

namespace {

using win32::Main;

// XInput's records are ours, field for field.
static_assert(sizeof(xinput::State) == sizeof(XINPUT_STATE));
static_assert(offsetof(xinput::State, gamepad) == offsetof(XINPUT_STATE, Gamepad));
static_assert(offsetof(xinput::Gamepad, thumbLY) == offsetof(XINPUT_GAMEPAD, sThumbLY));
static_assert(sizeof(xinput::Vibration) == sizeof(XINPUT_VIBRATION));

constexpr UINT_PTR kPadTimer = 0x5041;  // beside the game's timer 1
constexpr UINT_PTR kRumbleTimer = 0x5042;
constexpr UINT kReadMs = 16;
constexpr UINT kSearchMs = xinput::kSearchMs;

using GetStateApi = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);
using SetStateApi = DWORD(WINAPI*)(DWORD, XINPUT_VIBRATION*);
HMODULE g_dll = nullptr;
GetStateApi g_getState = nullptr;
SetStateApi g_setState = nullptr;
UINT g_interval = 0;
std::bitset<256> g_sentDown;  // keys the pads pressed in Windows' input and have not let go

uint32_t GetState(uint32_t place, xinput::State* state) {
  return g_getState(place, reinterpret_cast<XINPUT_STATE*>(state));
}

uint32_t SetState(uint32_t place, xinput::Vibration* vibration) {
  return g_setState(place, reinterpret_cast<XINPUT_VIBRATION*>(vibration));
}

void CALLBACK ReadPads(HWND hwnd, UINT, UINT_PTR, DWORD) {
  UINT interval = xinput::ReadPads(::GetTickCount()) ? kReadMs : kSearchMs;
  if (interval != g_interval && ::SetTimer(hwnd, kPadTimer, interval, ReadPads))
    g_interval = interval;
}

// A key into Windows' input, which gives it to the window in front. Only while that is ours
// (the game's window, its menu or its dialog) is a key pressed; a key let go is always let
// go, so that no other program sees it stuck.
void SendKey(uint32_t key, bool down) {
  if (key >= g_sentDown.size()) return;
  HWND front = ::GetForegroundWindow();
  bool ours = front && ::GetWindowThreadProcessId(front, nullptr) == ::GetCurrentThreadId();
  if (down ? !ours : !g_sentDown.test(key)) return;
  g_sentDown.set(key, down);
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = WORD(key);
  in.ki.wScan = WORD(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  bool arrow = key >= VK_LEFT && key <= VK_DOWN;
  in.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (arrow ? KEYEVENTF_EXTENDEDKEY : 0);
  ::SendInput(1, &in, sizeof in);
}

}  // namespace

void InputKeyDown(uint32_t key) {
  SendKey(key, true);
}

void InputKeyUp(uint32_t key) {
  SendKey(key, false);
}

bool InputToMenuOrDialog() {
  return Main().inMenu || Main().dialog;
}

namespace win32 {

void StartPads() {
  g_dll = ::LoadLibraryW(L"xinput1_4.dll");
  if (!g_dll) g_dll = ::LoadLibraryW(L"XInput9_1_0.dll");
  if (!g_dll) return;
  g_getState = reinterpret_cast<GetStateApi>(
      reinterpret_cast<void*>(::GetProcAddress(g_dll, "XInputGetState")));
  g_setState = reinterpret_cast<SetStateApi>(
      reinterpret_cast<void*>(::GetProcAddress(g_dll, "XInputSetState")));
  if (!g_getState) return;
  xinput::StartPads(GetState, g_setState ? SetState : nullptr);
  g_interval = 0;
  ReadPads(Main().hwnd, 0, 0, 0);  // the pads already plugged in, and the timer
}

// XInput's motors run until told otherwise: a timer of the window ends each rumble.
void CALLBACK EndRumble(HWND hwnd, UINT, UINT_PTR, DWORD) {
  ::KillTimer(hwnd, kRumbleTimer);
  xinput::StopPadMotors();
}

void RumbleXInputPad(float strength, uint32_t ms) {
  if (!g_setState || !Main().hwnd) return;
  const uint16_t level = uint16_t(std::clamp(strength, 0.0f, 1.0f) * 0xFFFF);
  xinput::SetPadMotors(level, level);
  ::SetTimer(Main().hwnd, kRumbleTimer, ms ? ms : 1, EndRumble);
}

void StopPads() {
  if (Main().hwnd) ::KillTimer(Main().hwnd, kPadTimer);
  if (Main().hwnd) ::KillTimer(Main().hwnd, kRumbleTimer);
  xinput::StopPads();
  if (g_dll) ::FreeLibrary(g_dll);
  g_dll = nullptr;
  g_getState = nullptr;
  g_setState = nullptr;
}

}  // namespace win32

}  // namespace quillorn::platform
