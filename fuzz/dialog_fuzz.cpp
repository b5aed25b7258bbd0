// The DIALOG resource reader on arbitrary bytes, and the modal dialog opened from what it
// accepts: laid out over the window, drawn, clicked and closed with the keys.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_window.h"
#include "platform/chrome/dialog_box.h"
#include "platform/headless/headless.h"

namespace {

int32_t CloseOnCommand(uint32_t type, uint32_t, int32_t) {
  if (type != quillorn::platform::kMsgCommand) return 0;
  quillorn::platform::EndDialog(0);
  return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  using namespace quillorn;
  using namespace quillorn::platform;
  fuzz::OpenWindowOnce();
  DialogTemplate parsed;
  ParseDialog(Resource{bytes, size}, parsed);
  DialogReset();
  headless::OverrideResource("DIALOG", "FUZZ", std::vector<uint8_t>(bytes, bytes + size));
  OpenDialog("FUZZ", CloseOnCommand);
  Surface picture;
  Rect where;
  DialogDraw(picture, where);
  const DialogLayout layout = DialogCurrentLayout();
  for (size_t i = 0; i < layout.controls.size() && i < 4; ++i) {
    const Rect& r = layout.controls[i];
    DialogMouse(r.left, r.top, true);
    DialogDraw(picture, where);
    DialogMouse(r.left, r.top, false);
  }
  DialogKey(true, kKeyReturn);
  DialogKey(true, kKeyEscape);
  DialogReset();
  return 0;
}
