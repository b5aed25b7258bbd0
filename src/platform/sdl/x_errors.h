// X errors that the SDL window can meet on its way out and that must not end the program.
#pragma once

namespace quillorn::platform::sdl {

// SDL wakes its own wait for events by sending an event to the window over a second X
// connection. One sent just before the window goes can reach a busy X server after the
// window has gone: the server then answers BadWindow, and Xlib's default handler would end
// the program with code 1 as it closes. That error alone is let pass; every other goes to
// the handler that was in place before (Xlib's). Called before SDL's video starts, since SDL
// keeps the handler it finds and puts it back when it ends, before it closes its connections.
void LetGoneWindowWakeUpsPass();

}  // namespace quillorn::platform::sdl
