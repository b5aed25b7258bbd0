// A Windows tool for the tests: posts WM_COMMAND with the given id to the game's window, as
// a menu would, for the commands that no menu of the window names (the staff roll).
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  HWND window = FindWindowW(L"Quillorn", nullptr);
  if (argc != 2 || !window) return 1;
  return PostMessageW(window, WM_COMMAND, WPARAM(std::atoi(argv[1])), 0) ? 0 : 1;
}
