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
}  // namespace

bool StartUp() {
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
  platform::CreateMainWindow(desc);  // its result is not tested

  InitGraphics();
  ClearBackBuffer();
  platform::ShowMainWindow();
  InitSound();
  platform::SetTimer(1, kTickMs);
  sceneHandlers.tickHandler = LoadAssets;
  return true;
}

namespace {

int exitCode = 0;

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
  if (!StartUp()) return 0;
  exitCode = 0;
  platform::RunMessageLoop(DispatchDueMessages);
  return exitCode;
}

}  // namespace quillorn
