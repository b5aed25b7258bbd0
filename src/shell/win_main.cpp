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

int WinMain() {
  if (!StartUp()) return 0;
  platform::Message msg;
  while (platform::GetMessage(msg)) platform::DispatchMessage(msg);
  return int(msg.wParam);
}

}  // namespace quillorn
