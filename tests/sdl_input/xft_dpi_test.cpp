// The desktop's Xft.dpi read from the text of an X resource database.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_dpi.h"

namespace quillorn::platform::sdl {
namespace {

TEST(XftDpi, IsReadFromItsOwnLineOnly) {
  struct Case {
    const char* resources;
    float dpi;
  };
  const Case cases[] = {
      {nullptr, 0.0f},
      {"", 0.0f},
      {"Xft.dpi:\t192\n", 192.0f},
      {"Xft.dpi:\t192", 192.0f},  // no final newline
      {"Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n", 144.0f},
      {"Xft.dpi:  120.5\n", 120.5f},
      {"Xcursor.size:\t48\n", 0.0f},
      {"XXft.dpi:\t192\n", 0.0f},                // another resource's name
      {"*dpi:\t192\n", 0.0f},                    // not the desktop's setting
      {"Xft.hinting:\t1\tXft.dpi:\t192", 0.0f},  // not at the start of a line
      {"Xft.dpi:\tlarge\n", 0.0f},
      {"Xft.dpi:\t-96\n", 0.0f},
      {"Xft.dpi:\n", 0.0f},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseXftDpi(c.resources), c.dpi) << (c.resources ? c.resources : "(null)");
}

}  // namespace
}  // namespace quillorn::platform::sdl
