// The frame of the castle: the room picture, the visible actors from back to front, and the
// hearts bar.
#include "gameplay/actors.h"
#include "gameplay/play.h"
#include "graphics/graphics.h"

namespace quillorn {

namespace {

constexpr int32_t kShadowX = 0, kShadowY = 480;
constexpr int32_t kEmptyHeartX = 32, kFullHeartX = 64, kHeartY = 480;
constexpr int32_t kHeartCount = 12;
constexpr int32_t kHeartsBarX = 44, kHeartsBarY = 456;

void DrawActor(const Actor& a) {
  DrawSpriteToBack(a.pixelX, a.pixelY, 32, 32, kShadowX, kShadowY);
  // The body stands 4 pixels above its shadow.
  DrawSpriteToBack(a.pixelX, a.pixelY - 4, 32, 32, 32 * (2 * a.direction + a.animFrame),
                   32 * (a.type + 6));
}

}  // namespace

void ComposeFrame() {
  CopyRoomToBack();

  // Back to front by pixelY; equal pixelY in record order, the king first.
  int32_t order[kActorCount];
  int32_t count = 0;
  for (int32_t i = 0; i < kActorCount; ++i) {
    if (!actors[i].present || !actors[i].visible) continue;
    int32_t at = count++;
    while (at > 0 && actors[order[at - 1]].pixelY > actors[i].pixelY) {
      order[at] = order[at - 1];
      --at;
    }
    order[at] = i;
  }
  for (int32_t i = 0; i < count; ++i) DrawActor(actors[order[i]]);

  if (showHearts) {
    // hearts / 10, rounded up, full hearts.
    for (int32_t i = 0; i < kHeartCount; ++i) {
      int32_t sx = hearts > 10 * i ? kFullHeartX : kEmptyHeartX;
      DrawSpriteToBack(kHeartsBarX + 32 * i, kHeartsBarY, 32, 32, sx, kHeartY);
    }
  }
}

}  // namespace quillorn
