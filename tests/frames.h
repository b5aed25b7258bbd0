// The whole window's frame as the headless game stands, composed here from its parts (not by
// the backends' own composing code); pictures as a real window shows them, each pixel
// repeated k times at a place on black; and the pulse that a frame's beep strip shows.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/cues/cue_strip.h"
#include "platform/headless/headless.h"
#include "platform/surface.h"

namespace quillorn::test {

// The menu bar over the client picture, the beep strip below it while it is shown, and any
// open drop-down, submenu or dialog on top.
inline platform::Surface ComposedFrame() {
  const int32_t bar = platform::MenuBarHeight(), strip = platform::CueStripHeight();
  const platform::Surface& client = headless::WindowPicture();
  platform::Surface frame = platform::MakeSurface(client.width, client.height + bar + strip), part;
  const auto put = [&](const platform::Surface& s, int32_t x0, int32_t y0) {
    for (int32_t y = 0; y < s.height; ++y)
      std::copy(s.Row(y), s.Row(y) + s.width, frame.Row(y + y0) + x0);
  };
  put(client, 0, bar);
  part = platform::MakeSurface(frame.width, strip);
  if (strip) platform::DrawCueStrip(part), put(part, 0, bar + client.height);
  platform::Rect where;
  if (platform::MenuBarDrawDropDown(part, where)) put(part, where.left, where.top);
  if (platform::MenuBarDrawSubmenu(part, where)) put(part, where.left, where.top);
  if (platform::DialogDraw(part, where)) put(part, where.left, where.top + bar);
  part = platform::MakeSurface(frame.width, bar);
  platform::MenuBarDraw(part);
  put(part, 0, 0);
  return frame;
}

// A picture as 0xRRGGBB words, row by row.
struct Shot {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
};

// The surface with each pixel repeated k times, at (left, top) of a black picture.
inline Shot Placed(const platform::Surface& s, int k, int width, int height, int left = 0,
                   int top = 0) {
  Shot out{width, height, std::vector<uint32_t>(size_t(width) * size_t(height), 0)};
  for (int y = 0; y < s.height * k; ++y)
    for (int x = 0; x < s.width * k; ++x)
      out.rgb[size_t(y + top) * size_t(width) + size_t(x + left)] = s.Row(y / k)[x / k] & 0xFFFFFFu;
  return out;
}

// Pixels that differ; more than all of them when the sizes differ.
inline long Differences(const Shot& a, const Shot& b) {
  if (a.width != b.width || a.height != b.height) return long(b.rgb.size()) + 1;
  long n = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) n += a.rgb[i] != b.rgb[i];
  return n;
}

// The distance whose pulse the strip of the frame shows whole, the look of a beep in the tick
// it sounds: 0 without a pulse, or with one that fades from an earlier tick.
inline int32_t PulseDistance(const platform::Surface& frame) {
  const int32_t top = frame.height - platform::kCueStripHeight;
  if (top < platform::kMenuBarHeight + 512) return 0;
  const platform::Pixel* row = frame.Row(top + platform::kCueStripHeight / 2);
  int32_t left = -1, right = -1;
  for (int32_t x = 12; x < frame.width - 12; ++x)
    if (row[x] != platform::kBlack) right = x, left = left < 0 ? x : left;
  for (int32_t d = 1; left >= 0 && d <= platform::kFarthestBeep; ++d) {
    const platform::PulseLook look = platform::ProximityPulse(d);
    if (look.width == right - left + 1) return row[(left + right) / 2] == look.colour ? d : 0;
  }
  return 0;
}

}  // namespace quillorn::test
