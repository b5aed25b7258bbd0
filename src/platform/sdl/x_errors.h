// X errors that the SDL window can meet on its way out and that must not end the program.
#pragma once

namespace quillorn::platform::sdl {

// SDL wakes its own wait for events by sending an event to the window over a second X
// connection. One sent just before the window goes can reach a busy X server after the
// window has gone: the server then answers BadWindow, and Xlib's default handler would end
// the program with code 1 as it closes. That error alone is let pass; every other goes to
// the handler that was in place before (SDL's, then Xlib's).
void LetGoneWindowWakeUpsPass();

}  // namespace quillorn::platform::sdl
