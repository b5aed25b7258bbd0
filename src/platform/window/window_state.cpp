// The window, its message queue, timers, invalid region and picture, shared by the SDL,
// web and headless backends. The backend supplies the clock, the waiting and the showing.
#include "platform/window/window_state.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/backend.h"
#include "platform/window/after_tick.h"
#include "platform/window/report.h"

namespace quillorn::platform {

namespace {

WindowState g_window;
TraceHook g_trace = nullptr;

bool ClipToClient(Rect& r) {
  const WindowState& w = g_window;
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, w.desc.clientWidth);
  r.bottom = std::min(r.bottom, w.desc.clientHeight);
  return !RectEmpty(r);
}

Rect Union(const Rect& a, const Rect& b) {
  if (RectEmpty(a)) return b;
  if (RectEmpty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// Signed difference of two wrapping clock values.
int32_t Until(uint32_t due, uint32_t now) {
  return int32_t(due - now);
}

}  // namespace

WindowState& Window() {
  return g_window;
}

void SetTraceHook(TraceHook hook) {
  g_trace = hook;
}

void Trace(const char* event) {
  if (g_trace) g_trace(event);
}

bool RectEmpty(const Rect& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

void ResetWindowState() {
  g_window = WindowState();
}

void PostInput(const Message& msg) {
  if (g_window.exists) g_window.posted.push_back(msg);
}

bool TakeMessage(uint32_t now, Message& out) {
  WindowState& w = g_window;
  if (!w.posted.empty()) {
    out = w.posted.front();
    w.posted.pop_front();
    return true;
  }
  if (w.quitPosted) {
    w.quitPosted = false;
    out = {kMsgQuit, uint32_t(w.quitCode), 0};
    return true;
  }
  if (w.exists && !RectEmpty(w.invalidBounds)) {
    out = {kMsgPaint, 0, 0};
    return true;
  }
  for (Timer& t : w.timers) {
    if (Until(t.due, now) <= 0) {
      // No backlog: after a stall the next tick is one interval from now.
      t.due += t.interval;
      if (Until(t.due, now) <= 0) t.due = now + t.interval;
      out = {kMsgTimer, t.id, 0};
      return true;
    }
  }
  return false;
}

int32_t MillisecondsToNextTimer(uint32_t now) {
  int32_t best = -1;
  for (const Timer& t : g_window.timers) {
    int32_t wait = std::max(Until(t.due, now), 0);
    if (best < 0 || wait < best) best = wait;
  }
  return best;
}

bool CreateMainWindow(const WindowDesc& desc) {
  if (g_window.exists || desc.proc == nullptr || desc.clientWidth <= 0 || desc.clientHeight <= 0)
    return false;
  WindowState& w = g_window;
  w.desc = desc;
  w.picture = MakeSurface(desc.clientWidth, desc.clientHeight);
  w.invalid.assign(size_t(desc.clientWidth) * size_t(desc.clientHeight), 0);
  w.painting = w.invalid;
  w.invalidBounds = {};
  if (!backend::CreateWindow(desc)) {
    ResetWindowState();
    return false;
  }
  w.exists = true;
  Trace("create-window");
  return true;
}

void ShowMainWindow() {
  if (!g_window.exists || g_window.shown) return;
  g_window.shown = true;
  Trace("show-window");
  backend::ShowWindow();
  InvalidateRect(nullptr);
}

void DestroyMainWindow() {
  WindowState& w = g_window;
  if (!w.exists) return;
  WindowProc proc = w.desc.proc;
  Trace("destroy-window");
  proc(kMsgDestroy, 0, 0);
  backend::DestroyWindow();
  w.exists = false;
  w.shown = false;
  w.posted.clear();
  w.invalidBounds = {};
}

bool SetTimer(uint32_t id, uint32_t intervalMs) {
  if (!g_window.exists) return false;
  if (int error = Fault("timer")) {
    SayNoTimer(std::strerror(error));
    return false;
  }
  Trace(("set-timer " + std::to_string(id) + " " + std::to_string(intervalMs)).c_str());
  uint32_t now = backend::Now();
  for (Timer& t : g_window.timers) {
    if (t.id == id) {
      t.interval = intervalMs;
      t.due = now + intervalMs;
      return true;
    }
  }
  g_window.timers.push_back({id, intervalMs, now + intervalMs});
  return true;
}

void KillTimer(uint32_t id) {
  Trace(("kill-timer " + std::to_string(id)).c_str());
  auto& timers = g_window.timers;
  timers.erase(
      std::remove_if(timers.begin(), timers.end(), [id](const Timer& t) { return t.id == id; }),
      timers.end());
}

bool PollMessage(Message& out) {
  backend::PollInput();
  return TakeMessage(backend::Now(), out);
}

void WaitingMessageLoop(LoopStep step) {
  while (step())
    if (!backend::WaitForInput(MillisecondsToNextTimer(backend::Now()))) return;
}

void DispatchMessage(const Message& msg) {
  WindowState& w = g_window;
  if (!w.exists) return;
  w.desc.proc(msg.type, msg.wParam, msg.lParam);
  if (msg.type == kMsgTimer) AfterTimerTick();
  // A paint that nobody answered must not come back at once, forever.
  if (msg.type == kMsgPaint && w.exists && !RectEmpty(w.invalidBounds)) {
    BeginPaint();
    EndPaint();
  }
}

void PostMessage(uint32_t type, uint32_t wParam, int32_t lParam) {
  if (g_window.exists) g_window.posted.push_back({type, wParam, lParam});
}

void PostQuitMessage(int32_t exitCode) {
  Trace(("quit " + std::to_string(exitCode)).c_str());
  g_window.quitPosted = true;
  g_window.quitCode = exitCode;
}

int32_t DefWindowProc(uint32_t type, uint32_t, int32_t) {
  if (type == kMsgClose) DestroyMainWindow();
  if (type == kMsgPaint) {
    BeginPaint();
    EndPaint();
  }
  return 0;
}

void InvalidateRect(const Rect* rect) {
  WindowState& w = g_window;
  if (!w.exists) return;
  Rect r = rect ? *rect : Rect{0, 0, w.desc.clientWidth, w.desc.clientHeight};
  if (!ClipToClient(r)) return;
  for (int32_t y = r.top; y < r.bottom; ++y) {
    uint8_t* row = w.invalid.data() + size_t(y) * size_t(w.desc.clientWidth);
    std::fill(row + r.left, row + r.right, uint8_t(1));
  }
  w.invalidBounds = Union(w.invalidBounds, r);
}

Rect BeginPaint() {
  WindowState& w = g_window;
  w.painting.swap(w.invalid);
  std::fill(w.invalid.begin(), w.invalid.end(), uint8_t(0));
  w.paintBounds = w.invalidBounds;
  w.invalidBounds = {};
  return w.paintBounds;
}

void PaintFromSurface(const Surface& src, int32_t srcX, int32_t srcY, int32_t width, int32_t height,
                      int32_t destX, int32_t destY) {
  WindowState& w = g_window;
  if (!w.exists) return;
  // Clip against the source, then against the region being painted.
  if (srcX < 0) {
    width += srcX;
    destX -= srcX;
    srcX = 0;
  }
  if (srcY < 0) {
    height += srcY;
    destY -= srcY;
    srcY = 0;
  }
  width = std::min(width, src.width - srcX);
  height = std::min(height, src.height - srcY);
  Rect r{destX, destY, destX + width, destY + height};
  r.left = std::max(r.left, w.paintBounds.left);
  r.top = std::max(r.top, w.paintBounds.top);
  r.right = std::min(r.right, w.paintBounds.right);
  r.bottom = std::min(r.bottom, w.paintBounds.bottom);
  if (RectEmpty(r)) return;
  const int32_t cw = w.desc.clientWidth;
  for (int32_t y = r.top; y < r.bottom; ++y) {
    const uint8_t* mask = w.painting.data() + size_t(y) * size_t(cw);
    Pixel* out = w.picture.Row(y);
    const Pixel* in = src.Row(y - destY + srcY) + (srcX - destX);
    for (int32_t x = r.left; x < r.right; ++x)
      if (mask[x]) out[x] = in[x];
  }
}

void EndPaint() {
  WindowState& w = g_window;
  if (!w.exists || RectEmpty(w.paintBounds)) return;
  backend::Present(w.picture, w.paintBounds);
}

uint32_t GetTickCount() {
  return backend::Now();
}

}  // namespace quillorn::platform
