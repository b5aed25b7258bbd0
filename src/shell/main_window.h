// The window procedure: turns the window's messages into calls of the scene handler slots,
// keeps the held arrow and the activation flag, and carries out the menu commands.
#pragma once

#include <cstdint>

namespace quillorn {

constexpr int32_t kDirectionNone = 4;

extern int32_t heldDirection;  // the arrow currently held: 0 up, 1 right, 2 down, 3 left, 4 none
extern int32_t appActive;      // while 0, keys and ticks are dropped

// Menu command ids.
enum : uint32_t {
  kCmdStartGame = 40001,
  kCmdHelp = 40002,
  kCmdQuit = 40003,
  kCmdEnding = 40004,
  kCmdStory = 40005,
  kCmdTitle = 40006,
  kCmdStaffRoll = 40009,
};

int32_t MainWindowProc(uint32_t message, uint32_t wParam, int32_t lParam);
int32_t HelpDialogProc(uint32_t message, uint32_t wParam, int32_t lParam);

}  // namespace quillorn
