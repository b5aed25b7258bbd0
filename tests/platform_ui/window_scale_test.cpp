// Whole-number window scales: the start scale from the screen's density, the scale the
// screen has room for, where the frame goes in fullscreen, the mouse's way back, and the
// nearest-neighbour enlargement itself.
#include "platform/window/window_scale.h"

#include <gtest/gtest.h>

#include "platform/surface.h"

namespace quillorn::platform {
namespace {

constexpr int32_t kW = 480, kH = 532;  // the frame: a 20-pixel menu bar over 480 x 512

TEST(WindowScale, StartsAtTheScaleThatKeepsTheSizeOfA96DpiScreen) {
  struct Case {
    float dpi;
    int32_t scale;
  };
  const Case cases[] = {{0.0f, 1},   {-1.0f, 1},  {72.0f, 1},  {96.0f, 1},
                        {120.0f, 1}, {143.9f, 1}, {144.0f, 2}, {192.0f, 2},
                        {239.9f, 2}, {240.0f, 3}, {288.0f, 3}, {400.0f, 3}};
  for (const Case& c : cases)
    EXPECT_EQ(StartScale(c.dpi, kW, kH, 3840, 2160), c.scale) << c.dpi << " dpi";
}

TEST(WindowScale, NeverStartsOrGrowsBeyondTheUsableArea) {
  EXPECT_EQ(StartScale(288.0f, kW, kH, 1920, 1040), 1);  // 2x needs 1064 rows
  EXPECT_EQ(StartScale(288.0f, kW, kH, 1920, 1064), 2);
  EXPECT_EQ(StartScale(288.0f, kW, kH, 1439, 2000), 2);  // 3x needs 1440 columns
  EXPECT_EQ(StartScale(288.0f, kW, kH, 1440, 1596), 3);
  EXPECT_EQ(StartScale(192.0f, kW, kH, 0, 0), 2);  // area unknown
  EXPECT_EQ(WindowScaleThatFits(3, kW, kH, 1920, 1080), 2);
  EXPECT_EQ(WindowScaleThatFits(2, kW, kH, 1366, 728), 1);
  EXPECT_EQ(WindowScaleThatFits(2, kW, kH, 100, 100), 1);  // never below 1
  EXPECT_EQ(WindowScaleThatFits(9, kW, kH, 0, 0), 3);      // never above 3
  EXPECT_EQ(WindowScaleThatFits(0, kW, kH, 0, 0), 1);
}

TEST(WindowScale, FullscreenPlacesTheFrameCentredAtTheLargestWholeScale) {
  struct Case {
    int32_t width, height, scale, left, top;
  };
  const Case cases[] = {
      {480, 532, 1, 0, 0},      {960, 1064, 2, 0, 0},     {1440, 1596, 3, 0, 0},
      {1920, 1080, 2, 480, 8},  {1366, 768, 1, 443, 118}, {3840, 2160, 4, 960, 16},
      {1024, 768, 1, 272, 118}, {2560, 1600, 3, 560, 2},  {400, 300, 1, 0, 0},
  };
  for (const Case& c : cases) {
    FramePlacement p = PlaceFrame(kW, kH, c.width, c.height);
    EXPECT_EQ(p.scale, c.scale) << c.width << "x" << c.height;
    EXPECT_EQ(p.left, c.left) << c.width << "x" << c.height;
    EXPECT_EQ(p.top, c.top) << c.width << "x" << c.height;
  }
}

TEST(WindowScale, MouseMapsBackToTheFramePixelUnderIt) {
  FramePlacement p{2, 480, 8};  // 2x on 1920 x 1080
  int32_t x, y;
  TargetToFrame(p, 480, 8, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  TargetToFrame(p, 481, 9, x, y);  // the same frame pixel
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  TargetToFrame(p, 1439, 1071, x, y);
  EXPECT_EQ(x, kW - 1);
  EXPECT_EQ(y, kH - 1);
  TargetToFrame(p, 1440, 1072, x, y);
  EXPECT_EQ(x, kW);
  EXPECT_EQ(y, kH);
  TargetToFrame(p, 479, 7, x, y);  // the border left of and above the frame
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, -1);
  TargetToFrame(p, 0, 0, x, y);
  EXPECT_EQ(x, -240);
  EXPECT_EQ(y, -4);
  Rect r = FrameToTarget(p, {10, 20, 30, 50});
  EXPECT_EQ(r.left, 500);
  EXPECT_EQ(r.top, 48);
  EXPECT_EQ(r.right, 540);
  EXPECT_EQ(r.bottom, 108);
}

TEST(WindowScale, ScaleUpRepeatsEachPixelIntoABlockOnlyInsideTheArea) {
  Surface src = MakeSurface(5, 4);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 5; ++x) src.Row(y)[x] = MakePixel(uint8_t(x * 50), uint8_t(y * 60), 7);
  for (int32_t k = 1; k <= 3; ++k) {
    Surface dest = MakeSurface(5 * k, 4 * k);
    const Pixel untouched = MakePixel(1, 2, 3);
    dest.pixels.assign(dest.pixels.size(), untouched);
    ScaleUp(src, {1, 1, 4, 3}, k, dest);
    for (int32_t y = 0; y < 4 * k; ++y)
      for (int32_t x = 0; x < 5 * k; ++x) {
        bool inside = x >= k && x < 4 * k && y >= k && y < 3 * k;
        Pixel want = inside ? src.Row(y / k)[x / k] : untouched;
        ASSERT_EQ(dest.Row(y)[x], want) << "scale " << k << " at " << x << "," << y;
      }
  }
  // An area reaching outside the source is cut to it.
  Surface dest = MakeSurface(10, 8);
  ScaleUp(src, {-3, -3, 99, 99}, 2, dest);
  EXPECT_EQ(dest.Row(7)[9], src.Row(3)[4]);
  EXPECT_EQ(dest.Row(0)[0], src.Row(0)[0]);
}

}  // namespace
}  // namespace quillorn::platform
