#include "platform/sdl/x_errors.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace quillorn::platform::sdl {

namespace {

XErrorHandler g_before = nullptr;

int OnXError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  return g_before ? g_before(display, error) : 0;
}

}  // namespace

void LetGoneWindowWakeUpsPass() {
  XErrorHandler before = XSetErrorHandler(OnXError);
  if (before != OnXError) g_before = before;
}

}  // namespace quillorn::platform::sdl
