// The sprite sheet loader on arbitrary bytes given as the "PAT" resource: InitGraphics reads
// it, and drawing from whatever sheet came out must stay inside every surface.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/graphics.h"
#include "platform/headless/headless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  using namespace quillorn;
  headless::Reset();
  headless::OverrideResource("BITMAP", "PAT", std::vector<uint8_t>(bytes, bytes + size));
  InitGraphics();
  // The places the game draws from: a tile, a masked actor, a heart, the black corner,
  // the far corner of the sheet, and doubled text through the scratch strip.
  CopySheetToBack(0, 0, 32, 32, 608, 160);
  DrawSpriteToBack(100, 100, 32, 32, 224, 448);
  DrawSpriteToBack(44, 456, 32, 32, 64, 480);
  DrawSheetToRoom(448, 480, 32, 32, 96, 512, 1);
  CopySheetToBack(300, 400, 160, 128, 480, 576);
  CopyRoomToBack();
  DrawTextDoubled(36, 354, "A");
  FreeGraphics();
  return 0;
}
