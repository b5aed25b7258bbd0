// Placeholder until the surfaces and the sprite sheet land; removed with them.
#include "graphics/graphics.h"

namespace quillorn {

int InitGraphics() { return 0; }
void FreeGraphics() {}
void ClearBackBuffer() {}
void PaintWindow() {}

}  // namespace quillorn
