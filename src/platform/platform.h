// The platform layer: the one window, its messages, the timer, painting, dialogs, the
// millisecond clock and the embedded resources. The game talks to the platform only
// through these functions and codes; four backends implement them: SDL2 for the desktop
// program, Win32 for Windows, web for the browser and headless for the tests. A failure the
// platform meets is said by the platform (see each function); the game only decides whether
// to go on.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillorn::platform {

struct Surface;

// Message codes, numbered as the classic desktop window system numbers them.
enum : uint32_t {
  kMsgDestroy = 0x0002,
  kMsgPaint = 0x000F,
  kMsgClose = 0x0010,
  kMsgQuit = 0x0012,
  kMsgActivateApp = 0x001C,
  kMsgKeyDown = 0x0100,
  kMsgKeyUp = 0x0101,
  kMsgCommand = 0x0111,
  kMsgTimer = 0x0113,
};

// Virtual-key codes of the keys the game and the menu bar use. Any other key is delivered
// with its own code: letters and digits as their upper-case ASCII value.
enum : uint32_t {
  kKeyReturn = 13,
  kKeyAlt = 18,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyE = 69,
  kKeyZ = 90,
  kKeyF10 = 121,
};

// Dialog command ids.
enum : uint32_t { kIdOk = 1, kIdCancel = 2 };

struct Message {
  uint32_t type = 0;
  uint32_t wParam = 0;
  int32_t lParam = 0;
};

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

using WindowProc = int32_t (*)(uint32_t type, uint32_t wParam, int32_t lParam);
using DialogProc = int32_t (*)(uint32_t type, uint32_t wParam, int32_t lParam);

struct WindowDesc {
  const char* className = nullptr;  // also names the single-copy lock
  const char* title = nullptr;
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  const char* menuName = nullptr;  // MENU resource shown as the menu bar, or null
  const char* iconName = nullptr;  // ICON resource for the window icon, or null
  WindowProc proc = nullptr;
};

// Single copy per user and display. True when this process now holds the lock named after
// className; false when another running process holds it. The lock dies with the process.
// A lock that cannot be taken for any other reason is said in one line, and this copy runs.
bool ClaimSingleCopy(const char* className);

// The one window. Creating it does not show it. False when no window can be had: why has
// been said (a message box too on Windows), and the program cannot go on.
bool CreateMainWindow(const WindowDesc& desc);
void ShowMainWindow();
// Sends kMsgDestroy to the window procedure; the window is gone afterwards.
void DestroyMainWindow();

// Timers post kMsgTimer with the timer id as wParam. Like the classic window system's timer
// they never queue a backlog: after a stall one tick comes, not a burst. False without a
// window, or when the system refuses a timer: that has been said, as for the window.
bool SetTimer(uint32_t id, uint32_t intervalMs);
void KillTimer(uint32_t id);

// Takes the next message that is due now, without waiting; false when none is. Posted and
// input messages come first, then paint (when the invalid region is not empty), then timer
// ticks. kMsgQuit carries the exit code as its wParam.
bool PollMessage(Message& out);
// The message loop, run by the backend: step is called whenever messages may be due, until
// it returns false. The desktop and test backends wait between calls without busy looping;
// the browser's returns at once and calls step from the page's events and its timer.
using LoopStep = bool (*)();
void RunMessageLoop(LoopStep step);
void DispatchMessage(const Message& msg);
void PostMessage(uint32_t type, uint32_t wParam, int32_t lParam);
void PostQuitMessage(int32_t exitCode);
// Default handling: kMsgClose destroys the window; everything else returns 0.
int32_t DefWindowProc(uint32_t type, uint32_t wParam, int32_t lParam);

// Adds a rectangle of the client area (null: all of it) to the invalid region.
void InvalidateRect(const Rect* rect);

// Painting, between BeginPaint and EndPaint: copies reach the window only inside the
// region that was invalid when BeginPaint was called. BeginPaint empties the region and
// returns its bounding box; EndPaint shows the result.
Rect BeginPaint();
void PaintFromSurface(const Surface& src, int32_t srcX, int32_t srcY, int32_t width, int32_t height,
                      int32_t destX, int32_t destY);
void EndPaint();

// A modal dialog laid out from a DIALOG resource. Opening returns at once; while the dialog
// is open keys go to it and not to the window, and timer ticks still reach the window.
// The dialog procedure receives kMsgCommand with the control id when a button is pressed,
// kIdCancel for Esc and the close box; it closes the dialog with EndDialog.
void OpenDialog(const char* dialogName, DialogProc proc);
void EndDialog(int32_t result);

// Every sound the game plays, told to the platform as it plays it, so that a player who
// cannot hear can see it (a pulse in a strip below the picture) or feel it (the game
// controller's rumble), when the player asks for that. A proximity beep gives the nearest
// person's distance in tiles, 1 to 19; the other cues none.
enum class SoundCue : uint8_t {
  kProximityBeep,
  kVoice,  // a typed character's voice, the title cursor's beep
  kTune,   // the flower's tune, the game-over sound
};
void ShowSoundCue(SoundCue cue, int32_t distance = 0);

// Milliseconds since some fixed moment, in 32 bits, wrapping.
uint32_t GetTickCount();

// Embedded resources, looked up by type and name without regard to case. A resource that is
// not there is said in one line (once); the caller goes on without it.
struct Resource {
  const uint8_t* data = nullptr;
  size_t size = 0;
};
bool FindResource(const char* type, const char* name, Resource& out);

}  // namespace quillorn::platform
