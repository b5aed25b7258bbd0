// The MENU resource reader on arbitrary bytes, and the menu bar built from what it accepts:
// drawn, opened, walked through with the keys and the mouse, each drop-down drawn.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_window.h"
#include "platform/chrome/menu_bar.h"
#include "platform/headless/headless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  using namespace quillorn;
  using namespace quillorn::platform;
  fuzz::OpenWindowOnce();
  std::vector<MenuDropDown> parsed;
  ParseMenu(Resource{bytes, size}, parsed);
  headless::OverrideResource("MENU", "FUZZ", std::vector<uint8_t>(bytes, bytes + size));
  MenuBarLoad("FUZZ");
  Surface bar = MakeSurface(480, kMenuBarHeight);
  MenuBarDraw(bar);
  Surface dropDown;
  Rect where;
  MenuBarKey(true, kKeyF10);
  for (uint32_t key : {kKeyDown, kKeyUp, kKeyUp, kKeyRight, kKeyDown, kKeyLeft, kKeyLeft}) {
    MenuBarKey(true, key);
    MenuBarKey(false, key);
    MenuBarDrawDropDown(dropDown, where);
  }
  MenuBarDraw(bar);
  for (int i = 0; i < int(MenuBarMenus().size()) && i < 8; ++i) {
    Rect title = MenuBarTitleRect(i);
    MenuBarMouse(title.left + 1, title.top + 1, true);
    MenuBarMouse(title.left + 1, title.top + 1, false);
    if (MenuBarDropDownRect(where)) MenuBarMouseMove(where.left + 30, where.top + 10);
    MenuBarDrawDropDown(dropDown, where);
  }
  MenuBarKey(true, kKeyReturn);
  MenuBarReset();
  headless::Pump();
  return 0;
}
