// The window's and the dialogs' icons from the embedded ICON resources.
#include "platform/resources/icon_image.h"

namespace quillorn::platform {

bool LoadIcon(const char* name, int32_t size, IconImage& out) {
  Resource res;
  return name && FindResource("ICON", name, res) && DecodeIcon(res, size, out);
}

}  // namespace quillorn::platform
