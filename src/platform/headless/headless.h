// Test control of the headless backend. Tests drive the whole game in-process: they post
// input, run ticks on a clock they own, and read back the window's picture. Each test that
// starts a game calls Reset first, so several games can run one after another.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/surface.h"

namespace quillorn::headless {

// Forgets the window, the queue, the timers, the dialog, resource overrides, failures made,
// lines said, audio, the settings (defaults, kept in memory) and the rumble, and sets the
// clock to startMs.
void Reset(uint32_t startMs = 0);

// The millisecond clock that GetTickCount reads moves on.
void AdvanceClock(uint32_t ms);

// Input, routed as the real window routes it (to an open menu or dialog first).
void KeyDown(uint32_t key);
void KeyUp(uint32_t key);
void SetActive(bool active);  // posts kMsgActivateApp
void Command(uint32_t id);    // posts kMsgCommand, as choosing a menu item does
// A key pressed with modifiers: the window's own keys (Ctrl+1, 2, 3, Alt+Enter, Ctrl+M) are
// carried out as the real windows carry them out; any other key goes on as KeyDown.
void KeyDownWith(uint32_t key, bool ctrl, bool alt = false, bool shift = false);

// Dispatches every message that is due now (posted, input, paint, a due timer tick), without
// advancing the clock. Returns the number dispatched.
int Pump();
// Advances the clock by 54 ms and pumps, n times: one timer tick each.
void Tick(int n = 1);

// Called by the message loop when nothing is due; it may post input or advance the clock.
// Without a hook (or when it returns false) the loop advances the clock to the next timer
// tick, or ends when no timer runs.
using IdleHook = bool (*)();
void SetIdleHook(IdleHook hook);

// The display this process's game runs on, for the single-copy lock (by default one of its
// own per process, so parallel test processes never meet).
void SetDisplayName(const std::string& name);

// The window.
bool WindowExists();
const platform::WindowDesc& Window();
const platform::Surface& WindowPicture();  // the client area as last painted
// The whole window as it is composed: the menu bar, the client picture, an open drop-down,
// submenu or dialog, and the beep strip while it is shown.
const platform::Surface& WindowFrame();
// Bounding box of the region that the last paint updated (empty when nothing was painted).
platform::Rect LastPaintedRect();
bool QuitPosted(int32_t* exitCode = nullptr);

// The window's life events in order ("create-window", "show-window", "set-timer 1 54",
// "destroy-window", "kill-timer 1", "quit 0", ...), and a way for other parts of the
// headless backend (audio) to add theirs.
const std::vector<std::string>& Events();
void RecordEvent(const char* event);

// The modal dialog, if one is open.
bool DialogOpen();
std::string DialogName();

// Settings: kept in memory unless a folder is given, then in its settings.ini, read and
// written as the desktop program does.
void SetSettingsFolder(const std::string& folder);  // "" goes back to memory
std::string SettingsFile();                         // the file, or "" in memory
bool StoredSettingsText(std::string& text);         // false: nothing stored
void SetStoredSettingsText(const std::string& text);
int SettingsWrites();  // times the settings were written since Reset
// What the settings code said to the player (the usage, each problem's line), in order.
const std::string& SaidText();

// The rumble asked of the game controller, in order.
struct RumbleCall {
  float strength = 0;
  uint32_t ms = 0;
  uint32_t at = 0;  // the clock when asked
};
const std::vector<RumbleCall>& RumbleCalls();

// Resources: an override replaces (or adds) a resource for this process until Reset;
// a hidden resource is not found.
void OverrideResource(const char* type, const char* name, std::vector<uint8_t> bytes);
void HideResource(const char* type, const char* name);

// Failures of the platform, made on purpose so that tests can follow each path; each holds
// until Reset. A missing resource is HideResource.
enum class Failure {
  kWindow,          // no window can be opened (no display)
  kPicture,         // a window, but nothing can be drawn in it
  kTimer,           // the system refuses the timer
  kSoundDevice,     // no sound device
  kSingleCopyLock,  // the single-copy lock cannot be taken, for another reason than a copy
};
void MakeFail(Failure failure);
bool Failing(Failure failure);
// What the platform said, in order: "stop: " and the line for a failure the program ends on,
// "missing: " and the line for one the game goes on after.
const std::vector<std::string>& Said();

}  // namespace quillorn::headless
