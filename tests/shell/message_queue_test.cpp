// The window's message queue: what comes first, and what the invalid region lets through.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/surface.h"

namespace quillorn {
namespace {

using namespace platform;

std::vector<std::string> seen;

int32_t RecordingProc(uint32_t type, uint32_t wParam, int32_t lParam) {
  if (type == kMsgPaint) {
    seen.push_back("paint");
    return DefWindowProc(type, wParam, lParam);
  }
  if (type == kMsgTimer) seen.push_back("tick");
  if (type == kMsgKeyDown) seen.push_back("key");
  if (type == kMsgCommand) seen.push_back("command");
  return DefWindowProc(type, wParam, lParam);
}

void OpenWindow() {
  headless::Reset(0);
  seen.clear();
  WindowDesc d;
  d.className = d.title = "queue-test";
  d.clientWidth = 64;
  d.clientHeight = 48;
  d.proc = RecordingProc;
  ASSERT_TRUE(CreateMainWindow(d));
  SetTimer(1, 54);
}

TEST(MessageQueue, InputFirstThenPaintThenTheTick) {
  OpenWindow();
  headless::AdvanceClock(54);  // the tick is due
  InvalidateRect(nullptr);
  headless::Command(7);
  headless::KeyDown(65);
  headless::Pump();
  EXPECT_EQ(seen, (std::vector<std::string>{"command", "key", "paint", "tick"}));
}

TEST(MessageQueue, PaintCopiesExactlyTheInvalidRegionNotItsBoundingBox) {
  OpenWindow();
  Rect a{0, 0, 8, 8}, b{40, 30, 64, 48};
  InvalidateRect(&a);
  InvalidateRect(&b);
  Surface white = MakeSurface(64, 48);
  for (Pixel& p : white.pixels) p = kWhite;
  Rect bounds = BeginPaint();
  EXPECT_EQ(bounds.left, 0);
  EXPECT_EQ(bounds.top, 0);
  EXPECT_EQ(bounds.right, 64);
  EXPECT_EQ(bounds.bottom, 48);
  PaintFromSurface(white, 0, 0, 64, 48, 0, 0);
  EndPaint();
  const Surface& pic = headless::WindowPicture();
  for (int32_t y = 0; y < 48; ++y)
    for (int32_t x = 0; x < 64; ++x) {
      bool inside = (x < 8 && y < 8) || (x >= 40 && y >= 30);
      ASSERT_EQ(pic.Row(y)[x], inside ? kWhite : kBlack) << x << "," << y;
    }
  // The region is empty again: nothing asks to be painted.
  headless::Pump();
  EXPECT_TRUE(seen.empty());
}

TEST(MessageQueue, InvalidationOutsideTheClientAreaIsClipped) {
  OpenWindow();
  Rect off{-20, -20, 0, 100}, edge{60, 44, 200, 200};
  InvalidateRect(&off);
  headless::Pump();
  EXPECT_TRUE(seen.empty());
  InvalidateRect(&edge);
  Rect bounds = BeginPaint();
  EXPECT_EQ(bounds.left, 60);
  EXPECT_EQ(bounds.top, 44);
  EXPECT_EQ(bounds.right, 64);
  EXPECT_EQ(bounds.bottom, 48);
  EndPaint();
}

TEST(MessageQueue, TheTickCountWrapsAndTimersKeepTheirPace) {
  OpenWindow();
  headless::SetClock(0xFFFFFFF0u);
  SetTimer(1, 54);  // due 38 ms after the wrap
  headless::AdvanceClock(53);
  headless::Pump();
  EXPECT_TRUE(seen.empty());
  headless::AdvanceClock(1);
  headless::Pump();
  EXPECT_EQ(seen, (std::vector<std::string>{"tick"}));
  EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u + 54u);
}

}  // namespace
}  // namespace quillorn
