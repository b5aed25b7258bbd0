// The SDL backend's window: a fixed-size window whose top strip is the menu bar and whose
// rest is the client area. The frame is composed in memory (the client picture, then an
// open drop-down or dialog over it, then the bar) and copied to the window surface without
// scaling.
#include "platform/sdl/sdl_window.h"

#include <algorithm>
#include <string>

#include "platform/backend.h"
#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/resources/icon_image.h"
#include "platform/window/window_state.h"

namespace quillorn::platform {

namespace {

struct Overlay {
  bool shown = false;
  Surface pixels;
  Rect where;  // frame coordinates
};

struct SdlWindow {
  SDL_Window* window = nullptr;
  SDL_Surface* frameView = nullptr;  // SDL's view of frame.pixels
  Surface frame;                     // the whole window: bar above, client below
  int32_t barHeight = 0;
  Surface bar;
  Overlay dropDown;
  Overlay dialog;
};

SdlWindow g_sdl;

Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

void CopyRect(Surface& dest, const Surface& src, int32_t srcX, int32_t srcY, const Rect& to) {
  for (int32_t y = to.top; y < to.bottom; ++y) {
    const Pixel* in = src.Row(y - to.top + srcY) + srcX;
    std::copy(in, in + (to.right - to.left), dest.Row(y) + to.left);
  }
}

void ComposeOverlay(const Overlay& o, const Rect& area) {
  if (!o.shown) return;
  Rect r = Intersect(area, o.where);
  if (RectEmpty(r)) return;
  CopyRect(g_sdl.frame, o.pixels, r.left - o.where.left, r.top - o.where.top, r);
}

// Brings the frame up to date inside area (frame coordinates) and shows that part.
void Compose(const Rect& area) {
  SdlWindow& s = g_sdl;
  if (!s.window) return;
  const WindowState& w = Window();
  Rect client{0, s.barHeight, s.frame.width, s.frame.height};
  Rect r = Intersect(area, client);
  if (!RectEmpty(r) && w.picture.width == s.frame.width)
    CopyRect(s.frame, w.picture, r.left, r.top - s.barHeight, r);
  ComposeOverlay(s.dropDown, area);
  ComposeOverlay(s.dialog, area);
  Rect barArea = Intersect(area, {0, 0, s.frame.width, s.barHeight});
  if (!RectEmpty(barArea)) CopyRect(s.frame, s.bar, barArea.left, barArea.top, barArea);

  SDL_Surface* target = SDL_GetWindowSurface(s.window);
  if (!target) return;
  SDL_Rect rect{area.left, area.top, area.right - area.left, area.bottom - area.top};
  SDL_BlitSurface(s.frameView, &rect, target, &rect);
  SDL_UpdateWindowSurfaceRects(s.window, &rect, 1);
}

void SetIcon(const char* name) {
  IconImage icon;
  if (!LoadIcon(name, 32, icon)) return;  // no icon: the window manager's default
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      icon.argb.data(), icon.width, icon.height, 32, icon.width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return;
  SDL_SetWindowIcon(g_sdl.window, surface);
  SDL_FreeSurface(surface);
}

// SDL wants UTF-8 titles; ours are Shift-JIS.
std::string TitleUtf8(const char* title) {
  if (!title) return "";
  char* utf8 = SDL_iconv_string("UTF-8", "CP932", title, SDL_strlen(title) + 1);
  if (!utf8) return title;
  std::string s = utf8;
  SDL_free(utf8);
  return s;
}

}  // namespace

namespace sdl {

SDL_Window* MainWindow() {
  return g_sdl.window;
}

void RedrawAll() {
  SdlWindow& s = g_sdl;
  if (!s.window) return;
  s.bar = MakeSurface(s.frame.width, s.barHeight);
  MenuBarDraw(s.bar);
  s.dropDown.shown = MenuBarDrawDropDown(s.dropDown.pixels, s.dropDown.where);
  s.dialog.shown = DialogDraw(s.dialog.pixels, s.dialog.where);
  if (s.dialog.shown) {
    s.dialog.where.top += s.barHeight;  // client to frame coordinates
    s.dialog.where.bottom += s.barHeight;
  }
  Compose({0, 0, s.frame.width, s.frame.height});
}

}  // namespace sdl

namespace backend {

bool CreateWindow(const WindowDesc& desc) {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // a signal ends the game as it ends anything
  // The frame goes to the window as plain pixels; no 3D driver is started (or probed) for it.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Video alone: the sound output brings up its own subsystem.
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  MenuBarLoad(desc.menuName);
  SdlWindow& s = g_sdl;
  s.barHeight = MenuBarHeight();
  int32_t height = desc.clientHeight + s.barHeight;
  s.window = SDL_CreateWindow(TitleUtf8(desc.title).c_str(), SDL_WINDOWPOS_UNDEFINED,
                              SDL_WINDOWPOS_UNDEFINED, desc.clientWidth, height, SDL_WINDOW_HIDDEN);
  if (!s.window) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  s.frame = MakeSurface(desc.clientWidth, height);
  s.frameView =
      SDL_CreateRGBSurfaceWithFormatFrom(s.frame.pixels.data(), s.frame.width, s.frame.height, 32,
                                         s.frame.width * 4, SDL_PIXELFORMAT_RGB888);
  if (s.frameView) SDL_SetSurfaceBlendMode(s.frameView, SDL_BLENDMODE_NONE);
  SetIcon(desc.iconName);
  SDL_StopTextInput();  // keys only; no input method
  return true;
}

void ShowWindow() {
  if (!g_sdl.window) return;
  SDL_ShowWindow(g_sdl.window);
  sdl::RedrawAll();
}

void DestroyWindow() {
  SdlWindow& s = g_sdl;
  if (!s.window) return;
  if (s.frameView) SDL_FreeSurface(s.frameView);
  SDL_DestroyWindow(s.window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  // The last one out releases what SDL keeps for the whole process (its bus connection).
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
  s = SdlWindow();
}

void Present(const Surface&, const Rect& dirty) {
  Compose({dirty.left, dirty.top + g_sdl.barHeight, dirty.right, dirty.bottom + g_sdl.barHeight});
}

void ChromeChanged() {
  sdl::RedrawAll();
}

}  // namespace backend

}  // namespace quillorn::platform
