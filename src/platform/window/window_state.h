// The state of the one window that the SDL, web and headless backends share (Win32 has
// Windows' own): its description, the message queue, the invalid region, the timers and the
// picture the window shows.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/platform.h"
#include "platform/surface.h"

namespace quillorn::platform {

struct Timer {
  uint32_t id = 0;
  uint32_t interval = 0;
  uint32_t due = 0;  // clock value of the next tick
};

struct WindowState {
  bool exists = false;
  bool shown = false;
  WindowDesc desc;
  std::deque<Message> posted;
  bool quitPosted = false;
  int32_t quitCode = 0;
  std::vector<Timer> timers;
  // One flag per client pixel: the invalid region, kept exactly.
  std::vector<uint8_t> invalid;
  Rect invalidBounds;  // bounding box; empty when nothing is invalid
  // While painting: the region being painted.
  std::vector<uint8_t> painting;
  Rect paintBounds;
  Surface picture;  // the client area as the window shows it
};

WindowState& Window();

// Forgets everything: no window, no messages, no timers.
void ResetWindowState();

// Posts a message from the input side (key, activation, command).
void PostInput(const Message& msg);

// Takes the next message that is due at clock value now, by priority: posted and input
// messages, quit, paint, timer. False when nothing is due.
bool TakeMessage(uint32_t now, Message& out);

// Milliseconds until the next timer is due (0 if one is due now), or -1 without timers.
int32_t MillisecondsToNextTimer(uint32_t now);

bool RectEmpty(const Rect& r);

// RunMessageLoop for a backend that can wait: step, then wait for input or the next timer.
// It ends when step does, or when nothing can ever arrive.
void WaitingMessageLoop(LoopStep step);

// The window's life events (created, shown, timer set, ...) go to a hook when one is set,
// so that tests can check their order.
using TraceHook = void (*)(const char* event);
void SetTraceHook(TraceHook hook);
void Trace(const char* event);

}  // namespace quillorn::platform
