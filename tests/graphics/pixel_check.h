// Compares every pixel of a surface, or of its first rows, with what it must be.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "platform/surface.h"

namespace quillorn::test {

inline void ExpectPixels(const platform::Surface& s,
                         const std::function<platform::Pixel(int32_t x, int32_t y)>& want,
                         int32_t rows = -1) {
  for (int32_t y = 0; y < (rows < 0 ? s.height : rows); ++y)
    for (int32_t x = 0; x < s.width; ++x) ASSERT_EQ(s.Row(y)[x], want(x, y)) << x << "," << y;
}

}  // namespace quillorn::test
