#include "shell/win_main.h"

#include "graphics/graphics.h"
#include "platform/platform.h"
#include "shell/load_assets.h"
#include "shell/main_window.h"
#include "shell/random.h"
#include "shell/scene_handlers.h"
#include "sound/sound_bank.h"

namespace quillorn {

namespace {
constexpr const char* kClassName = "Quillorn";  // also the window title
constexpr int32_t kClientWidth = 480;
constexpr int32_t kClientHeight = 512;
constexpr uint32_t kTickMs = 54;
constexpr int kExitFailure = 1;

int exitCode = 0;

// Start-up cannot go on: the platform has said why, and the program ends with a failure.
bool Fail() {
  exitCode = kExitFailure;
  return false;
}

}  // namespace

bool StartUp() {
  exitCode = 0;
  ClearSceneHandlers();
  heldDirection = kDirectionNone;
  appActive = 0;
  SeedRandom(platform::GetTickCount());

  // A second copy leaves at once and leaves the first one alone.
  if (!platform::ClaimSingleCopy(kClassName)) return false;

  platform::WindowDesc desc;
  desc.className = kClassName;
  desc.title = kClassName;
  desc.clientWidth = kClientWidth;
  desc.clientHeight = kClientHeight;
  desc.menuName = "menu";
  desc.iconName = "ico";
  desc.proc = MainWindowProc;
  // Without a window nothing could ever end the message loop: the program would wait for ever.
  if (!platform::CreateMainWindow(desc)) return Fail();

  InitGraphics();
  ClearBackBuffer();
  platform::ShowMainWindow();
  InitSound();
  // Without the clock nothing would ever happen: the window goes again, and so does the game.
  if (!platform::SetTimer(1, kTickMs)) {
    platform::DestroyMainWindow();
    return Fail();
  }
  sceneHandlers.tickHandler = LoadAssets;
  return true;
}

namespace {

// One turn of the message loop: every message that is due now is dispatched. False once the
// quit message has come; its code is the exit code.
bool DispatchDueMessages() {
  platform::Message msg;
  while (platform::PollMessage(msg)) {
    if (msg.type == platform::kMsgQuit) {
      exitCode = int(msg.wParam);
      return false;
    }
    platform::DispatchMessage(msg);
  }
  return true;
}

}  // namespace

int WinMain() {
  if (!StartUp()) return exitCode;
  platform::RunMessageLoop(DispatchDueMessages);
  return exitCode;
}

}  // namespace quillorn
