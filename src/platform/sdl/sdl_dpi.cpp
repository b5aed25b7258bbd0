#include "platform/sdl/sdl_dpi.h"

#include <SDL_syswm.h>

#include <cstdlib>
#include <cstring>

namespace quillorn::platform::sdl {

float ParseXftDpi(const char* resources) {
  if (!resources) return 0.0f;
  static const char kName[] = "Xft.dpi:";
  for (const char* line = resources; *line;) {
    if (std::strncmp(line, kName, sizeof kName - 1) == 0) {
      float dpi = std::strtof(line + sizeof kName - 1, nullptr);  // skips the blanks
      return dpi > 0.0f ? dpi : 0.0f;
    }
    const char* end = std::strchr(line, '\n');
    if (!end) break;
    line = end + 1;
  }
  return 0.0f;
}

float ScreenDpi(SDL_Window* window) {
  Display* x = nullptr;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
    x = info.info.x11.display;
  if (x) {
    if (float dpi = ParseXftDpi(XResourceManagerString(x)); dpi > 0.0f) return dpi;
  }
  float dpi = 0.0f;
  if (SDL_GetDisplayDPI(SDL_GetWindowDisplayIndex(window), nullptr, &dpi, nullptr) == 0 &&
      dpi > 0.0f)
    return dpi;
  if (x) {
    int screen = DefaultScreen(x);
    if (int mm = DisplayWidthMM(x, screen); mm > 0)
      return float(DisplayWidth(x, screen)) * 25.4f / float(mm);
  }
  return 0.0f;
}

}  // namespace quillorn::platform::sdl
