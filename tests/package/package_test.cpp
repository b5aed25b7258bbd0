// The .deb that cpack made from this build, read back with dpkg-deb: exactly the files a
// player's system should get, with Debian's owners and modes; control fields whose
// dependencies came from dpkg-shlibdeps; and the project's version in every place that shows
// it.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "process.h"

namespace {

using quillorn::test::Output;

const std::string kDeb = QUILLORN_DEB, kVersion = QUILLORN_VERSION, kId = QUILLORN_APP_ID;

// One file of the package, gzip-decompressed when asked.
std::string Member(const std::string& path, bool gunzip = false) {
  return Output("dpkg-deb --fsys-tarfile '" + kDeb + "' | tar -xOf - './" + path + "'" +
                (gunzip ? " | gzip -dc" : ""));
}

TEST(Package, HoldsTheGameItsDesktopFilesManualCopyrightAndChangelogOwnedByRoot) {
  std::map<std::string, std::string> expected = {
      {"usr/games/quillorn", "-rwxr-xr-x"},
      {"usr/share/applications/" + kId + ".desktop", "-rw-r--r--"},
      {"usr/share/metainfo/" + kId + ".metainfo.xml", "-rw-r--r--"},
      {"usr/share/man/man6/quillorn.6.gz", "-rw-r--r--"},
      {"usr/share/doc/quillorn/copyright", "-rw-r--r--"},
      {"usr/share/doc/quillorn/changelog.gz", "-rw-r--r--"},
  };
  for (const char* size : {"16", "32", "48", "64", "128", "256"})
    expected["usr/share/icons/hicolor/" + std::string(size) + "x" + size + "/apps/" + kId +
             ".png"] = "-rw-r--r--";
  // Every folder on the way to a file, and no other.
  for (auto [path, mode] : std::map(expected))
    for (size_t slash = path.find('/'); slash != std::string::npos;
         slash = path.find('/', slash + 1))
      expected[path.substr(0, slash + 1)] = "drwxr-xr-x";

  const std::string listing = Output("dpkg-deb -c '" + kDeb + "'");
  ASSERT_FALSE(listing.empty()) << "dpkg-deb cannot read " << kDeb;
  std::map<std::string, std::string> found;
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string mode, owner, size, day, time, path;
    fields >> mode >> owner >> size >> day >> time >> path;
    EXPECT_EQ(owner, "root/root") << path;
    ASSERT_EQ(path.substr(0, 2), "./") << line;
    found[path.substr(2)] = mode;
  }
  for (const auto& [path, mode] : expected)
    EXPECT_EQ(found.count(path) ? found[path] : "missing", mode) << path;
  for (const auto& [path, mode] : found) EXPECT_TRUE(expected.count(path)) << "extra " << path;
}

TEST(Package, ControlFieldsNameTheGameItsVersionAndTheLibrariesItLinks) {
  struct Field {
    const char* name;
    std::string part;  // the field holds this
  };
  const Field fields[] = {
      {"Package", "quillorn"},
      {"Version", kVersion},
      {"Section", "games"},
      {"Maintainer", "@"},
      {"Description", "invisible king"},
      // Versioned dependencies are what dpkg-shlibdeps writes; a hand-written list would not
      // know each library's least version.
      {"Depends", "libc6 (>= "},
      {"Depends", "libsdl2-2.0-0 (>= "},
  };
  for (const Field& field : fields) {
    std::string value = Output("dpkg-deb -f '" + kDeb + "' " + field.name);
    EXPECT_NE(value.find(field.part), std::string::npos) << field.name << ": " << value;
  }
  EXPECT_EQ(Output("dpkg-deb -f '" + kDeb + "' Architecture"), Output("dpkg --print-architecture"));
}

TEST(Package, EveryPlaceThatShowsTheVersionShowsTheProjects) {
  struct Shown {
    std::string path;
    bool gzipped;
    std::string text;
  };
  const Shown places[] = {
      {"usr/share/metainfo/" + kId + ".metainfo.xml", false,
       "<release version=\"" + kVersion + "\" date=\""},
      {"usr/share/doc/quillorn/changelog.gz", true, "quillorn (" + kVersion + ") "},
      {"usr/share/man/man6/quillorn.6.gz", true, "\"Quillorn " + kVersion + "\""},
  };
  for (const Shown& place : places)
    EXPECT_NE(Member(place.path, place.gzipped).find(place.text), std::string::npos)
        << place.path << " does not show " << place.text;

  // The metainfo's release date is the day of the changelog's newest entry, as date(1) reads
  // its " -- name <mail>  Mon, 07 Dec 2026 19:00:00 +0000" line (the offset left out, so
  // that the day is the one written).
  const std::string changelog = Member("usr/share/doc/quillorn/changelog.gz", true);
  size_t from = changelog.find(">  "), to = changelog.rfind(' ', changelog.find('\n', from));
  ASSERT_LT(from, to) << changelog;
  std::string day = Output("date -d '" + changelog.substr(from + 3, to - from - 3) + "' +%F");
  ASSERT_EQ(day.size(), 11u) << changelog;
  EXPECT_NE(Member(places[0].path).find("date=\"" + day.substr(0, 10) + "\""), std::string::npos)
      << day;
}

}  // namespace
