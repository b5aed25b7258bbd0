// Starts a program on the current X display and prints the milliseconds from its exec to
// the moment its window named "Quillorn" first shows the title: the pixel at (x, y) of the
// window is no longer black. Then prints the program's process id and leaves it running.
// Usage: first_frame X Y PROGRAM [ARGS...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

double NowMs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

bool Named(Display* d, Window w) {
  char* name = nullptr;
  bool ok = XFetchName(d, w, &name) && name && std::strcmp(name, "Quillorn") == 0;
  if (name) XFree(name);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: first_frame X Y PROGRAM [ARGS...]\n");
    return 2;
  }
  const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
  XSync(d, False);
  const double start = NowMs();
  pid_t pid = fork();
  if (pid == 0) {
    execv(argv[3], argv + 3);
    _exit(127);
  }
  Window window = 0;
  while (!window) {  // the window appears when it is mapped
    XEvent e;
    XNextEvent(d, &e);
    if (e.type == MapNotify && Named(d, e.xmap.window)) window = e.xmap.window;
    if (NowMs() - start > 20000) return 1;
  }
  const double mapped = NowMs();
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  for (;;) {
    XImage* image = XGetImage(d, window, x, y, 1, 1, AllPlanes, ZPixmap);
    unsigned long pixel = image ? XGetPixel(image, 0, 0) : 0;
    if (image) XDestroyImage(image);
    if ((pixel & 0xFFFFFF) != 0) break;
    if (NowMs() - start > 20000) return 1;
    usleep(500);
  }
  std::printf("%.0f %.0f %d\n", NowMs() - start, mapped - start, int(pid));
  return 0;
}
