// A headless window and the graphics objects made from the test sheet.
#pragma once

#include <gtest/gtest.h>

#include "graphics/graphics.h"
#include "graphics/test_sheet.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace quillorn::test {

inline int32_t QuietWindowProc(uint32_t type, uint32_t wParam, int32_t lParam) {
  return platform::DefWindowProc(type, wParam, lParam);
}

inline void OpenTestWindow(int32_t width = kFrameWidth, int32_t height = kFrameHeight) {
  platform::WindowDesc desc;
  desc.className = "QuillornGraphicsTest";
  desc.title = "graphics";
  desc.clientWidth = width;
  desc.clientHeight = height;
  desc.proc = QuietWindowProc;
  ASSERT_TRUE(platform::CreateMainWindow(desc));
}

// Fills a surface with a colour that depends on the place, never black or white.
inline platform::Pixel BackgroundAt(int32_t x, int32_t y) {
  return platform::MakePixel(uint8_t(40 + x % 100), uint8_t(30 + y % 150), 77);
}
inline void PaintBackground(platform::Surface& s) {
  for (int32_t y = 0; y < s.height; ++y)
    for (int32_t x = 0; x < s.width; ++x) s.Row(y)[x] = BackgroundAt(x, y);
}

class GraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    OpenTestWindow();
    headless::OverrideResource("BITMAP", "PAT", MakeTestSheet());
    ASSERT_EQ(InitGraphics(), 1);
  }
  void TearDown() override { FreeGraphics(); }
};

}  // namespace quillorn::test
