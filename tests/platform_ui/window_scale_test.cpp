// Whole-number window scales: the start scale from the screen's density and the room the
// screen has, where the frame goes in fullscreen, and the mouse's way back.
#include "platform/window/window_scale.h"

#include <gtest/gtest.h>

namespace quillorn::platform {
namespace {

constexpr int32_t kW = 480, kH = 532;  // a 20-pixel menu bar over 480 x 512

TEST(WindowScale, StartsAtTheDensitysScaleThatTheUsableAreaHasRoomFor) {
  // dpi, usable width and height, scale; a scale asked for (-1: none), usable area, scale.
  const float start[][4] = {{0, 3840, 2160, 1},   {-1, 3840, 2160, 1},     {143.9f, 3840, 2160, 1},
                            {144, 3840, 2160, 2}, {239.9f, 3840, 2160, 2}, {240, 3840, 2160, 3},
                            {400, 3840, 2160, 3}, {288, 1920, 1063, 1},    {288, 1920, 1064, 2},
                            {288, 1439, 2000, 2}, {288, 1440, 1596, 3},    {192, 0, 0, 2}};
  for (auto [dpi, w, h, scale] : start)
    EXPECT_EQ(StartScale(dpi, kW, kH, int32_t(w), int32_t(h)), scale) << dpi << " " << w;
  const int32_t fits[][4] = {
      {3, 1920, 1080, 2}, {2, 1366, 728, 1}, {2, 100, 100, 1}, {9, 0, 0, 3}, {0, 0, 0, 1}};
  for (auto [asked, w, h, scale] : fits)
    EXPECT_EQ(WindowScaleThatFits(asked, kW, kH, w, h), scale) << asked << " " << w;
}

TEST(WindowScale, FullscreenCentresTheFrameAtTheLargestWholeScaleAndTheMouseMapsBack) {
  // Frame, screen, then scale and place; the last three frames are tiny or empty.
  const int32_t cases[][7] = {{kW, kH, 480, 532, 1, 0, 0},      {kW, kH, 1440, 1596, 3, 0, 0},
                              {kW, kH, 1920, 1080, 2, 480, 8},  {kW, kH, 1366, 768, 1, 443, 118},
                              {kW, kH, 3840, 2160, 4, 960, 16}, {kW, kH, 400, 300, 1, 0, 0},
                              {10, 1, 40, 40, 4, 0, 18},        {0, 10, 40, 40, 1, 20, 15}};
  for (auto [fw, fh, w, h, scale, left, top] : cases) {
    FramePlacement p = PlaceFrame(fw, fh, w, h);
    EXPECT_EQ(std::tuple(p.scale, p.left, p.top), std::tuple(scale, left, top)) << w << "x" << h;
  }
  const FramePlacement p{2, 480, 8};  // 2x on 1920 x 1080; screen point, frame point
  const int32_t mouse[][4] = {{480, 8, 0, 0},       {481, 9, 0, 0},   {1439, 1071, kW - 1, kH - 1},
                              {1440, 1072, kW, kH}, {479, 7, -1, -1}, {0, 0, -240, -4}};
  for (auto [x, y, fx, fy] : mouse) {
    int32_t gx, gy;
    TargetToFrame(p, x, y, gx, gy);
    EXPECT_EQ(std::pair(gx, gy), std::pair(fx, fy)) << x << "," << y;
  }
}

}  // namespace
}  // namespace quillorn::platform
