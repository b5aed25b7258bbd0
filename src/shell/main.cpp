#include "shell/win_main.h"

int main() {
  return quillorn::WinMain();
}
