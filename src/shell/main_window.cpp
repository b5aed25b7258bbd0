#include "shell/main_window.h"

#include "gameplay/actors.h"
#include "graphics/graphics.h"
#include "platform/platform.h"
#include "scenes/ending.h"
#include "scenes/staff_roll.h"
#include "scenes/story.h"
#include "scenes/title_screen.h"
#include "shell/scene_handlers.h"
#include "sound/sound_bank.h"

namespace quillorn {

int32_t heldDirection = kDirectionNone;
int32_t appActive = 0;

namespace {

void OpenHelpDialog() {
  platform::OpenDialog("dlg_help", HelpDialogProc);
}

void CloseWindow() {
  platform::PostMessage(platform::kMsgClose, 0, 0);
}

struct Command {
  uint32_t id;
  void (*action)();
};

// Ids 40001 to 40009. DEBUG_MENU's ids act too, although the window's menu has no entry for
// them; the ids that no menu names do nothing.
constexpr Command kCommands[] = {
    {kCmdStartGame, StartGame},      {kCmdHelp, OpenHelpDialog},   {kCmdQuit, CloseWindow},
    {kCmdEnding, StartEndingScene},  {kCmdStory, StartStoryScene}, {kCmdTitle, ShowTitleScreen},
    {kCmdStaffRoll, StartStaffRoll},
};

void RunCommand(uint32_t id) {
  for (const Command& c : kCommands) {
    if (c.id == id) {
      c.action();
      return;
    }
  }
}

int32_t ArrowDirection(uint32_t key) {
  switch (key) {
    case platform::kKeyUp:
      return 0;
    case platform::kKeyRight:
      return 1;
    case platform::kKeyDown:
      return 2;
    case platform::kKeyLeft:
      return 3;
    default:
      return -1;
  }
}

void KeyDown(uint32_t key) {
  if (key == platform::kKeyReturn || key == platform::kKeySpace || key == platform::kKeyZ) {
    if (sceneHandlers.confirmKeyHandler) sceneHandlers.confirmKeyHandler();
  } else if (key == platform::kKeyEscape) {
    CloseWindow();
  } else if (key == platform::kKeyE) {
    if (sceneHandlers.eKeyHandler) sceneHandlers.eKeyHandler();
  } else if (int32_t d = ArrowDirection(key); d >= 0) {
    // Written before the slot is looked at: play polls it every tick in every scene.
    heldDirection = d;
    if (sceneHandlers.directionKeyHandler) sceneHandlers.directionKeyHandler(d);
  }
}

void KeyUp(uint32_t key) {
  // Only the arrow that is held counts: releasing another one changes nothing.
  int32_t d = ArrowDirection(key);
  if (d >= 0 && heldDirection == d) heldDirection = kDirectionNone;
}

void ShutDown() {
  FreeSound();
  platform::KillTimer(1);
  FreeGraphics();
  platform::PostQuitMessage(0);
}

}  // namespace

int32_t MainWindowProc(uint32_t message, uint32_t wParam, int32_t lParam) {
  switch (message) {
    case platform::kMsgKeyDown:
      if (appActive) KeyDown(wParam);
      return 0;
    case platform::kMsgKeyUp:
      if (appActive) KeyUp(wParam);
      return 0;
    case platform::kMsgCommand:
      RunCommand(wParam);  // taken whole, not only its low word
      return 0;
    case platform::kMsgTimer:
      // The timer id is not examined.
      if (appActive && sceneHandlers.tickHandler) sceneHandlers.tickHandler();
      return 0;
    case platform::kMsgPaint:
      PaintWindow();
      return 0;
    case platform::kMsgActivateApp:
      appActive = int32_t(wParam);
      return 0;
    case platform::kMsgDestroy:
      ShutDown();
      return 0;
    default:
      return platform::DefWindowProc(message, wParam, lParam);
  }
}

int32_t HelpDialogProc(uint32_t message, uint32_t wParam, int32_t) {
  uint32_t id = wParam & 0xFFFF;
  if (message == platform::kMsgCommand && (id == platform::kIdOk || id == platform::kIdCancel)) {
    platform::EndDialog(0);
    return 1;
  }
  return 0;
}

}  // namespace quillorn
