// Menu bar state. (Drawing and navigation arrive with the SDL window work.)
#include "platform/menu_bar.h"

namespace quillorn::platform {

void MenuBarLoad(const char*) {}
void MenuBarReset() {}
bool MenuBarOpen() {
  return false;
}
bool MenuBarKey(bool, uint32_t) {
  return false;
}

}  // namespace quillorn::platform
