#include "platform/settings/settings.h"
#include "shell/win_main.h"

int main(int argc, char** argv) {
  // The player's settings and this run's flags come first: --help and a bad flag end here.
  if (int code = quillorn::platform::StartSettings(argc, argv); code >= 0) return code;
  return quillorn::WinMain();
}
