// What `cmake --install` put in its prefix: the executable, a launcher entry and metainfo that
// name each other and the icon by one id, and hicolor icons at every size that are the
// window's own 16 x 16 icon with each pixel repeated, not blended.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/resources/icon_image.h"

namespace quillorn::test {
namespace {

const std::string kPrefix = QUILLORN_PREFIX;
const std::string kId = QUILLORN_APP_ID;

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

struct Rgba {
  int width = 0, height = 0;
  std::vector<uint32_t> argb;
};

bool ReadPng(const std::string& path, Rgba& out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  out.width = int(image.width);
  out.height = int(image.height);
  out.argb.assign(size_t(out.width) * size_t(out.height), 0);
  return png_image_finish_read(&image, nullptr, out.argb.data(), 0, nullptr) != 0;
}

TEST(Install, PutsTheExecutableTheLauncherEntryAndTheMetainfoUnderOneId) {
  struct stat st {};
  ASSERT_EQ(stat((kPrefix + "/bin/quillorn").c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IXUSR);

  std::string entry = ReadText(kPrefix + "/share/applications/" + kId + ".desktop");
  ASSERT_FALSE(entry.empty());
  EXPECT_NE(entry.find("\nExec=quillorn\n"), std::string::npos);
  EXPECT_NE(entry.find("\nIcon=" + kId + "\n"), std::string::npos);
  EXPECT_NE(entry.find("\nName=Quillorn\n"), std::string::npos);

  std::string meta = ReadText(kPrefix + "/share/metainfo/" + kId + ".metainfo.xml");
  ASSERT_FALSE(meta.empty());
  EXPECT_NE(meta.find("<id>" + kId + "</id>"), std::string::npos);
  EXPECT_NE(meta.find("<launchable type=\"desktop-id\">" + kId + ".desktop</launchable>"),
            std::string::npos);
  EXPECT_NE(meta.find("<binary>quillorn</binary>"), std::string::npos);
  EXPECT_NE(meta.find("<description>"), std::string::npos);
  // Every screenshot it shows is one kept in the repository, of the size it states.
  const std::string open = "<image type=\"source\"", marker = "/main/";
  int shots = 0;
  for (size_t image = meta.find(open); image != std::string::npos;
       image = meta.find(open, image + 1), ++shots) {
    size_t from = meta.find(marker, image), to = meta.find("</image>", image);
    ASSERT_LT(from, to);
    std::string shot = meta.substr(from + marker.size(), to - from - marker.size());
    Rgba pic;
    ASSERT_TRUE(ReadPng(std::string(QUILLORN_SOURCE_DIR) + "/" + shot, pic)) << shot;
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
    Rgba icon;
    ASSERT_TRUE(ReadPng(path, icon)) << path;
    ASSERT_EQ(icon.width, size);
    ASSERT_EQ(icon.height, size);
    int k = size / 16, wrong = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        wrong += icon.argb[size_t(y * size + x)] != drawn.argb[size_t((y / k) * 16 + x / k)];
    EXPECT_EQ(wrong, 0) << size;
  }
  // Not an empty picture: the king's head has opaque pixels of several colours.
  int opaque = 0;
  for (uint32_t p : drawn.argb) opaque += (p >> 24) == 0xFF;
  EXPECT_GT(opaque, 100);
}

}  // namespace
}  // namespace quillorn::test
