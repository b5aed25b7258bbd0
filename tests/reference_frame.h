// Frames composed independently of the game's drawing code, from the raw sheet and map
// resources: what a frame of the castle or the title must look like, pixel for pixel.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gameplay/actors.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/surface.h"

namespace quillorn::test {

class ReferenceFrame {
 public:
  static constexpr int32_t kWidth = 480, kHeight = 512;

  ReferenceFrame() : pixels_(size_t(kWidth) * kHeight, platform::kBlack) {
    platform::Resource pat, map;
    EXPECT_TRUE(platform::FindResource("BITMAP", "PAT", pat));
    EXPECT_TRUE(platform::FindResource("MAP", "MAP", map));
    sheet_ = pat.data;
    map_ = map.data;
  }

  // The sheet's colour index at (x, y), top-down.
  uint8_t Index(int32_t x, int32_t y) const {
    return sheet_[40 + 1024 + size_t(703 - y) * 640 + size_t(x)];
  }
  platform::Pixel Colour(uint8_t index) const {
    const uint8_t* e = sheet_ + 40 + 4 * index;  // blue, green, red
    return platform::MakePixel(e[2], e[1], e[0]);
  }

  void Opaque(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx, int32_t sy) {
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) Put(dx + x, dy + y, Colour(Index(sx + x, sy + y)));
  }
  // White mask pixels keep what lies below; black ones take the sprite's colour.
  void Masked(int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t sx, int32_t sy) {
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        if (Index(sx + 256 + x, sy + y) != 255) Put(dx + x, dy + y, Colour(Index(sx + x, sy + y)));
  }

  int32_t Tile(int32_t room, int32_t x, int32_t y) const {
    return map_[552 * size_t(room) + 40 + 2 * size_t(y * 16 + x)];
  }

  // The room's tiles with a black border ring.
  void Room(int32_t room) {
    for (int32_t y = 0; y < 16; ++y)
      for (int32_t x = 0; x < 15; ++x) {
        int32_t t = (x == 0 || y == 0 || x > 13 || y > 13) ? 119 : Tile(room, x, y);
        Opaque(32 * x, 32 * y, 32, 32, 32 * (t % 20), 32 * (t / 20));
      }
  }
  void Footprints(int32_t tileX, int32_t tileY, int32_t direction) {
    Masked(32 * tileX, 32 * tileY, 32, 32, 32 * direction, 512);
  }
  // An actor with its shadow, the body 4 pixels higher.
  void Actor(int32_t type, int32_t px, int32_t py, int32_t direction, int32_t frame) {
    Masked(px, py, 32, 32, 0, 480);
    Masked(px, py - 4, 32, 32, 32 * (2 * direction + frame), 32 * (type + 6));
  }
  void HeartsBar(int32_t hearts) {
    for (int32_t i = 0; i < 12; ++i)
      Masked(44 + 32 * i, 456, 32, 32, hearts > 10 * i ? 64 : 32, 480);
  }

  // The title screen: lettering, hearts, the little throne room with the king, the menu box
  // with its labels and the cursor hearts beside GAME.
  void Title() {
    Opaque(32, 32, 416, 64, 0, 544);
    for (int i = 0; i < 9; ++i) Masked(96 + 32 * i, 104, 32, 32, 64, 480);
    const int room[81] = {119, 80,  80,  80,  80,  80,  80,  80,  119, 80,  80, 100, 100, 100,
                          43,  44,  80,  80,  80,  100, 59,  59,  108, 63,  64, 100, 80,  80,
                          59,  59,  1,   1,   1,   1,   1,   80,  80,  59,  1,  1,   54,  51,
                          54,  1,   80,  80,  1,   1,   1,   1,   1,   1,   1,  80,  80,  80,
                          1,   1,   1,   1,   1,   80,  80,  100, 80,  80,  80, 80,  80,  80,
                          80,  100, 119, 100, 100, 100, 100, 100, 100, 100, 119};
    for (int i = 0; i < 81; ++i)
      Opaque(96 + 32 * (i % 9), 160 + 32 * (i / 9), 32, 32, 32 * (room[i] % 20),
             32 * (room[i] / 20));
    Actor(0, 224, 288, 1, 0);
    Opaque(32, 448, 192, 64, 0, 608);
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 4; ++c) {
        int corner = (r == 0 || r == 4) && (c == 0 || c == 3) ? (r == 4 ? 2 : 0) + (c == 3) : -1;
        Masked(320 + 32 * c, 320 + 32 * r, 32, 32, corner < 0 ? 96 : 128 + 32 * corner, 480);
      }
    for (int i = 0; i < 4; ++i) Opaque(352, 336 + 32 * i, 64, 32, 512, 192 + 32 * i);
  }
  void TitleCursor(int32_t row) {
    Masked(322, 332 + 32 * row, 32, 32, 64, 480);
    Masked(416, 332 + 32 * row, 32, 32, 64, 480);
  }

  platform::Pixel At(int32_t x, int32_t y) const { return pixels_[size_t(y) * kWidth + size_t(x)]; }
  void Clear() { std::fill(pixels_.begin(), pixels_.end(), platform::kBlack); }

  // Pixels that differ from the picture (0 when they are equal); white ones of the picture
  // may be skipped (text, which is not composed here).
  int Differences(const platform::Surface& picture, bool skipWhite = false) const {
    EXPECT_EQ(picture.width, kWidth);
    EXPECT_EQ(picture.height, kHeight);
    int n = 0;
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x)
        if (picture.Row(y)[x] != pixels_[size_t(y) * kWidth + size_t(x)] &&
            !(skipWhite && picture.Row(y)[x] == platform::kWhite))
          ++n;
    return n;
  }

 private:
  void Put(int32_t x, int32_t y, platform::Pixel p) {
    if (x >= 0 && y >= 0 && x < kWidth && y < kHeight) pixels_[size_t(y) * kWidth + size_t(x)] = p;
  }
  const uint8_t* sheet_ = nullptr;
  const uint8_t* map_ = nullptr;
  std::vector<platform::Pixel> pixels_;
};

// Pixels of the window that differ from the castle as the game's state says it must look: the
// room, the footprints given (tile x, y, direction), the visible actors back to front by y
// (in record order on a tie, the king first), the hearts bar while shown.
inline int CastleDifferences(const std::vector<std::vector<int32_t>>& footprints = {}) {
  ReferenceFrame f;
  f.Room(currentRoom);
  for (const std::vector<int32_t>& p : footprints) f.Footprints(p[0], p[1], p[2]);
  std::vector<int32_t> order;
  for (int32_t i = 0; i < kActorCount; ++i)
    if (actors[i].present && actors[i].visible) order.push_back(i);
  std::stable_sort(order.begin(), order.end(),
                   [](int32_t a, int32_t b) { return actors[a].pixelY < actors[b].pixelY; });
  for (int32_t i : order)
    f.Actor(actors[i].type, actors[i].pixelX, actors[i].pixelY, actors[i].direction,
            actors[i].animFrame);
  if (showHearts) f.HeartsBar(hearts);
  return f.Differences(headless::WindowPicture());
}

}  // namespace quillorn::test
