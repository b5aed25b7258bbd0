// Filled boxes of the menu bar and dialog look are clipped to the surface they are drawn
// into, also when they lie wholly beside it (a control placed outside its dialog).
#include "platform/chrome/ui_look.h"

#include <gtest/gtest.h>

namespace quillorn::platform {
namespace {

constexpr Pixel kGround = MakePixel(1, 2, 3);
constexpr Pixel kInk = MakePixel(200, 100, 50);

int CountInk(const Surface& s) {
  int n = 0;
  for (Pixel p : s.pixels) n += p == kInk;
  return n;
}

TEST(UiLook, FillBoxIsClippedToTheSurfaceOnEverySide) {
  struct Case {
    Rect box;
    int inked;
  };
  const Case cases[] = {
      {{2, 1, 5, 3}, 6},      // inside: 3 x 2
      {{-3, -3, 2, 2}, 4},    // over the top-left corner
      {{8, 4, 30, 20}, 4},    // over the bottom-right corner
      {{12, 0, 20, 6}, 0},    // wholly right of it
      {{-20, 0, -12, 6}, 0},  // wholly left of it
      {{0, 7, 10, 9}, 0},     // wholly below it
      {{0, -9, 10, -7}, 0},   // wholly above it
      {{5, 2, 3, 4}, 0},      // right before left
  };
  for (const Case& c : cases) {
    Surface s = MakeSurface(10, 6);
    std::fill(s.pixels.begin(), s.pixels.end(), kGround);
    FillBox(s, c.box, kInk);
    EXPECT_EQ(CountInk(s), c.inked)
        << c.box.left << "," << c.box.top << " to " << c.box.right << "," << c.box.bottom;
  }
}

TEST(UiLook, FrameBoxBesideTheSurfaceDrawsNothing) {
  Surface s = MakeSurface(10, 6);
  std::fill(s.pixels.begin(), s.pixels.end(), kGround);
  FrameBox(s, {40, 1, 60, 5}, kInk);
  FrameBox(s, {-60, 1, -40, 5}, kInk);
  EXPECT_EQ(CountInk(s), 0);
  FrameBox(s, {0, 0, 10, 6}, kInk);
  EXPECT_EQ(CountInk(s), 2 * 10 + 2 * 4);
}

}  // namespace
}  // namespace quillorn::platform
