// What `cmake --install` put in its prefix: a launcher entry and metainfo that name each other,
// the program and the icon by one id, and hicolor icons at every size that are the window's own
// 16 x 16 icon with each pixel repeated, not blended.
#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/resources/icon_image.h"
#include "process.h"

namespace quillorn::test {
namespace {

const std::string kPrefix = QUILLORN_PREFIX, kId = QUILLORN_APP_ID;

// A PNG file's pixels as 0xAARRGGBB words; image.width 0 when it cannot be read.
png_image ReadPng(const std::string& path, std::vector<uint32_t>& argb) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str())) {
    image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
    argb.assign(size_t(image.width) * image.height, 0);
    if (png_image_finish_read(&image, nullptr, argb.data(), 0, nullptr)) return image;
  }
  return png_image{};
}

// The files and their modes are the package test's, from the same install rules.
TEST(Install, PutsTheLauncherEntryAndTheMetainfoUnderOneId) {
  const std::string entry = Output("cat " + kPrefix + "/share/applications/" + kId + ".desktop"),
                    meta = Output("cat " + kPrefix + "/share/metainfo/" + kId + ".metainfo.xml");
  for (const std::string& line :
       std::vector<std::string>{"Exec=quillorn", "Icon=" + kId, "Name=Quillorn"})
    EXPECT_NE(entry.find("\n" + line + "\n"), std::string::npos) << line;
  for (const std::string& tag : std::vector<std::string>{
           "<id>" + kId + "</id>", "<binary>quillorn</binary>", "<description>",
           "<launchable type=\"desktop-id\">" + kId + ".desktop</launchable>"})
    EXPECT_NE(meta.find(tag), std::string::npos) << tag;
  // Every screenshot it shows is one kept in the repository, of the size it states.
  const std::string open = "<image type=\"source\"", marker = "/main/";
  int shots = 0;
  for (size_t image = meta.find(open); image != std::string::npos;
       image = meta.find(open, image + 1), ++shots) {
    size_t from = meta.find(marker, image), to = meta.find("</image>", image);
    ASSERT_LT(from, to);
    std::string shot = meta.substr(from + marker.size(), to - from - marker.size());
    std::vector<uint32_t> argb;
    png_image pic = ReadPng(std::string(QUILLORN_SOURCE_DIR) + "/" + shot, argb);
    std::string size = open + " width=\"" + std::to_string(pic.width) + "\" height=\"" +
                       std::to_string(pic.height) + "\">";
    EXPECT_EQ(meta.compare(image, size.size(), size), 0) << shot << " is not " << size;
  }
  EXPECT_GE(shots, 1);
}

TEST(Install, IconsAtEverySizeAreTheWindowIconWithEachPixelRepeated) {
  headless::Reset();
  platform::IconImage drawn;
  ASSERT_TRUE(platform::LoadIcon("ICO", 16, drawn));
  for (int size : {16, 32, 48, 64, 128, 256}) {
    std::string n = std::to_string(size);
    std::string path = kPrefix + "/share/icons/hicolor/" + n + "x" + n + "/apps/" + kId + ".png";
    std::vector<uint32_t> argb;
    png_image icon = ReadPng(path, argb);
    ASSERT_TRUE(icon.width == unsigned(size) && icon.height == unsigned(size)) << path;
    int k = size / 16, wrong = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        wrong += argb[size_t(y * size + x)] != drawn.argb[size_t((y / k) * 16 + x / k)];
    EXPECT_EQ(wrong, 0) << size;
  }
  // Not an empty picture: the king's head has opaque pixels of several colours.
  int opaque = 0;
  for (uint32_t p : drawn.argb) opaque += (p >> 24) == 0xFF;
  EXPECT_GT(opaque, 100);
}

}  // namespace
}  // namespace quillorn::test
