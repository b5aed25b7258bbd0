// The Win32 backend's window: a class and a window of exactly the game's client size (and the
// beep strip below it, while shown) under the menu bar built from the MENU resource and the
// window's own 設定 menu, not resizable. Its messages go to the game's window procedure with
// their own codes (the platform's codes are Win32's). The window's own keys and commands stop
// here: Ctrl+1, 2, 3 for whole-number scales, Alt+Enter for fullscreen, Ctrl+M for the mute,
// and the 設定 menu.
#include "platform/win32/win32_window.h"

#include <algorithm>
#include <bitset>
#include <string>

#include "platform/cues/cue_strip.h"
#include "platform/window/after_tick.h"
#include "platform/window/report.h"

namespace quillorn::platform {

namespace win32 {

MainWindow& Main() {
  static MainWindow w;
  return w;
}

void PlacePicture() {
  MainWindow& w = Main();
  RECT rc{};
  ::GetClientRect(w.hwnd, &rc);
  w.placement = PlaceFrame(w.clientWidth, w.clientHeight + w.stripHeight, rc.right, rc.bottom);
}

}  // namespace win32

namespace {

using win32::Main;
using win32::MainWindow;

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr wchar_t kIconName[] = L"ICO";
constexpr wchar_t kSettingsMenu[] = L"SETTINGS_MENU";

std::bitset<256> g_windowKeysDown;  // key-downs that were the window's: their key-ups are too
bool g_swallowAltUp = false;        // Alt released after Alt+Enter must not open the menu

std::wstring Wide(const char* text, UINT codePage) {
  if (!text) return L"";
  int n = ::MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
  std::wstring out(size_t(n > 0 ? n : 1), L'\0');
  if (n > 0) ::MultiByteToWideChar(codePage, 0, text, -1, out.data(), n);
  out.resize(out.size() - 1);
  return out;
}

RECT WorkArea(HWND hwnd) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

float WindowDpi(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32"), "GetDpiForWindow")));
  if (getDpi) return float(getDpi(hwnd));
  HDC dc = ::GetDC(hwnd);
  float dpi = float(::GetDeviceCaps(dc, LOGPIXELSX));
  ::ReleaseDC(hwnd, dc);
  return dpi;
}

// The window's outer rectangle for a client area of k times the picture and the strip.
RECT OuterRect(int32_t k) {
  RECT r{0, 0, Main().clientWidth * k, (Main().clientHeight + Main().stripHeight) * k};
  ::AdjustWindowRectEx(&r, kWindowStyle, TRUE, 0);
  return r;
}

// Sizes the window so that its client area is k times the picture, lowered until the whole
// window, frame and menu bar included, fits the screen's work area.
void ApplyScale(int32_t scale) {
  MainWindow& w = Main();
  if (scale <= 0) scale = w.screenScale;  // the player chose none: the screen's own
  RECT work = WorkArea(w.hwnd);
  w.scale = std::clamp<int32_t>(scale, 1, kMaxWindowScale);
  for (RECT r = OuterRect(w.scale); w.scale > 1; r = OuterRect(--w.scale))
    if (r.right - r.left <= work.right - work.left && r.bottom - r.top <= work.bottom - work.top)
      break;
  if (w.fullscreen) return;  // taken up on the way back
  int32_t cw = w.clientWidth * w.scale, ch = (w.clientHeight + w.stripHeight) * w.scale;
  RECT r = OuterRect(w.scale);
  RECT now{};
  ::GetWindowRect(w.hwnd, &now);
  int x = std::max<int>(work.left, std::min<int>(now.left, work.right - (r.right - r.left)));
  int y = std::max<int>(work.top, std::min<int>(now.top, work.bottom - (r.bottom - r.top)));
  ::SetWindowPos(w.hwnd, nullptr, x, y, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar of another height than the one reckoned with: correct by the difference.
  RECT client{};
  ::GetClientRect(w.hwnd, &client);
  int dw = cw - client.right, dh = ch - client.bottom;
  if (dw || dh)
    ::SetWindowPos(w.hwnd, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  win32::PlacePicture();
  ::InvalidateRect(w.hwnd, nullptr, TRUE);
}

void ToggleFullscreen() {
  MainWindow& w = Main();
  if (!w.fullscreen) {
    ::GetWindowRect(w.hwnd, &w.windowedRect);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromWindow(w.hwnd, MONITOR_DEFAULTTONEAREST), &info);
    w.fullscreen = true;
    ::SetWindowLongPtrW(w.hwnd, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    const RECT& m = info.rcMonitor;
    ::SetWindowPos(w.hwnd, HWND_TOP, m.left, m.top, m.right - m.left, m.bottom - m.top,
                   SWP_FRAMECHANGED);
  } else {
    w.fullscreen = false;
    ::SetWindowLongPtrW(w.hwnd, GWL_STYLE, kWindowStyle | WS_VISIBLE);
    const RECT& r = w.windowedRect;
    ::SetWindowPos(w.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_FRAMECHANGED);
    ApplyScale(w.scale);
  }
  win32::PlacePicture();
  ::InvalidateRect(w.hwnd, nullptr, TRUE);
}

// The settings' checks on the 設定 menu's entries.
void ShowChecks(const Settings& s) {
  HMENU bar = ::GetMenu(Main().hwnd);
  for (const MenuCheck& c : SettingsMenuChecks(s))
    ::CheckMenuItem(bar, c.id, MF_BYCOMMAND | (c.checked ? MF_CHECKED : MF_UNCHECKED));
}

// The 設定 menu of the window's own, after the game's drop-downs.
void AppendSettingsMenu() {
  MainWindow& w = Main();
  HMENU bar = ::GetMenu(w.hwnd);
  HMENU settings = ::LoadMenuW(w.instance, kSettingsMenu);
  if (!bar || !settings) return;
  for (int i = 0; i < ::GetMenuItemCount(settings); ++i) {
    wchar_t title[64] = {};
    ::GetMenuStringW(settings, UINT(i), title, 64, MF_BYPOSITION);
    ::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(::GetSubMenu(settings, i)),
                  title);
  }
  ::DrawMenuBar(w.hwnd);
}

bool Repeat(LPARAM lParam) {
  return lParam & (1 << 30);
}

LRESULT Forward(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow& w = Main();
  if (!w.proc) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  LPARAM outer = w.lParam;
  w.lParam = lParam;
  LRESULT r = w.proc(message, uint32_t(wParam), int32_t(lParam));
  w.lParam = outer;
  return r;
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow& w = Main();
  switch (message) {
    case WM_KEYDOWN:
      // AltGr, which European keyboards need for some characters, is Ctrl+Alt to Windows and
      // comes as a plain key: with Alt down it is no window key.
      if (wParam < 256 &&
          WindowKey(uint32_t(wParam), ::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_MENU) < 0,
                    ::GetKeyState(VK_SHIFT) < 0, Repeat(lParam))) {
        g_windowKeysDown.set(wParam);
        return 0;
      }
      return Forward(hwnd, message, wParam, lParam);
    case WM_KEYUP:
      if (wParam < 256 && g_windowKeysDown.test(wParam)) {
        g_windowKeysDown.reset(wParam);
        return 0;
      }
      return Forward(hwnd, message, wParam, lParam);
    case WM_SYSKEYDOWN:
      if (wParam == VK_RETURN && (lParam & (1 << 29))) {
        WindowKey(kKeyReturn, false, true, ::GetKeyState(VK_SHIFT) < 0, Repeat(lParam));
        g_swallowAltUp = true;
        return 0;
      }
      break;
    case WM_SYSKEYUP:
      if (wParam == VK_MENU && g_swallowAltUp) {
        g_swallowAltUp = false;
        return 0;
      }
      break;
    case WM_SYSCHAR:
      if (wParam == VK_RETURN) return 0;  // Alt+Enter's character: no menu, no beep
      break;
    case WM_TIMER: {
      LRESULT r = Forward(hwnd, message, wParam, lParam);
      AfterTimerTick();
      return r;
    }
    case WM_COMMAND:
      // The 設定 menu's commands are the window's own: the game never sees them.
      if (SettingsCommand(uint32_t(wParam))) return 0;
      return Forward(hwnd, message, wParam, lParam);
    case WM_PAINT:
    case WM_ACTIVATEAPP:
    case WM_CLOSE:
    case WM_DESTROY:
      return Forward(hwnd, message, wParam, lParam);
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
      w.inMenu = message == WM_ENTERMENULOOP;
      break;
    case WM_DPICHANGED: {
      if (w.fullscreen) break;
      // Another density: the window goes where Windows suggests (on the screen it now
      // belongs to), then takes the player's scale, or the start rule's there.
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      w.screenScale = StartScale(float(HIWORD(wParam)), w.clientWidth, w.clientHeight, 0, 0);
      ApplyScale(CurrentSettings().scale);
      return 0;
    }
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

bool NoWindow() {
  std::string reason = win32::LastErrorText();
  SayNoWindow(reason);
  win32::ShowStopBox(L"ゲームのウィンドウを開けませんでした。", reason);
  return false;
}

}  // namespace

namespace win32 {

Settings ApplySettings(const Settings& wanted, const Settings& before) {
  MainWindow& w = Main();
  if (!w.hwnd) return wanted;
  const int32_t strip = CueStripHeight();
  if (strip != w.stripHeight || wanted.scale != before.scale) {
    w.stripHeight = strip;
    ApplyScale(wanted.scale);
  }
  if (wanted.fullscreen != w.fullscreen) ToggleFullscreen();
  ShowChecks(wanted);
  return wanted;
}

void StripChanged() {
  MainWindow& w = Main();
  if (!w.hwnd || w.stripHeight == 0) return;
  Rect on = FrameToTarget(w.placement,
                          {0, w.clientHeight, w.clientWidth, w.clientHeight + w.stripHeight});
  RECT r{on.left, on.top, on.right, on.bottom};
  ::InvalidateRect(w.hwnd, &r, FALSE);
}

}  // namespace win32

bool CreateMainWindow(const WindowDesc& desc) {
  MainWindow& w = Main();
  if (w.hwnd || !desc.proc || desc.clientWidth <= 0 || desc.clientHeight <= 0) return false;
  w.instance = ::GetModuleHandleW(nullptr);
  std::wstring className = Wide(desc.className, CP_ACP);
  std::wstring menuName = Wide(desc.menuName, CP_ACP);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProcedure;
  wc.hInstance = w.instance;
  wc.hIcon = ::LoadIconW(w.instance, kIconName);
  wc.hIconSm = static_cast<HICON>(::LoadImageW(w.instance, kIconName, IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  wc.lpszMenuName = desc.menuName ? menuName.c_str() : nullptr;
  wc.lpszClassName = className.c_str();
  if (!::RegisterClassExW(&wc)) return NoWindow();
  w.proc = desc.proc;
  w.clientWidth = desc.clientWidth;
  w.clientHeight = desc.clientHeight;
  RECT r{0, 0, desc.clientWidth, desc.clientHeight};
  ::AdjustWindowRectEx(&r, kWindowStyle, desc.menuName != nullptr, 0);
  w.hwnd = ::CreateWindowExW(0, className.c_str(), Wide(desc.title, 932).c_str(), kWindowStyle,
                             CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top,
                             nullptr, nullptr, w.instance, nullptr);
  if (!w.hwnd) {
    w.proc = nullptr;
    return NoWindow();
  }
  AppendSettingsMenu();
  ShowChecks(CurrentSettings());
  w.stripHeight = CueStripHeight();
  // On a dense screen the window starts as large as it would look at 96 dpi, if it fits,
  // unless the player chose a scale.
  w.screenScale = StartScale(WindowDpi(w.hwnd), w.clientWidth, w.clientHeight, 0, 0);
  ApplyScale(CurrentSettings().scale);
  win32::StartPads();
  return true;
}

void ShowMainWindow() {
  MainWindow& w = Main();
  if (!w.hwnd) return;
  ::ShowWindow(w.hwnd, SW_SHOWNORMAL);
  if (CurrentSettings().fullscreen) ToggleFullscreen();  // as the player left it
  ::InvalidateRect(w.hwnd, nullptr, TRUE);
}

void DestroyMainWindow() {
  MainWindow& w = Main();
  if (!w.hwnd) return;
  win32::StopPads();
  ::DestroyWindow(w.hwnd);  // WM_DESTROY reaches the game's procedure on the way
  w.hwnd = nullptr;
  w.proc = nullptr;
}

}  // namespace quillorn::platform
