// The SDL backend's window: a window whose top strip is the menu bar, then the client area,
// then the beep strip while it is shown. The frame is composed in memory at its own size (the
// client picture, an open drop-down or dialog over it, the bar, the strip) and shown at a
// whole-number scale, pixels repeated: k times the frame's size in a window, the largest
// scale that fits in fullscreen, centred on black.
#include "platform/sdl/sdl_window.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/backend.h"
#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/chrome/window_frame.h"
#include "platform/resources/icon_image.h"
#include "platform/sdl/sdl_dpi.h"
#include "platform/sdl/x_errors.h"
#include "platform/window/report.h"
#include "platform/window/window_scale.h"
#include "platform/window/window_state.h"

namespace quillorn::platform {

namespace {

struct SdlWindow : WindowFrame {
  SDL_Window* window = nullptr;
  int32_t clientWidth = 0, clientHeight = 0;
  int32_t screenScale = 1;  // the scale the screen's density suggests
  int32_t scale = 1;        // the window's scale when not fullscreen
  bool fullscreen = false;
  // The frame as shown: placed on the window surface, scaled up in memory first.
  FramePlacement placement;
  int32_t targetWidth = 0, targetHeight = 0;
  int32_t placedWidth = 0, placedHeight = 0;  // the frame's size when it was placed
  Surface scaled;
  SDL_Surface* scaledView = nullptr;  // SDL's view of scaled.pixels
};

SdlWindow g_sdl;

void FreeScaled() {
  if (g_sdl.scaledView) SDL_FreeSurface(g_sdl.scaledView);
  g_sdl.scaledView = nullptr;
  g_sdl.scaled = Surface();
}

// Follows the window surface's size and the frame's: a new size (a new scale, fullscreen or
// back, the strip shown or hidden) places the frame anew, clears the border to black and
// shows all of the frame.
bool Place(SDL_Surface* target, Rect& area) {
  SdlWindow& s = g_sdl;
  if (target->w == s.targetWidth && target->h == s.targetHeight && s.scaledView &&
      s.placedWidth == s.frame.width && s.placedHeight == s.frame.height)
    return true;
  s.targetWidth = target->w;
  s.targetHeight = target->h;
  s.placedWidth = s.frame.width;
  s.placedHeight = s.frame.height;
  s.placement = PlaceFrame(s.frame.width, s.frame.height, target->w, target->h);
  FreeScaled();
  int32_t k = s.placement.scale;
  s.scaled = MakeSurface(s.frame.width * k, s.frame.height * k);
  s.scaledView =
      SDL_CreateRGBSurfaceWithFormatFrom(s.scaled.pixels.data(), s.scaled.width, s.scaled.height,
                                         32, s.scaled.width * 4, SDL_PIXELFORMAT_RGB888);
  if (!s.scaledView) return false;
  SDL_SetSurfaceBlendMode(s.scaledView, SDL_BLENDMODE_NONE);
  SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
  area = {0, 0, s.frame.width, s.frame.height};
  return true;
}

// Shows area of the frame (frame coordinates) on the window, scaled.
void Show(Rect area) {
  SdlWindow& s = g_sdl;
  area = IntersectRects(area, {0, 0, s.frame.width, s.frame.height});
  SDL_Surface* target = SDL_GetWindowSurface(s.window);
  if (!target || !Place(target, area) || RectEmpty(area)) return;
  int32_t k = s.placement.scale;
  ScaleUp(s.frame, area, k, s.scaled);
  SDL_Rect from{area.left * k, area.top * k, (area.right - area.left) * k,
                (area.bottom - area.top) * k};
  Rect on = FrameToTarget(s.placement, area);
  SDL_Rect to{on.left, on.top, from.w, from.h};
  SDL_BlitSurface(s.scaledView, &from, target, &to);
  if (area.right - area.left == s.frame.width && area.bottom - area.top == s.frame.height)
    SDL_UpdateWindowSurface(s.window);  // the border too
  else
    SDL_UpdateWindowSurfaceRects(s.window, &to, 1);
}

// Brings the frame up to date inside area (frame coordinates) and shows that part.
void Compose(const Rect& area) {
  if (!g_sdl.window) return;
  ComposeWindowFrame(g_sdl, area);
  Show(area);
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

// Sizes the window for a scale, lowered to what fits on its screen.
void ApplyScale(int32_t scale) {
  if (scale <= 0) scale = g_sdl.screenScale;  // the player chose none: the screen's own
  SdlWindow& s = g_sdl;
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(s.window), &usable) != 0) usable = {};
  s.scale = WindowScaleThatFits(scale, s.frame.width, s.frame.height, usable.w, usable.h);
  int32_t width = s.frame.width * s.scale, height = s.frame.height * s.scale;
  // In fullscreen SDL keeps the size for the return to the window.
  SDL_SetWindowSize(s.window, width, height);
  if (!s.fullscreen && usable.w > 0) {
    // Grown from where it stood, the window would run off the screen's edge: move it back.
    int x = 0, y = 0;
    SDL_GetWindowPosition(s.window, &x, &y);
    int keptX = std::max(usable.x, std::min(x, usable.x + usable.w - width));
    int keptY = std::max(usable.y, std::min(y, usable.y + usable.h - height));
    if (keptX != x || keptY != y) SDL_SetWindowPosition(s.window, keptX, keptY);
  }
}

// Why SDL has no window for us (its own account first), with what a player can do about it.
std::string NoWindowReason(const std::string& account) {
  std::string reason = account;
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (driver && *driver)
    reason += std::string(" (SDL_VIDEODRIVER=") + driver +
              "): unset SDL_VIDEODRIVER, or set it to x11 or wayland";
  else if ((x && *x) || (wayland && *wayland))
    reason += std::string("; the display ") + (x && *x ? x : wayland) + " does not answer";
  else
    reason += "; neither DISPLAY nor WAYLAND_DISPLAY is set: start the game on a desktop";
  return reason;
}

// Where no display answers, SDL falls back on a driver that shows nothing: a window nobody
// could see or close would wait for ever. Such a driver is used only when asked for by name.
bool InvisibleDriver() {
  const char* current = SDL_GetCurrentVideoDriver();
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  std::string name = current ? current : "";
  return (name == "offscreen" || name == "dummy") && !(asked && *asked);
}

}  // namespace

namespace sdl {

SDL_Window* MainWindow() {
  return g_sdl.window;
}

void RedrawAll() {
  SdlWindow& s = g_sdl;
  if (!s.window) return;
  RedrawChrome(s);
  Compose({0, 0, s.frame.width, s.frame.height});
}

int32_t WindowScale() {
  return g_sdl.scale;
}

bool Fullscreen() {
  return g_sdl.fullscreen;
}

Settings ApplySettings(const Settings& wanted, const Settings& before) {
  SdlWindow& s = g_sdl;
  Settings taken = wanted;
  if (!s.window) return taken;
  const bool resized = SizeWindowFrame(s, s.clientWidth, s.clientHeight);
  if (resized || wanted.scale != before.scale) ApplyScale(wanted.scale);
  if (wanted.fullscreen != before.fullscreen) {
    const bool on = wanted.fullscreen;
    if (SDL_SetWindowFullscreen(s.window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0) {
      s.fullscreen = on;
      // Back in a window, at the scale it had (not every video driver restores it).
      if (!on) SDL_SetWindowSize(s.window, s.frame.width * s.scale, s.frame.height * s.scale);
    } else {
      taken.fullscreen = before.fullscreen;
    }
  }
  MenuBarCheckSettings();
  RedrawAll();
  return taken;
}

void StripChanged() {
  SdlWindow& s = g_sdl;
  if (!s.window || s.stripHeight == 0) return;
  RedrawStrip(s);
  Compose(StripArea(s));
}

void WindowToFrame(int32_t x, int32_t y, int32_t& frameX, int32_t& frameY) {
  TargetToFrame(g_sdl.placement, x, y, frameX, frameY);
}

}  // namespace sdl

namespace backend {

bool CreateWindow(const WindowDesc& desc) {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // a signal ends the game as it ends anything
  // The frame goes to the window as plain pixels; no 3D driver is started (or probed) for it.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Before SDL's video starts: SDL keeps the handler it finds, and puts it back as it ends.
  sdl::LetGoneWindowWakeUpsPass();
  // Video alone: the sound output brings up its own subsystem.
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    SayNoWindow(NoWindowReason(std::string("SDL: ") + SDL_GetError()));
    return false;
  }
  if (InvisibleDriver()) {
    SayNoWindow(NoWindowReason(std::string("no display, only SDL's ") +
                               SDL_GetCurrentVideoDriver() + " video driver"));
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  MenuBarLoad(desc.menuName);
  SdlWindow& s = g_sdl;
  s.clientWidth = desc.clientWidth;
  s.clientHeight = desc.clientHeight;
  SizeWindowFrame(s, s.clientWidth, s.clientHeight);
  s.window =
      SDL_CreateWindow(TitleUtf8(desc.title).c_str(), SDL_WINDOWPOS_UNDEFINED,
                       SDL_WINDOWPOS_UNDEFINED, s.frame.width, s.frame.height, SDL_WINDOW_HIDDEN);
  if (!s.window) {
    SayNoWindow(NoWindowReason(std::string("SDL: ") + SDL_GetError()));
  } else if (!SDL_GetWindowSurface(s.window)) {
    // The frame is drawn on the window's surface: without one the window would stay blank.
    SayNoPicture(std::string("SDL: ") + SDL_GetError());
    SDL_DestroyWindow(s.window);
    s.window = nullptr;
  }
  if (!s.window) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    s = SdlWindow();
    return false;
  }
  // On a dense screen the window starts as large as it would look at 96 dpi, unless the
  // player chose a scale.
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(s.window), &usable) != 0) usable = {};
  s.screenScale =
      StartScale(sdl::ScreenDpi(s.window), s.frame.width, s.frame.height, usable.w, usable.h);
  const int32_t start = CurrentSettings().scale;
  if ((start ? start : s.screenScale) != 1) ApplyScale(start);
  SetIcon(desc.iconName);
  SDL_StopTextInput();  // keys only; no input method
  sdl::OpenGamepads();
  return true;
}

void ShowWindow() {
  if (!g_sdl.window) return;
  SDL_ShowWindow(g_sdl.window);
  // Fullscreen as the player left it: on a shown window, as every video driver takes it.
  if (CurrentSettings().fullscreen &&
      SDL_SetWindowFullscreen(g_sdl.window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0)
    g_sdl.fullscreen = true;
  sdl::RedrawAll();
}

void DestroyWindow() {
  SdlWindow& s = g_sdl;
  if (!s.window) return;
  sdl::CloseGamepads();
  FreeScaled();
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
