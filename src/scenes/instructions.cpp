// The instructions page: three hints typed out at once, each under one, two or three hearts,
// on a field of the message box's own fill. A confirm key returns to the title.
#include "scenes/instructions.h"

#include "graphics/graphics.h"
#include "platform/platform.h"
#include "scenes/title_screen.h"
#include "script/message_box.h"
#include "shell/scene_handlers.h"

namespace quillorn {

namespace {

struct Hint {
  const char* text;
  int32_t boxY;
};

constexpr Hint kHints[3] = {
    {"見えない敵にぶつからないように移動して下さい", 72},
    {"「秘密の部屋」にたどりついたらエンディングです", 216},
    {"花の匂いをかぐと、体力が回復します", 360},
};

}  // namespace

void StartInstructions() {
  ClearSceneHandlers();
  for (int32_t y = 0; y < 512; y += 32)
    for (int32_t x = 0; x < 480; x += 32) CopySheetToBack(x, y, 32, 32, 96, 480);
  // Typed whole, without voices and without waiting.
  for (const Hint& hint : kHints) {
    OpenMessageBox(hint.text, 16, hint.boxY);
    while (TypeNextCharacter()) {
    }
  }
  for (int32_t n = 1; n <= 3; ++n)
    for (int32_t i = 0; i < n; ++i)
      DrawSpriteToBack(32 + 32 * i, 44 + 144 * (n - 1), 32, 32, 64, 480);
  platform::InvalidateRect(nullptr);
  sceneHandlers.confirmKeyHandler = ShowTitleScreen;
}

}  // namespace quillorn
